#pragma once
// The requests to end that come as signals: SIGTERM (the session's end at logout, `kill`), SIGHUP (the
// terminal closed) and SIGINT (Ctrl+C). A signal handler may do almost nothing safely, so it only writes
// the signal's number into a socket pair; the event loop reads it there and says so with
// terminationRequested, where the program ends as from its close button. A second signal of the kind ends
// the program at once, as if there were no handler, in case the first end hangs.

#include <QObject>

class QSocketNotifier;

namespace quenda {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; one object at a time. Without a socket pair the signals keep their default
    // (ending at once), and Installed() is false.
    explicit TerminationSignals(QObject* parent = nullptr);
    // Gives the signals their default handling back.
    ~TerminationSignals() override;

    bool Installed() const { return m_notifier != nullptr; }

signals:
    void terminationRequested(int signalNumber);

private:
    void readSignals();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace quenda
