#pragma once
// Calendar servers for the sync tests, all on 127.0.0.1: Radicale from Debian, started by the test with its
// storage in a temporary folder and a calendar collection made at set-up; and a tiny server that misbehaves
// on demand (garbage, errors, silence), since no real server does that when asked.

#include <QByteArray>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QUrl>

#include <memory>

namespace quenda::test {

class Radicale {
public:
    Radicale();
    ~Radicale();
    // True when the server answers and the collection exists; else Problem() says why.
    bool Running() const { return m_running; }
    const QString& Problem() const { return m_problem; }
    QUrl Collection() const;
    // Radicale lets a user into the collections under its own name only; with --auth-type none any
    // password does.
    static constexpr char kUser[] = "tester";
    // Ends the server (an outage) and starts it again on the same port and storage.
    void Stop();
    bool Start();

private:
    QTemporaryDir m_storage;
    std::unique_ptr<QProcess> m_process;
    quint16 m_port = 0;
    bool m_running = false;
    QString m_problem;
};

// Sends one request as Radicale::kUser and waits for its answer: the test's own client, standing in for
// another program.
struct Answer {
    int status = 0;
    QByteArray body;
    QByteArray etag;
};
Answer Request(const QByteArray& method, const QUrl& url, const QByteArray& body = {},
               const QList<QPair<QByteArray, QByteArray>>& headers = {});

// Answers every request with `reply` (raw HTTP bytes); an empty reply answers nothing at all.
class MisbehavingServer {
public:
    explicit MisbehavingServer(QByteArray reply);
    QUrl Collection() const;

private:
    QTcpServer m_server;
    QByteArray m_reply;
};

} // namespace quenda::test
