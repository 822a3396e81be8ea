#include "NoteJournal.h"

#include "RtfCodec.h"
#include "uDM.h"

#include <QDate>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextDocument>

namespace quenda {

namespace {

QByteArray Utf8(const QString& text) {
    return text.toUtf8();
}

icalproperty* AltDescription(const QString& html) {
    // An X- property keeps its value as written: libical escapes line breaks and backslashes in it and
    // reads them back, which is all the HTML needs.
    icalproperty* property = icalproperty_new(ICAL_X_PROPERTY);
    icalproperty_set_x_name(property, "X-ALT-DESC");
    icalproperty_set_value(property, icalvalue_new_x(Utf8(html).constData()));
    icalproperty_add_parameter(property, icalparameter_new_fmttype("text/html"));
    return property;
}

QString ValueText(icalproperty* property) {
    icalvalue* value = icalproperty_get_value(property);
    if (!value) return {};
    const char* text = icalvalue_isa(value) == ICAL_X_VALUE ? icalvalue_get_x(value)
                       : icalvalue_isa(value) == ICAL_TEXT_VALUE ? icalvalue_get_text(value)
                                                                  : nullptr;
    return text ? QString::fromUtf8(text) : QString();
}

bool IsHtml(icalproperty* property) {
    icalparameter* type = icalproperty_get_first_parameter(property, ICAL_FMTTYPE_PARAMETER);
    return type && QByteArray(icalparameter_get_fmttype(type)).trimmed().toLower() == "text/html";
}

// The rich text and plain text an entry carries, in the order the properties name them.
void ReadTexts(icalcomponent* journal, JournalNote& note, QString& summary) {
    for (icalproperty* property = icalcomponent_get_first_property(journal, ICAL_ANY_PROPERTY); property;
         property = icalcomponent_get_next_property(journal, ICAL_ANY_PROPERTY)) {
        const icalproperty_kind kind = icalproperty_isa(property);
        const QByteArray name = QByteArray(icalproperty_get_property_name(property)).toUpper();
        if (kind == ICAL_DESCRIPTION_PROPERTY && note.plainText.isEmpty())
            note.plainText = ValueText(property);
        else if (kind == ICAL_SUMMARY_PROPERTY && summary.isEmpty())
            summary = ValueText(property);
        else if (kind == ICAL_X_PROPERTY && (name == "X-ALT-DESC" || name == kStyledDescriptionName) &&
                 IsHtml(property) && note.html.isEmpty())
            note.html = ValueText(property);
        else if (kind == ICAL_X_PROPERTY && name == kStyledDescriptionName && note.plainText.isEmpty())
            note.plainText = ValueText(property); // a styled description in plain text
    }
}

std::optional<QDate> StartDate(icalcomponent* journal, QString& written) {
    icalproperty* start = icalcomponent_get_first_property(journal, ICAL_DTSTART_PROPERTY);
    if (!start) return std::nullopt;
    written = QString::fromUtf8(icalproperty_get_value_as_string(start));
    const icaltimetype time = icalproperty_get_dtstart(start);
    if (icaltime_is_null_time(time)) return QDate();
    return QDate(time.year, time.month, time.day);
}

// HTML from another program may name pictures (even local files); a note keeps text only, so they go
// before anything could lay the document out and load them.
void SetHtmlWithoutResources(QTextDocument& document, const QString& html) {
    document.setHtml(html);
    QTextCursor cursor(&document);
    while (!(cursor = document.find(QString(QChar::ObjectReplacementCharacter), cursor)).isNull())
        cursor.removeSelectedText();
}

// The first libical error inside an entry (a property it could not read), if any.
QString FirstError(icalcomponent* journal) {
    icalproperty* error = icalcomponent_get_first_property(journal, ICAL_XLICERROR_PROPERTY);
    return error ? QString::fromUtf8(icalproperty_get_xlicerror(error)) : QString();
}

} // namespace

JournalNote JournalNoteOf(const QString& key, const QByteArray& data) {
    QTextDocument document;
    readRtf(data, document);
    return {key, documentPlainText(document), HasVisibleText(document.toPlainText()) ? document.toHtml() : QString()};
}

QString JournalUid(const QString& key) {
    return key + QStringLiteral("@quenda-calendar");
}

QString SummaryOf(const QString& plainText) {
    for (const QString& line : plainText.split(QLatin1Char('\n')))
        if (HasVisibleText(line)) return line.trimmed();
    return {};
}

IcalComponent JournalOf(const JournalNote& note, const QDateTime& stamp) {
    IcalComponent journal(icalcomponent_new_vjournal());
    const QDate day = QDate::fromString(note.key, QStringLiteral("yyyyMMdd"));
    icaltimetype start = icaltime_null_date();
    start.year = day.year(), start.month = day.month(), start.day = day.day();
    const QDateTime utc = stamp.toUTC();
    const icaltimetype stamped = icaltime_from_timet_with_zone(utc.toSecsSinceEpoch(), 0, icaltimezone_get_utc_timezone());
    icalcomponent_add_property(journal.get(), icalproperty_new_uid(Utf8(JournalUid(note.key)).constData()));
    icalcomponent_add_property(journal.get(), icalproperty_new_dtstamp(stamped));
    icalcomponent_add_property(journal.get(), icalproperty_new_dtstart(start));
    icalcomponent_add_property(journal.get(), icalproperty_new_summary(Utf8(SummaryOf(note.plainText)).constData()));
    icalcomponent_add_property(journal.get(), icalproperty_new_description(Utf8(note.plainText).constData()));
    if (!note.html.isEmpty()) icalcomponent_add_property(journal.get(), AltDescription(note.html));
    return journal;
}

JournalReading ReadJournal(icalcomponent* journal) {
    JournalReading reading;
    QString written;
    const std::optional<QDate> day = StartDate(journal, written);
    if (!day) {
        const QString error = FirstError(journal);
        if (error.isEmpty()) return {JournalReading::Kind::Undated, {}, {}};
        return {JournalReading::Kind::Bad, {}, QStringLiteral("无法读取：%1").arg(error)};
    }
    if (!day->isValid() || day->year() < kFirstJournalYear || day->year() > kLastJournalYear)
        return {JournalReading::Kind::Bad, {},
                QStringLiteral("日期 %1 无效，或不在日历的范围内（%2年至%3年）").arg(written).arg(kFirstJournalYear).arg(kLastJournalYear)};
    reading.note.key = day->toString(QStringLiteral("yyyyMMdd"));
    QString summary;
    ReadTexts(journal, reading.note, summary);
    if (!HasVisibleText(reading.note.plainText) && !reading.note.html.isEmpty()) {
        QTextDocument document;
        FillDocument(reading.note, document);
        reading.note.plainText = documentPlainText(document);
    }
    if (!HasVisibleText(reading.note.plainText)) reading.note.plainText = summary;
    reading.kind = HasVisibleText(reading.note.plainText) ? JournalReading::Kind::Note : JournalReading::Kind::Empty;
    return reading;
}

void FillDocument(const JournalNote& note, QTextDocument& document) {
    if (!note.html.isEmpty()) {
        SetHtmlWithoutResources(document, note.html);
        if (HasVisibleText(document.toPlainText())) return;
    }
    document.setPlainText(note.plainText);
}

void AppendDocument(QTextDocument& to, const QTextDocument& from, const QString& separator) {
    QTextCursor cursor(&to);
    cursor.movePosition(QTextCursor::End);
    const bool empty = to.isEmpty();
    if (!empty) cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    if (!separator.isEmpty()) {
        cursor.insertText(separator, QTextCharFormat());
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    }
    cursor.insertFragment(QTextDocumentFragment(&from));
}

JournalNote JoinedNote(const JournalNote& first, const JournalNote& second, const QString& separator) {
    QTextDocument joined, next;
    FillDocument(first, joined);
    FillDocument(second, next);
    AppendDocument(joined, next, separator);
    return {first.key, documentPlainText(joined), joined.toHtml()};
}

} // namespace quenda
