#pragma once
// One running program per program folder: two editors writing the same notes would overwrite each other.
// The first start listens on a local socket named after its folder; a second start finds it, asks it to
// come to the front and ends. Two copies of the folder are two programs and run side by side.
// The request is one line, "show" and, when the desktop launched the second start with an activation token
// (XDG_ACTIVATION_TOKEN, Wayland's permission to take the focus), a blank and that token: only the first
// program has a window to spend it on.

#include <QLocalServer>
#include <QObject>
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

    // Starts listening for later starts; false when the socket cannot be set up (the program then runs
    // without the guard rather than not at all).
    bool Listen();

    const QString& ServerName() const { return m_name; }

    // What a line asks for: nothing when it is not a request to show; otherwise the token, empty when the
    // line has none or one no desktop makes (anything but printable ASCII, or longer than kMaxTokenLength),
    // and the window then comes forward without it.
    static std::optional<QString> ParseRequest(const QByteArray& line);
    static constexpr int kMaxTokenLength = 1024;

signals:
    void showRequested(const QString& activationToken);

private:
    QString m_name;
    QLocalServer m_server;
};

} // namespace quenda
