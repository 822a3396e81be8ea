#pragma once
// When the program syncs: a pull at start, every few minutes and on demand, a push a few seconds after
// typing stops for a day (never per keystroke), and after a failure a retry with growing pauses. It also
// words the status line: "已同步 15:32", "同步失败：无法连接服务器".

#include "SyncEngine.h"
#include "SyncSettings.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

namespace quenda {

class TDM;

// The pause before the retry after `failures` failed rounds in a row: 30 s, doubling, at most 15 minutes.
int RetryDelaySeconds(int failures);

// Seconds between the last save of a note and its push.
inline constexpr int kPushDelayMs = 3000;

class SyncScheduler : public QObject {
    Q_OBJECT
public:
    explicit SyncScheduler(TDM& dm, QObject* parent = nullptr);

    // Takes new settings: off stops everything, on starts with a pull.
    void Configure(const SyncSettings& settings, const QString& password);
    bool Enabled() const { return m_engine != nullptr; }

    // A note was stored here: its push waits until typing pauses.
    void NoteSaved();
    // A pull and push now (the menu, the retry, the pull timer).
    void SyncNow();
    // A pull and push now, and `done` with the outcome of a round that began after this call (a second
    // start with --sync must not be answered by a round that was already under way).
    void SyncThen(std::function<void(const SyncOutcome&)> done);

    const QString& Status() const { return m_status; }
    const SyncOutcome& LastOutcome() const { return m_last; }
    SyncEngine* Engine() const { return m_engine.get(); }

signals:
    void statusChanged(const QString& status);
    void aboutToStore(const QString& key);
    void noteStored(const QString& key);
    void roundFinished(const SyncOutcome& outcome);

private:
    void Finished(const SyncOutcome& outcome);
    void SetStatus(const QString& status);

    TDM& m_dm;
    std::unique_ptr<SyncEngine> m_engine;
    QTimer m_push, m_pull, m_retry;
    int m_failures = 0;
    int m_started = 0, m_finished = 0; // rounds of the current engine
    QList<QPair<int, std::function<void(const SyncOutcome&)>>> m_waiting; // round number, callback
    QString m_status;
    SyncOutcome m_last;
};

} // namespace quenda
