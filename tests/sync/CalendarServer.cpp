#include "CalendarServer.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QThread>

namespace quenda::test {

namespace {

quint16 FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

} // namespace

Answer Request(const QByteArray& method, const QUrl& url, const QByteArray& body,
               const QList<QPair<QByteArray, QByteArray>>& headers) {
    QNetworkAccessManager network;
    QNetworkRequest request(url);
    request.setTransferTimeout(10000);
    request.setRawHeader("Authorization", "Basic " + QByteArray(Radicale::kUser).append(":x").toBase64());
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);
    QNetworkReply* reply = network.sendCustomRequest(request, method, body);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    Answer answer{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll(),
                  reply->rawHeader("ETag")};
    delete reply;
    return answer;
}

Radicale::Radicale() {
    if (QStandardPaths::findExecutable(QStringLiteral("radicale")).isEmpty()) {
        m_problem = QStringLiteral("radicale is not installed (scripts/setup installs it)");
        return;
    }
    m_port = FreePort();
    if (!Start()) return;
    const Answer made = Request("MKCALENDAR", Collection());
    m_running = made.status == 201;
    if (!m_running) m_problem = QStringLiteral("MKCALENDAR answered %1").arg(made.status);
}

Radicale::~Radicale() {
    Stop();
}

QUrl Radicale::Collection() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1/tester/notes/").arg(m_port));
}

bool Radicale::Start() {
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->setStandardOutputFile(QProcess::nullDevice());
    m_process->start(QStringLiteral("radicale"),
                     {QStringLiteral("--server-hosts"), QStringLiteral("127.0.0.1:%1").arg(m_port),
                      QStringLiteral("--auth-type"), QStringLiteral("none"),
                      QStringLiteral("--storage-filesystem-folder"), m_storage.filePath(QStringLiteral("store")),
                      QStringLiteral("--logging-level"), QStringLiteral("warning")});
    // Ready when it takes connections; it may need seconds on a busy machine.
    for (int i = 0; i < 200 && m_process->state() != QProcess::NotRunning; ++i) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, m_port);
        if (probe.waitForConnected(100)) return true;
        QThread::msleep(50);
    }
    m_problem = QStringLiteral("radicale did not start on port %1").arg(m_port);
    return false;
}

void Radicale::Stop() {
    if (!m_process || m_process->state() == QProcess::NotRunning) return;
    m_process->terminate();
    if (!m_process->waitForFinished(5000)) m_process->kill();
    m_process->waitForFinished(5000);
}

MisbehavingServer::MisbehavingServer(QByteArray reply) : m_reply(std::move(reply)) {
    m_server.listen(QHostAddress::LocalHost);
    QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                socket->readAll();
                if (m_reply.isEmpty()) return; // silence: the client's timeout must end it
                socket->write(m_reply);
                socket->disconnectFromHost();
            });
        }
    });
}

QUrl MisbehavingServer::Collection() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1/cal/").arg(m_server.serverPort()));
}

} // namespace quenda::test
