#include "DavClient.h"

#include <QBuffer>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace quenda {

namespace {

QString TransportFailure(QNetworkReply::NetworkError error) {
    switch (error) {
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return QStringLiteral("服务器没有响应");
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("服务器的安全证书无效");
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("找不到服务器");
    case QNetworkReply::ProtocolUnknownError:
    case QNetworkReply::ProtocolInvalidOperationError:
        return QStringLiteral("地址无效");
    default:
        return QStringLiteral("无法连接服务器");
    }
}

} // namespace

QString DescribeFailure(const DavReply& reply) {
    if (reply.status == 0) return reply.failure.isEmpty() ? QStringLiteral("无法连接服务器") : reply.failure;
    switch (reply.status) {
    case 401:
        return QStringLiteral("用户名或密码错误");
    case 403:
        return QStringLiteral("没有访问权限");
    case 404:
        return QStringLiteral("找不到日历，请检查地址");
    default:
        return QStringLiteral("服务器出错（HTTP %1）").arg(reply.status);
    }
}

DavClient::DavClient(const QUrl& collection, const QString& user, const QString& password, QObject* parent)
    : QObject(parent), m_collection(collection) {
    // A collection is a folder: relative member names resolve inside it only with the trailing slash.
    if (!m_collection.path().endsWith(QLatin1Char('/')))
        m_collection.setPath(m_collection.path() + QLatin1Char('/'));
    if (!user.isEmpty())
        m_authorization = "Basic " + (user + QLatin1Char(':') + password).toUtf8().toBase64();
}

QUrl DavClient::Resolve(const QString& href) const {
    return m_collection.resolved(QUrl(href));
}

QUrl DavClient::Member(const QString& name) const {
    return m_collection.resolved(QUrl(name));
}

void DavClient::Send(const QByteArray& method, const QUrl& url, const DavHeaders& headers,
                     const QByteArray& body, std::function<void(const DavReply&)> done) {
    QNetworkRequest request(url);
    request.setTransferTimeout(m_timeoutMs);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    if (!m_authorization.isEmpty()) request.setRawHeader("Authorization", m_authorization);
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);
    auto* upload = new QBuffer;
    upload->setData(body);
    QNetworkReply* reply = m_network.sendCustomRequest(request, method, upload);
    upload->setParent(reply);
    // A server that sends without end is cut off; the reply then fails like any other.
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received <= kMaxReplyBytes) return;
        reply->setProperty("tooLarge", true);
        reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, done] { Finish(reply, done); });
}

void DavClient::Finish(QNetworkReply* reply, const std::function<void(const DavReply&)>& done) {
    reply->deleteLater();
    DavReply result;
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // Errors below the content errors are the connection's: an answer cut off is no answer.
    const QNetworkReply::NetworkError error = reply->error();
    if (result.status == 0 || (error != QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied)) {
        result.status = 0;
        result.failure = reply->bytesAvailable() > kMaxReplyBytes || reply->property("tooLarge").toBool()
                             ? QStringLiteral("服务器的回答太大")
                             : TransportFailure(error);
    } else {
        result.body = reply->readAll();
        result.etag = QString::fromLatin1(reply->rawHeader("ETag")).trimmed();
    }
    done(result);
}

} // namespace quenda
