#include "NoteImport.h"

#include "NoteSearch.h"
#include "RtfCodec.h"
#include "uDM.h"

#include <QTextDocument>

#include <map>

namespace quenda {

namespace {

QStringList KeysOf(const IcsContent& content) {
    QStringList keys;
    for (const JournalNote& note : content.notes)
        keys.append(note.key);
    return keys;
}

void Record(ImportPlan& plan, const QString& key, ImportFate fate) {
    (fate == ImportFate::New ? plan.newDays : fate == ImportFate::Appended ? plan.appendedDays : plan.skippedDays)
        .append(key);
}

// Runs the merge of every day of `content` over the notes `read` gives, recording each day's fate.
template <typename Reader> ImportPlan Decide(const IcsContent& content, Reader read) {
    ImportPlan plan;
    for (const JournalNote& note : content.notes) {
        ImportFate fate = ImportFate::Skipped;
        if (const std::optional<StoredNote> current = read(note.key)) MergeImported(note, *current, fate);
        Record(plan, note.key, fate);
    }
    return plan;
}

} // namespace

std::optional<NoteChange> MergeImported(const JournalNote& imported, const StoredNote& current, ImportFate& fate) {
    QTextDocument incoming, merged;
    FillDocument(imported, incoming);
    const QString incomingText = documentPlainText(incoming).trimmed();
    readRtf(current.data, merged);
    const QString currentText = documentPlainText(merged);
    if (!HasVisibleText(currentText)) {
        fate = ImportFate::New;
        return NoteChange{imported.key, writeRtf(incoming), documentPlainText(incoming)};
    }
    if (NoteContains(currentText, incomingText)) {
        fate = ImportFate::Skipped;
        return std::nullopt;
    }
    AppendDocument(merged, incoming, QString::fromUtf16(kImportSeparator));
    fate = ImportFate::Appended;
    return NoteChange{imported.key, writeRtf(merged), documentPlainText(merged)};
}

std::optional<ImportPlan> PlanImport(TDM& dm, const IcsContent& content) {
    bool readable = true;
    ImportPlan plan = Decide(content, [&](const QString& key) {
        std::optional<StoredNote> note = dm.ReadNote(key);
        readable = readable && note.has_value();
        return note;
    });
    if (!readable) return std::nullopt;
    return plan;
}

std::optional<ImportPlan> ApplyImport(TDM& dm, const IcsContent& content) {
    std::map<QString, const JournalNote*> byKey;
    for (const JournalNote& note : content.notes)
        byKey[note.key] = &note;
    ImportPlan plan;
    const bool stored = dm.ChangeNotes(KeysOf(content), [&](const QString& key, const StoredNote& current) {
        ImportFate fate = ImportFate::Skipped;
        std::optional<NoteChange> change = MergeImported(*byKey.at(key), current, fate);
        Record(plan, key, fate);
        return change;
    });
    if (!stored) return std::nullopt;
    return plan;
}

QString ImportSummary(const ImportPlan& plan, const IcsContent& content) {
    QString text = QStringLiteral("新建 %1 天的记事，在 %2 天已有的记事后面追加，跳过 %3 天（已有相同内容）。")
                       .arg(plan.newDays.size())
                       .arg(plan.appendedDays.size())
                       .arg(plan.skippedDays.size());
    QStringList ignored;
    if (content.events) ignored.append(QStringLiteral("%1 个日程（VEVENT）").arg(content.events));
    if (content.others) ignored.append(QStringLiteral("%1 个其他条目").arg(content.others));
    if (content.undated) ignored.append(QStringLiteral("%1 篇没有日期的日志").arg(content.undated));
    if (content.empty) ignored.append(QStringLiteral("%1 篇没有内容的日志").arg(content.empty));
    if (!ignored.isEmpty()) text += QStringLiteral("\n不导入：") + ignored.join(QStringLiteral("，")) + QStringLiteral("。");
    return text;
}

} // namespace quenda
