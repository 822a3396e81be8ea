#include "DavXml.h"

#include <QRegularExpression>
#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace quenda {

namespace {

const QString kDav = QStringLiteral("DAV:");
const QString kCalDav = QStringLiteral("urn:ietf:params:xml:ns:caldav");

bool Is(const QXmlStreamReader& xml, const QString& ns, const char* name) {
    return xml.namespaceUri() == ns && xml.name() == QLatin1String(name);
}

// "HTTP/1.1 404 Not Found" -> 404; 0 when unreadable.
int StatusCode(const QString& line) {
    return line.simplified().section(QLatin1Char(' '), 1, 1).toInt();
}

// Reads one <response> up to its end tag. A status inside a propstat only says whether its properties
// exist; a status of the response itself of 404 says the member is gone.
// The collection's own properties (sync-token, supported-report-set) go into `result`.
DavResource ReadResponse(QXmlStreamReader& xml, Multistatus& result) {
    DavResource resource;
    bool inPropstat = false, inResourceType = false;
    while (xml.readNextStartElement() || (xml.isEndElement() && !Is(xml, kDav, "response"))) {
        if (xml.isEndElement()) {
            if (Is(xml, kDav, "resourcetype")) inResourceType = false;
            if (Is(xml, kDav, "propstat")) inPropstat = false;
        } else if (Is(xml, kDav, "href") && resource.href.isEmpty()) {
            resource.href = xml.readElementText().trimmed();
        } else if (Is(xml, kDav, "getetag")) {
            const QString etag = xml.readElementText().trimmed();
            if (!etag.isEmpty()) resource.etag = etag;
        } else if (Is(xml, kDav, "sync-token")) {
            result.syncToken = xml.readElementText().trimmed();
        } else if (Is(xml, kDav, "sync-collection")) {
            result.reportsSyncCollection = true;
        } else if (Is(xml, kDav, "status")) {
            const int status = StatusCode(xml.readElementText());
            if (!inPropstat) resource.gone = status == 404;
        } else if (Is(xml, kDav, "propstat")) {
            inPropstat = true;
        } else if (Is(xml, kDav, "resourcetype")) {
            inResourceType = true;
        } else if (inResourceType && Is(xml, kCalDav, "calendar")) {
            resource.isCalendar = true;
            xml.skipCurrentElement();
        }
    }
    return resource;
}

QByteArray Document(const std::function<void(QXmlStreamWriter&)>& body) {
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument();
    xml.writeNamespace(kDav, QStringLiteral("d"));
    xml.writeNamespace(kCalDav, QStringLiteral("c"));
    body(xml);
    xml.writeEndDocument();
    return bytes;
}

void Properties(QXmlStreamWriter& xml, std::initializer_list<const char*> names) {
    xml.writeStartElement(kDav, QStringLiteral("prop"));
    for (const char* name : names)
        xml.writeEmptyElement(kDav, QString::fromLatin1(name));
    xml.writeEndElement();
}

} // namespace

std::optional<Multistatus> ParseMultistatus(const QByteArray& body) {
    QXmlStreamReader xml(body);
    if (!xml.readNextStartElement() || !Is(xml, kDav, "multistatus")) return std::nullopt;
    Multistatus result;
    while (!xml.atEnd() && !xml.hasError()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        if (Is(xml, kDav, "response"))
            result.resources.append(ReadResponse(xml, result));
        else if (Is(xml, kDav, "sync-token"))
            result.syncToken = xml.readElementText().trimmed();
    }
    if (xml.hasError()) return std::nullopt;
    return result;
}

QByteArray CollectionPropfindBody() {
    return Document([](QXmlStreamWriter& xml) {
        xml.writeStartElement(kDav, QStringLiteral("propfind"));
        Properties(xml, {"resourcetype", "supported-report-set", "sync-token"});
        xml.writeEndElement();
    });
}

QByteArray EtagPropfindBody() {
    return Document([](QXmlStreamWriter& xml) {
        xml.writeStartElement(kDav, QStringLiteral("propfind"));
        Properties(xml, {"getetag"});
        xml.writeEndElement();
    });
}

QByteArray SyncCollectionBody(const QString& token) {
    return Document([&](QXmlStreamWriter& xml) {
        xml.writeStartElement(kDav, QStringLiteral("sync-collection"));
        xml.writeTextElement(kDav, QStringLiteral("sync-token"), token);
        xml.writeTextElement(kDav, QStringLiteral("sync-level"), QStringLiteral("1"));
        Properties(xml, {"getetag"});
        xml.writeEndElement();
    });
}

QString DayKeyOfHref(const QString& href) {
    static const QRegularExpression kDayResource(QStringLiteral("^(\\d{8})\\.ics$"));
    const QString path = QUrl(href).path(QUrl::FullyDecoded);
    const auto match = kDayResource.match(path.section(QLatin1Char('/'), -1));
    return match.hasMatch() ? match.captured(1) : QString();
}

} // namespace quenda
