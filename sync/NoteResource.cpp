#include "NoteResource.h"

#include "Clock.h"
#include "DayNote.h"
#include "NoteJournal.h"
#include "RtfCodec.h"

#include <QDateTime>
#include <QTextDocument>

namespace quenda {

namespace {

// Our own copy of the note's bytes, base64 so any byte survives every server's handling of text.
constexpr char kRtfProperty[] = "X-QUENDA-RTF";

icalproperty* RtfProperty(const QByteArray& data) {
    icalproperty* property = icalproperty_new(ICAL_X_PROPERTY);
    icalproperty_set_x_name(property, kRtfProperty);
    icalproperty_set_value(property, icalvalue_new_x(data.toBase64().constData()));
    return property;
}

std::optional<QByteArray> StoredRtf(icalcomponent* journal) {
    for (icalproperty* property = icalcomponent_get_first_property(journal, ICAL_X_PROPERTY); property;
         property = icalcomponent_get_next_property(journal, ICAL_X_PROPERTY)) {
        if (QByteArray(icalproperty_get_x_name(property)).toUpper() != kRtfProperty) continue;
        const char* value = icalproperty_get_x(property);
        if (!value) return std::nullopt;
        auto decoded = QByteArray::fromBase64Encoding(QByteArray(value).trimmed(),
                                                      QByteArray::AbortOnBase64DecodingErrors);
        if (decoded) return *decoded;
    }
    return std::nullopt;
}

icalcomponent* FirstJournal(icalcomponent* calendar) {
    if (icalcomponent_isa(calendar) == ICAL_VJOURNAL_COMPONENT) return calendar;
    return icalcomponent_get_first_component(calendar, ICAL_VJOURNAL_COMPONENT);
}

} // namespace

QByteArray NoteResource(const QString& key, const QByteArray& data, const QString& plain) {
    JournalNote note = JournalNoteOf(key, data);
    note.plainText = plain;
    IcalComponent journal = JournalOf(note, FromDateTimeValue(Clock::Now()));
    icalcomponent_add_property(journal.get(), RtfProperty(data));
    IcalComponent calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Quenda//Quenda Calendar//ZH"));
    icalcomponent_add_component(calendar.get(), journal.release());
    char* text = icalcomponent_as_ical_string_r(calendar.get());
    const QByteArray resource(text);
    icalmemory_free_buffer(text);
    return resource;
}

std::optional<ServerNote> ReadNoteResource(const QByteArray& resource) {
    const IcalComponent calendar(icalparser_parse_string(resource.constData()));
    icalcomponent* journal = calendar ? FirstJournal(calendar.get()) : nullptr;
    if (!journal) return std::nullopt;
    const JournalReading reading = ReadJournal(journal);
    if (reading.kind == JournalReading::Kind::Bad || reading.kind == JournalReading::Kind::Undated)
        return std::nullopt;
    // Our bytes come back exactly while their text is still what DESCRIPTION says; another client that
    // edited the DESCRIPTION left our bytes behind, and its text wins.
    if (const std::optional<QByteArray> rtf = StoredRtf(journal)) {
        const QString text = NotePlainText(*rtf);
        if (SameText(text, reading.note.plainText)) return ServerNote{*rtf, text};
    }
    QTextDocument document;
    FillDocument(reading.note, document);
    return ServerNote{writeRtf(document), documentPlainText(document)};
}

} // namespace quenda
