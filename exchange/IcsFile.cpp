#include "IcsFile.h"

#include "uDM.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <map>

namespace quenda {

namespace {

const char kProductId[] = "-//Quenda//Quenda Calendar//ZH";
// Entries of one day from one file follow one another, each starting a paragraph of its own.
const QString kEntrySeparator;

QString FileError(const QString& path, const QString& reason) {
    return QStringLiteral("无法写入 %1：%2").arg(path, reason);
}

struct LineSource {
    const QByteArray* bytes;
    qsizetype at = 0;
};

// Hands libical the text a line at a time, as fgets would.
char* NextLine(char* out, size_t size, void* data) {
    auto* source = static_cast<LineSource*>(data);
    if (source->at >= source->bytes->size() || size < 2) return nullptr;
    qsizetype end = source->bytes->indexOf('\n', source->at);
    end = std::min(end < 0 ? source->bytes->size() : end + 1, source->at + static_cast<qsizetype>(size) - 1);
    std::copy(source->bytes->constData() + source->at, source->bytes->constData() + end, out);
    out[end - source->at] = '\0';
    source->at = end;
    return out;
}

// A copy of `line` in libical's own memory, STYLED-DESCRIPTION (which libical does not know and would
// drop) renamed to an X- property it keeps.
char* Renamed(char* line) {
    if (!QByteArray(line).toUpper().startsWith("STYLED-DESCRIPTION")) return line;
    const QByteArray renamed = "X-" + QByteArray(line);
    char* copy = static_cast<char*>(icalmemory_new_buffer(static_cast<size_t>(renamed.size()) + 1));
    std::copy(renamed.constData(), renamed.constData() + renamed.size() + 1, copy);
    icalmemory_free_buffer(line);
    return copy;
}

// The top-level components of the text, libical unfolding the lines; nothing when the text ends inside
// a component (a file cut short).
std::vector<IcalComponent> ParseComponents(const QByteArray& bytes) {
    icalparser* parser = icalparser_new();
    LineSource source{&bytes};
    icalparser_set_gen_data(parser, &source);
    std::vector<IcalComponent> components;
    int depth = 0;
    for (char* line; (line = icalparser_get_line(parser, NextLine)) != nullptr;) {
        line = Renamed(line);
        const QByteArray upper = QByteArray(line).trimmed().toUpper();
        depth += upper.startsWith("BEGIN:") ? 1 : upper.startsWith("END:") ? -1 : 0;
        if (icalcomponent* done = icalparser_add_line(parser, line)) components.emplace_back(done);
        icalmemory_free_buffer(line);
    }
    icalparser_free(parser);
    if (depth != 0 || components.empty()) components.clear();
    return components;
}

// Adds what one calendar holds to `content`, the entries of one day joined in file order.
void ReadCalendar(icalcomponent* calendar, IcsContent& content, std::map<QString, JournalNote>& days) {
    for (icalcomponent* part = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT);
         part && content.error.isEmpty(); part = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
        const icalcomponent_kind kind = icalcomponent_isa(part);
        if (kind == ICAL_VEVENT_COMPONENT) ++content.events;
        if (kind == ICAL_VTIMEZONE_COMPONENT || kind == ICAL_VEVENT_COMPONENT) continue;
        if (kind != ICAL_VJOURNAL_COMPONENT) {
            ++content.others;
            continue;
        }
        JournalReading reading = ReadJournal(part);
        if (reading.kind == JournalReading::Kind::Bad) content.error = reading.problem;
        if (reading.kind == JournalReading::Kind::Undated) ++content.undated;
        if (reading.kind == JournalReading::Kind::Empty) ++content.empty;
        if (reading.kind != JournalReading::Kind::Note) continue;
        auto [day, added] = days.try_emplace(reading.note.key, reading.note);
        if (!added) day->second = JoinedNote(day->second, reading.note, kEntrySeparator);
    }
}

IcsContent Refused(const QString& reason) {
    IcsContent content;
    content.error = reason;
    return content;
}

} // namespace

QByteArray IcsOfNotes(const std::vector<JournalNote>& notes, const QDateTime& stamp) {
    IcalComponent calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid(kProductId));
    for (const JournalNote& note : notes)
        icalcomponent_add_component(calendar.get(), JournalOf(note, stamp).release());
    char* text = icalcomponent_as_ical_string_r(calendar.get());
    QByteArray bytes(text);
    icalmemory_free_buffer(text);
    return bytes;
}

ExportOutcome ExportNotes(TDM& dm, const QString& path, std::optional<QDate> from, std::optional<QDate> to) {
    const QString first = from ? from->toString(QStringLiteral("yyyyMMdd")) : QStringLiteral("00000000");
    const QString last = to ? to->toString(QStringLiteral("yyyyMMdd")) : QStringLiteral("99999999");
    std::vector<JournalNote> notes;
    const bool read = dm.ForEachNote(first, last, [&](const QString& key, const QByteArray& data) {
        JournalNote note = JournalNoteOf(key, data);
        if (HasVisibleText(note.plainText)) notes.push_back(std::move(note));
    });
    if (!read) return {false, 0, QStringLiteral("读取记事失败：%1").arg(dm.LastError())};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {false, 0, FileError(path, file.errorString())};
    file.write(IcsOfNotes(notes, QDateTime::currentDateTimeUtc()));
    if (!file.commit()) return {false, 0, FileError(path, file.errorString())};
    return {true, static_cast<int>(notes.size()), {}};
}

IcsContent ParseIcs(const QByteArray& input) {
    QByteArray bytes = input.startsWith("\xEF\xBB\xBF") ? input.mid(3) : input;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8(bytes); // the decoder checks only when it really decodes
    if (utf8.hasError()) return Refused(QStringLiteral("文件不是 UTF-8 编码的文本，不能导入。"));
    if (!bytes.trimmed().toUpper().startsWith("BEGIN:VCALENDAR"))
        return Refused(QStringLiteral("这不是 iCalendar（.ics）文件。"));
    const std::vector<IcalComponent> calendars = ParseComponents(bytes);
    if (calendars.empty()) return Refused(QStringLiteral("文件不完整或已损坏（缺少结尾），不能导入。"));
    IcsContent content;
    std::map<QString, JournalNote> days;
    for (const IcalComponent& calendar : calendars) {
        if (icalcomponent_isa(calendar.get()) == ICAL_VCALENDAR_COMPONENT)
            ReadCalendar(calendar.get(), content, days);
        else
            ++content.others;
    }
    if (!content.error.isEmpty()) return Refused(content.error);
    for (auto& [key, note] : days)
        content.notes.push_back(std::move(note));
    return content;
}

IcsContent ReadIcsFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Refused(QStringLiteral("无法打开 %1：%2").arg(path, file.errorString()));
    if (file.size() > kMaxIcsBytes)
        return Refused(QStringLiteral("文件太大（%1 MB，最多 %2 MB）：请按日期范围分开导出后再导入。")
                    .arg(file.size() / (1024.0 * 1024.0), 0, 'f', 1)
                    .arg(kMaxIcsBytes / (1024 * 1024)));
    return ParseIcs(file.readAll());
}

} // namespace quenda
