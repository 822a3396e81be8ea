#pragma once
// The WebDAV and CalDAV bodies the sync sends and the multi-status answers it reads (RFC 4918, 4791,
// 6578), parsed with QXmlStreamReader. Nothing here trusts the server: anything that is not a well-formed
// multi-status answer comes back as nothing.

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace quenda {

// One <response> of a multi-status answer.
struct DavResource {
    QString href;       // as the server wrote it (a path or a URL, percent-encoded)
    QString etag;       // the getetag property, empty when absent
    bool gone = false;  // the response's status is 404 (a sync-collection report's deleted member)
    bool isCalendar = false; // its resourcetype holds a CalDAV calendar
};

struct Multistatus {
    QList<DavResource> resources;
    QString syncToken;              // the report's or the property's sync-token, empty when none
    bool reportsSyncCollection = false; // supported-report-set names sync-collection
};

std::optional<Multistatus> ParseMultistatus(const QByteArray& body);

// PROPFIND, depth 0, on the collection: is it a calendar, and can it report changes since a sync token.
QByteArray CollectionPropfindBody();
// PROPFIND, depth 1: every member's ETag.
QByteArray EtagPropfindBody();
// REPORT sync-collection (RFC 6578) from `token` (empty: everything).
QByteArray SyncCollectionBody(const QString& token);

// The day key of a resource href ending in YYYYMMDD.ics; empty for any other member.
QString DayKeyOfHref(const QString& href);

} // namespace quenda
