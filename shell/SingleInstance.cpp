#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>

namespace quenda {

namespace {

constexpr int kConnectTimeoutMs = 1000;
const QByteArray kShowRequest = "show\n";
const QByteArray kSyncRequest = "sync\n";
constexpr qint64 kLongestRequest = 4096;

} // namespace

SingleInstance::SingleInstance(const QString& programFolder, QObject* parent) : QObject(parent) {
    const QString folder = QDir(programFolder).canonicalPath();
    const QByteArray hash = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha256);
    m_name = QStringLiteral("quenda-calendar-") + QString::fromLatin1(hash.toHex().left(24));
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
        }
    });
}

void SingleInstance::Read(QLocalSocket* socket) {
    while (socket->canReadLine()) {
        const QByteArray request = socket->readLine().trimmed();
        if (request == "sync") {
            emit syncRequested(QPointer<QLocalSocket>(socket));
            continue; // the answer ends the conversation
        }
        if (request.startsWith("show")) emit showRequested();
        socket->disconnectFromServer();
        return;
    }
    if (socket->bytesAvailable() > kLongestRequest) socket->disconnectFromServer();
}

void SingleInstance::Answer(const QPointer<QLocalSocket>& caller, const QString& line) {
    if (!caller) return;
    caller->write(line.toUtf8() + '\n');
    caller->flush();
    caller->disconnectFromServer();
}

bool SingleInstance::AskRunningProgramToShow() {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
    socket.write(kShowRequest);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

std::optional<QString> SingleInstance::AskRunningProgramToSync(int milliseconds) {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kConnectTimeoutMs)) return std::nullopt;
    socket.write(kSyncRequest);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    QElapsedTimer timer;
    timer.start();
    while (!socket.canReadLine() && timer.elapsed() < milliseconds &&
           socket.state() == QLocalSocket::ConnectedState)
        socket.waitForReadyRead(static_cast<int>(milliseconds - timer.elapsed()));
    return QString::fromUtf8(socket.readLine().trimmed());
}

bool SingleInstance::Listen() {
    // A program that was killed leaves its socket file behind; nobody answers there any more.
    QLocalServer::removeServer(m_name);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    return m_server.listen(m_name);
}

} // namespace quenda
