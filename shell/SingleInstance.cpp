#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>

#include <algorithm>

namespace quenda {

namespace {

constexpr int kConnectTimeoutMs = 1000;
const QByteArray kShowRequest = "show";
const QByteArray kNotesRequest = "notes";
const QByteArray kSyncRequest = "sync";
// A request line and its token; anything longer is not ours and is answered as a plain "show".
constexpr qint64 kMaxRequestLength = SingleInstance::kMaxTokenLength + 16;

bool isTokenCharacter(char c) {
    return c > ' ' && c < 0x7F;
}

} // namespace

std::optional<QString> SingleInstance::ParseRequest(const QByteArray& line) {
    const QByteArray request = line.trimmed();
    if (request == kShowRequest) return QString();
    if (!request.startsWith(kShowRequest + ' ')) return std::nullopt;
    const QByteArray token = request.mid(kShowRequest.size() + 1).trimmed();
    if (token.size() > kMaxTokenLength || !std::all_of(token.begin(), token.end(), isTokenCharacter))
        return QString();
    return QString::fromLatin1(token);
}

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
    // The line may come in pieces; answer once it is whole (or too long to be ours).
    if (!socket->canReadLine() && socket->bytesAvailable() < kMaxRequestLength) return;
    const QByteArray line = socket->readLine(kMaxRequestLength).trimmed();
    if (line == kSyncRequest) {
        emit syncRequested(QPointer<QLocalSocket>(socket)); // the answer ends the conversation
        return;
    }
    if (line == kNotesRequest)
        emit notesChanged();
    else if (const std::optional<QString> token = ParseRequest(line))
        emit showRequested(*token);
    socket->disconnectFromServer();
}

void SingleInstance::Answer(const QPointer<QLocalSocket>& caller, const QString& line) {
    if (!caller) return;
    caller->write(line.toUtf8() + '\n');
    caller->flush();
    caller->disconnectFromServer();
}

bool SingleInstance::AskRunningProgramToShow(const QString& activationToken) {
    QByteArray request = kShowRequest;
    if (!activationToken.isEmpty()) request += ' ' + activationToken.toLatin1();
    return Send(request);
}

bool SingleInstance::TellRunningProgramNotesChanged() {
    return Send(kNotesRequest);
}

bool SingleInstance::Send(const QByteArray& request) {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
    socket.write(request + '\n');
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

std::optional<QString> SingleInstance::AskRunningProgramToSync(int milliseconds) {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kConnectTimeoutMs)) return std::nullopt;
    socket.write(kSyncRequest + '\n');
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
