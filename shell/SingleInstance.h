#pragma once
// One running program per data folder: two editors writing the same notes would overwrite each other.
// The first start listens on a local socket named after its folder; a later start finds it and sends one
// request per line: "show [TOKEN]" (come to the front, with the desktop's activation token of the later
// start; the later start then ends), "notes" (notes were changed outside the program: show them again) or
// "sync" (run a sync round and answer with one line). Two copies of the folder are two programs and run
// side by side.

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

    // True when a program of this folder is running already; it has then been asked to come forward,
    // with `activationToken` when there is one.
    bool AskRunningProgramToShow(const QString& activationToken = QString());

    // Tells a program of this folder that notes were changed outside it (an import from the command
    // line); false when none is running.
    bool TellRunningProgramNotesChanged();

    // Nothing when no program of this folder runs; else the running program's answer to "sync" (empty
    // when none came within `milliseconds`).
    std::optional<QString> AskRunningProgramToSync(int milliseconds);

    // Starts listening for later starts; false when the socket cannot be set up (the program then runs
    // without the guard rather than not at all).
    bool Listen();

    const QString& ServerName() const { return m_name; }

    // What a line asks for: nothing when it is not a request to show; otherwise the token, empty when the
    // line has none or one no desktop makes (anything but printable ASCII, or longer than kMaxTokenLength),
    // and the window then comes forward without it.
    static std::optional<QString> ParseRequest(const QByteArray& line);
    static constexpr int kMaxTokenLength = 1024;

    // Answers a "sync" request with one line; a caller that has gone away is no error.
    static void Answer(const QPointer<QLocalSocket>& caller, const QString& line);

signals:
    void showRequested(const QString& activationToken);
    void notesChanged();
    void syncRequested(QPointer<QLocalSocket> caller);

private:
    void Read(QLocalSocket* socket);
    bool Send(const QByteArray& request);

    QString m_name;
    QLocalServer m_server;
};

} // namespace quenda
