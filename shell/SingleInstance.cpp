#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>

namespace quenda {

namespace {

constexpr int kConnectTimeoutMs = 1000;
const QByteArray kShowRequest = "show\n";
const QByteArray kNotesChanged = "notes\n";

} // namespace

SingleInstance::SingleInstance(const QString& programFolder, QObject* parent) : QObject(parent) {
    const QString folder = QDir(programFolder).canonicalPath();
    const QByteArray hash = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha256);
    m_name = QStringLiteral("quenda-calendar-") + QString::fromLatin1(hash.toHex().left(24));
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                const QByteArray request = socket->readAll();
                if (request.contains("show")) emit showRequested();
                if (request.contains("notes")) emit notesChanged();
                socket->disconnectFromServer();
            });
        }
    });
}

bool SingleInstance::AskRunningProgramToShow() {
    return Send(kShowRequest);
}

bool SingleInstance::TellRunningProgramNotesChanged() {
    return Send(kNotesChanged);
}

bool SingleInstance::Send(const QByteArray& request) {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
    socket.write(request);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::Listen() {
    // A program that was killed leaves its socket file behind; nobody answers there any more.
    QLocalServer::removeServer(m_name);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    return m_server.listen(m_name);
}

} // namespace quenda
