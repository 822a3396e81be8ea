#pragma once
// One running program per program folder: two editors writing the same notes would overwrite each other.
// The first start listens on a local socket named after its folder; a later start finds it and sends one
// request per line: "show" (come to the front; the later start then ends) or "sync" (run a sync round and
// answer with one line, "ok", "waiting" or "failed TEXT"). Two copies of the folder are two programs and
// run side by side.

#include <QLocalServer>
#include <QLocalSocket>
#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>


namespace quenda {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& programFolder, QObject* parent = nullptr);

    // True when a program of this folder is running already; it has then been asked to come forward.
    bool AskRunningProgramToShow();

    // Nothing when no program of this folder runs; else the running program's answer to "sync" (empty
    // when none came within `milliseconds`).
    std::optional<QString> AskRunningProgramToSync(int milliseconds);

    // Starts listening for later starts; false when the socket cannot be set up (the program then runs
    // without the guard rather than not at all).
    bool Listen();

    const QString& ServerName() const { return m_name; }

    // Answers a "sync" request with one line; a caller that has gone away is no error.
    static void Answer(const QPointer<QLocalSocket>& caller, const QString& line);

signals:
    void showRequested();
    void syncRequested(QPointer<QLocalSocket> caller);

private:
    void Read(QLocalSocket* socket);

    QString m_name;
    QLocalServer m_server;
};

} // namespace quenda
