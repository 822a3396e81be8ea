#pragma once
// One sync round with the calendar server: pull what changed there (a sync-collection report where the
// server has one, ETags otherwise), then push every day that changed here, one resource YYYYMMDD.ics per
// day, with If-Match on the ETag last seen (If-None-Match: * for a new day). Both sides changed, or a push
// refused with 412: the note becomes the server's text with ours below a marked separator, and that is
// pushed. A resource deleted on the server deletes nothing here. Everything is asynchronous; the store is
// written only in short transactions between network answers, so typing never waits for the network.

#include "DavClient.h"
#include "DavXml.h"
#include "SyncState.h"

#include <QHash>
#include <QObject>
#include <QQueue>
#include <QString>

#include <optional>

namespace quenda {

class TDM;

struct SyncOutcome {
    bool ok = false;
    QString failure; // in the user's words, empty when ok
    bool inStep = false; // ok and nothing here waits for a push
};

class SyncEngine : public QObject {
    Q_OBJECT
public:
    SyncEngine(TDM& dm, const QUrl& collection, const QString& user, const QString& password,
               QObject* parent = nullptr);

    // Starts a round (`pull` false: only push); asked during a round, another round follows it.
    void Run(bool pull = true);
    bool Running() const { return m_running; }

    DavClient& Client() { return m_client; }
    // Lists changes by ETags even where the server reports them since a sync token.
    void SetUseSyncCollection(bool use) { m_syncCollection = use; }

signals:
    void started();
    // Before the note of `key` is replaced: the editor stores what it holds (connect directly).
    void aboutToStore(const QString& key);
    // The note of `key` changed here by a pull or a merge.
    void noteStored(const QString& key);
    void finished(const SyncOutcome& outcome);

private:
    struct Fetch {
        QString key, href, etag;
    };
    void Begin(bool pull);
    void ListChanges();
    void ListBySyncToken(const QString& token);
    void ListByEtags();
    void TakeSyncChanges(const Multistatus& changes);
    void FetchNext();
    void Fetched(const Fetch& fetch, const DavReply& reply);
    bool Apply(const QString& key, const QString& href, const QString& etag, const QByteArray& resource);
    bool Store(const DaySyncState& state, const QByteArray& data);
    void Push();
    void PushNext();
    void PushDay(const DaySyncState& day);
    void Pushed(const DaySyncState& day, const QUrl& url, const DavReply& reply);
    void Refetch(const DaySyncState& day, const QUrl& url);
    void Fail(const QString& failure);
    void End(SyncOutcome outcome);

    TDM& m_dm;
    SyncStateStore m_state;
    DavClient m_client;
    bool m_running = false;
    bool m_again = false, m_againPull = false;
    std::optional<bool> m_syncCollection; // unknown until the server answers the report
    QQueue<Fetch> m_fetches;
    QQueue<QString> m_pushes;
    QHash<QString, int> m_attempts; // pushes of a day in this round: a second 412 waits for the next round
    QString m_newToken;
    bool m_tokenRetried = false;
};

} // namespace quenda
