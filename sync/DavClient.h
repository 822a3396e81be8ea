#pragma once
// HTTP for the calendar server over Qt Network: PROPFIND, REPORT, GET and PUT, asynchronous (nothing ever
// waits in the user-interface thread), with a transfer timeout and a limit on what the server may send.
// Every answer, whether the server's or the network's failure, comes back as a DavReply.

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPair>
#include <QString>
#include <QUrl>

#include <functional>

namespace quenda {

struct DavReply {
    int status = 0;  // the HTTP status; 0 when no answer came (offline, refused, timeout, TLS)
    QByteArray body;
    QString etag;    // the ETag header, for PUT and GET
    QString failure; // why the request failed before a status came, in the user's words

    bool Ok() const { return status >= 200 && status < 300; }
};

// The text the status line shows for a reply that is no success: "用户名或密码错误", "服务器出错（HTTP 500）".
QString DescribeFailure(const DavReply& reply);

using DavHeaders = QList<QPair<QByteArray, QByteArray>>;

class DavClient : public QObject {
    Q_OBJECT
public:
    // `collection` is the calendar collection's URL; a user name sends Basic authentication with every
    // request (an empty one sends none).
    DavClient(const QUrl& collection, const QString& user, const QString& password,
              QObject* parent = nullptr);

    // Sends `method` to `url` and calls `done` once with the outcome, from the event loop.
    void Send(const QByteArray& method, const QUrl& url, const DavHeaders& headers, const QByteArray& body,
              std::function<void(const DavReply&)> done);

    const QUrl& Collection() const { return m_collection; }
    // The URL of the resource `href` names (a path or a URL) relative to the collection.
    QUrl Resolve(const QString& href) const;
    // The collection's member `name`, for example 20261210.ics.
    QUrl Member(const QString& name) const;

    // Seconds without any data before a request is given up; tests shorten it.
    void SetTimeoutMs(int milliseconds) { m_timeoutMs = milliseconds; }

private:
    void Finish(QNetworkReply* reply, const std::function<void(const DavReply&)>& done);

    QUrl m_collection;
    QByteArray m_authorization;
    QNetworkAccessManager m_network;
    int m_timeoutMs = 30000;
};

// The most a server may send for one request: far more than any day's note.
inline constexpr qint64 kMaxReplyBytes = 32 * 1024 * 1024;

} // namespace quenda
