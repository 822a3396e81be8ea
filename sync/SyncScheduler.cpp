#include "SyncScheduler.h"

#include "Clock.h"

#include <QDateTime>

namespace quenda {

namespace {

constexpr int kFirstRetrySeconds = 30;
constexpr int kLongestRetrySeconds = 15 * 60;

} // namespace

int RetryDelaySeconds(int failures) {
    int delay = kFirstRetrySeconds;
    for (int i = 1; i < failures && delay < kLongestRetrySeconds; ++i)
        delay *= 2;
    return std::min(delay, kLongestRetrySeconds);
}

SyncScheduler::SyncScheduler(TDM& dm, QObject* parent) : QObject(parent), m_dm(dm) {
    for (QTimer* timer : {&m_push, &m_retry})
        timer->setSingleShot(true);
    m_push.setInterval(kPushDelayMs);
    connect(&m_push, &QTimer::timeout, this, [this] {
        if (m_engine) m_engine->Run(false);
    });
    connect(&m_pull, &QTimer::timeout, this, &SyncScheduler::SyncNow);
    connect(&m_retry, &QTimer::timeout, this, &SyncScheduler::SyncNow);
}

void SyncScheduler::Configure(const SyncSettings& settings, const QString& password) {
    m_push.stop();
    m_pull.stop();
    m_retry.stop();
    m_failures = 0;
    m_started = m_finished = 0;
    for (const auto& waiting : std::exchange(m_waiting, {}))
        waiting.second({false, QStringLiteral("同步设置已改变"), false});
    // A round still under way finishes into nothing: its engine goes when the event loop is back.
    if (m_engine) m_engine.release()->deleteLater();
    const std::optional<QUrl> url = CollectionUrl(settings);
    if (!settings.enabled || !url) return SetStatus({});
    m_engine = std::make_unique<SyncEngine>(m_dm, *url, settings.user, password);
    connect(m_engine.get(), &SyncEngine::aboutToStore, this, &SyncScheduler::aboutToStore,
            Qt::DirectConnection);
    connect(m_engine.get(), &SyncEngine::noteStored, this, &SyncScheduler::noteStored);
    connect(m_engine.get(), &SyncEngine::finished, this, &SyncScheduler::Finished);
    connect(m_engine.get(), &SyncEngine::started, this, [this] { ++m_started; });
    m_pull.start(settings.intervalSeconds * 1000);
    SetStatus(QStringLiteral("正在同步…"));
    SyncNow();
}

void SyncScheduler::NoteSaved() {
    if (m_engine) m_push.start();
}

void SyncScheduler::SyncNow() {
    if (!m_engine) return;
    m_retry.stop();
    m_engine->Run(true);
}

void SyncScheduler::SyncThen(std::function<void(const SyncOutcome&)> done) {
    if (!m_engine) return done({false, QStringLiteral("同步没有开启"), false});
    m_waiting.append({m_started + 1, std::move(done)});
    SyncNow();
}

void SyncScheduler::Finished(const SyncOutcome& outcome) {
    m_last = outcome;
    ++m_finished;
    for (qsizetype i = m_waiting.size() - 1; i >= 0; --i)
        if (m_waiting[i].first <= m_finished) m_waiting.takeAt(i).second(outcome);
    if (outcome.ok) {
        m_failures = 0;
        m_retry.stop();
        SetStatus(QStringLiteral("已同步 %1").arg(FromDateTimeValue(Clock::Now()).toString(QStringLiteral("HH:mm"))));
    } else {
        m_retry.start(RetryDelaySeconds(++m_failures) * 1000);
        SetStatus(QStringLiteral("同步失败：%1").arg(outcome.failure));
    }
    emit roundFinished(outcome);
}

void SyncScheduler::SetStatus(const QString& status) {
    if (status == m_status) return;
    m_status = status;
    emit statusChanged(status);
}

} // namespace quenda
