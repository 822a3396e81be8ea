#pragma once
// One running program per program folder: two editors writing the same notes would overwrite each other.
// The first start listens on a local socket named after its folder; a second start finds it, asks it to
// come to the front and ends. Two copies of the folder are two programs and run side by side.

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace quenda {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& programFolder, QObject* parent = nullptr);

    // True when a program of this folder is running already; it has then been asked to come forward.
    bool AskRunningProgramToShow();

    // Tells a program of this folder that notes were changed outside it (an import from the command
    // line); false when none is running.
    bool TellRunningProgramNotesChanged();

    // Starts listening for later starts; false when the socket cannot be set up (the program then runs
    // without the guard rather than not at all).
    bool Listen();

    const QString& ServerName() const { return m_name; }

signals:
    void showRequested();
    void notesChanged();

private:
    bool Send(const QByteArray& request);

    QString m_name;
    QLocalServer m_server;
};

} // namespace quenda
