#include "SyncEngine.h"

#include "Clock.h"
#include "DavXml.h"
#include "DayNote.h"
#include "NoteResource.h"
#include "uDM.h"

namespace quenda {

namespace {

// The report's precondition failures that mean "this token is no longer valid, start from nothing".
bool TokenRefused(int status) {
    return status == 400 || status == 403 || status == 409 || status == 410;
}

// No answer, a server error or a refused login: the round stops and is tried again later.
bool RoundFailure(int status) {
    return status == 0 || status == 401 || status >= 500;
}

QString PathOf(const QUrl& url) {
    return url.path(QUrl::FullyEncoded);
}

constexpr int kAttemptsPerRound = 2;

} // namespace

SyncEngine::SyncEngine(TDM& dm, const QUrl& collection, const QString& user, const QString& password,
                       QObject* parent)
    : QObject(parent), m_dm(dm), m_state(dm), m_client(collection, user, password, this) {}

void SyncEngine::Run(bool pull) {
    if (m_running) {
        m_again = true;
        m_againPull = m_againPull || pull;
        return;
    }
    Begin(pull);
}

void SyncEngine::Begin(bool pull) {
    m_running = true;
    m_fetches.clear();
    m_pushes.clear();
    m_attempts.clear();
    m_newToken.clear();
    m_tokenRetried = false;
    emit started();
    if (!m_dm.HasSyncState()) return Fail(QStringLiteral("记事库是只读的"));
    if (!m_state.UseCollection(m_client.Collection().toString()))
        return Fail(QStringLiteral("记事库无法写入"));
    if (pull)
        ListChanges();
    else
        Push();
}

void SyncEngine::ListChanges() {
    if (m_syncCollection.value_or(true))
        ListBySyncToken(m_state.SyncToken());
    else
        ListByEtags();
}

void SyncEngine::ListBySyncToken(const QString& token) {
    m_client.Send("REPORT", m_client.Collection(),
                  {{"Depth", "0"}, {"Content-Type", "application/xml; charset=utf-8"}},
                  SyncCollectionBody(token), [this, token](const DavReply& reply) {
                      const auto changes = reply.status == 207 ? ParseMultistatus(reply.body) : std::nullopt;
                      if (changes) {
                          m_syncCollection = true;
                          return TakeSyncChanges(*changes);
                      }
                      if (RoundFailure(reply.status)) return Fail(DescribeFailure(reply));
                      if (!token.isEmpty() && TokenRefused(reply.status) && !m_tokenRetried) {
                          m_tokenRetried = true; // an expired token: everything, from the start
                          return ListBySyncToken({});
                      }
                      m_syncCollection = false; // no such report here: compare every ETag
                      ListByEtags();
                  });
}

void SyncEngine::TakeSyncChanges(const Multistatus& changes) {
    for (const DavResource& resource : changes.resources) {
        const QString key = DayKeyOfHref(resource.href);
        if (key.isEmpty()) continue;
        const std::optional<DaySyncState> state = m_state.StateOf(key);
        if (!state) return Fail(QStringLiteral("记事库无法读取"));
        if (resource.gone)
            m_state.ForgetServerCopy(key);
        else if (resource.etag.isEmpty() || resource.etag != state->etag)
            m_fetches.enqueue({key, PathOf(m_client.Resolve(resource.href)), resource.etag});
    }
    m_newToken = changes.syncToken;
    FetchNext();
}

void SyncEngine::ListByEtags() {
    m_client.Send("PROPFIND", m_client.Collection(),
                  {{"Depth", "1"}, {"Content-Type", "application/xml; charset=utf-8"}}, EtagPropfindBody(),
                  [this](const DavReply& reply) {
                      const auto listing = reply.status == 207 ? ParseMultistatus(reply.body) : std::nullopt;
                      if (!listing)
                          return Fail(reply.Ok() || reply.status == 207
                                          ? QStringLiteral("服务器的回答无法识别")
                                          : DescribeFailure(reply));
                      // What the listing lacks is gone from the server.
                      QSet<QString> listed;
                      for (const DavResource& resource : listing->resources)
                          listed.insert(DayKeyOfHref(resource.href));
                      for (const DaySyncState& day : m_state.DaysOnServer().value_or(QList<DaySyncState>{}))
                          if (!listed.contains(day.key)) m_state.ForgetServerCopy(day.key);
                      Multistatus changes = *listing;
                      changes.syncToken.clear();
                      TakeSyncChanges(changes);
                  });
}

void SyncEngine::FetchNext() {
    if (m_fetches.isEmpty()) {
        if (!m_newToken.isEmpty()) m_state.SetSyncToken(m_newToken);
        return Push();
    }
    const Fetch fetch = m_fetches.dequeue();
    m_client.Send("GET", m_client.Resolve(fetch.href), {}, {},
                  [this, fetch](const DavReply& reply) { Fetched(fetch, reply); });
}

void SyncEngine::Fetched(const Fetch& fetch, const DavReply& reply) {
    if (reply.status == 404) { // deleted since it was listed
        m_state.ForgetServerCopy(fetch.key);
        return FetchNext();
    }
    if (!reply.Ok()) return Fail(DescribeFailure(reply));
    const QString etag = reply.etag.isEmpty() ? fetch.etag : reply.etag;
    if (!Apply(fetch.key, fetch.href, etag, reply.body)) return Fail(QStringLiteral("记事库无法写入"));
    FetchNext();
}

// The server's resource for a day meets the note here. Unchanged here: the server's note is taken. Changed
// here while the server's text is still the one both sides last agreed on (only its bytes moved): ours
// stays. Changed on both sides to different texts: the server's text with ours appended below a separator.
bool SyncEngine::Apply(const QString& key, const QString& href, const QString& etag,
                       const QByteArray& resource) {
    emit aboutToStore(key);
    const std::optional<DaySyncState> state = m_state.StateOf(key);
    const std::optional<StoredNote> local = m_dm.ReadNote(key);
    if (!state || !local) return false;
    const std::optional<ServerNote> server = ReadNoteResource(resource);
    // Not a note we can read (another program's entry under a day's name): known, and left alone.
    if (!server) return m_state.RecordServerCopy(key, href, etag, -1, state->base);
    const QString ours = local->found ? NotePlainText(local->data) : QString();
    const QString serverBase = TextFingerprint(server->plain);
    DaySyncState next{key, href, etag, false, state->revision, serverBase};
    if (!state->changedHere || !HasVisibleText(ours)) return Store(next, server->data);
    // Emptied there, or not changed there in its text: ours stays and goes up over it.
    if (!HasVisibleText(server->plain) || serverBase == state->base)
        return m_state.RecordServerCopy(key, href, etag, -1, state->base);
    if (SameText(ours, server->plain))
        return m_state.RecordServerCopy(key, href, etag, local->data == server->data ? state->revision : -1,
                                        serverBase);
    next.changedHere = true;
    return Store(next, MergeNotes(server->data, local->data, Clock::Now()));
}

bool SyncEngine::Store(const DaySyncState& state, const QByteArray& data) {
    switch (m_state.StoreFromServer(state, data, NotePlainText(data))) {
    case SyncStoreOutcome::Stored:
        emit noteStored(state.key);
        return true;
    case SyncStoreOutcome::ChangedMeanwhile: // typed meanwhile: the push meets the server's copy with 412
        return true;
    case SyncStoreOutcome::Failed:
        return false;
    }
    return false;
}

void SyncEngine::Push() {
    const std::optional<QList<DaySyncState>> days = m_state.ChangedDays();
    if (!days) return Fail(QStringLiteral("记事库无法读取"));
    for (const DaySyncState& day : *days)
        m_pushes.enqueue(day.key);
    PushNext();
}

void SyncEngine::PushNext() {
    if (m_pushes.isEmpty()) {
        const auto waiting = m_state.ChangedDays();
        return End({true, {}, waiting && waiting->isEmpty()});
    }
    const std::optional<DaySyncState> day = m_state.StateOf(m_pushes.dequeue());
    if (!day) return Fail(QStringLiteral("记事库无法读取"));
    if (!day->changedHere) return PushNext(); // settled by a pull or an earlier push
    PushDay(*day);
}

void SyncEngine::PushDay(const DaySyncState& day) {
    const std::optional<StoredNote> note = m_dm.ReadNote(day.key);
    if (!note) return Fail(QStringLiteral("记事库无法读取"));
    const QString plain = note->found ? NotePlainText(note->data) : QString();
    // A day that never had text and is unknown to the server stays off it.
    if (!HasVisibleText(plain) && day.etag.isEmpty()) {
        m_state.RecordServerCopy(day.key, day.href, {}, day.revision, {});
        return PushNext();
    }
    const QUrl url = day.href.isEmpty() ? m_client.Member(day.key + QStringLiteral(".ics"))
                                        : m_client.Resolve(day.href);
    DavHeaders headers{{"Content-Type", "text/calendar; charset=utf-8"}};
    headers.append(day.etag.isEmpty() ? qMakePair(QByteArray("If-None-Match"), QByteArray("*"))
                                      : qMakePair(QByteArray("If-Match"), day.etag.toLatin1()));
    ++m_attempts[day.key];
    DaySyncState pushed = day;
    pushed.base = TextFingerprint(plain);
    m_client.Send("PUT", url, headers, NoteResource(day.key, note->data, plain),
                  [this, pushed, url](const DavReply& reply) { Pushed(pushed, url, reply); });
}

void SyncEngine::Pushed(const DaySyncState& day, const QUrl& url, const DavReply& reply) {
    if (reply.Ok()) {
        if (!m_state.RecordServerCopy(day.key, PathOf(url), reply.etag, day.revision, day.base))
            return Fail(QStringLiteral("记事库无法写入"));
        return PushNext();
    }
    const bool again = m_attempts.value(day.key) < kAttemptsPerRound;
    if (reply.status == 404 && !day.etag.isEmpty() && again) { // deleted there: written anew
        m_state.ForgetServerCopy(day.key);
        m_pushes.prepend(day.key);
        return PushNext();
    }
    if (reply.status == 412 && again) return Refetch(day, url); // changed there meanwhile
    Fail(reply.status == 412 ? QStringLiteral("服务器上的记事不断变化，稍后再试") : DescribeFailure(reply));
}

// The server's copy changed since we saw it: merge it in, then push the day again.
void SyncEngine::Refetch(const DaySyncState& day, const QUrl& url) {
    m_client.Send("GET", url, {}, {}, [this, day, url](const DavReply& reply) {
        if (reply.status == 404) {
            m_state.ForgetServerCopy(day.key);
        } else if (!reply.Ok()) {
            return Fail(DescribeFailure(reply));
        } else if (!Apply(day.key, PathOf(url), reply.etag, reply.body)) {
            return Fail(QStringLiteral("记事库无法写入"));
        }
        m_pushes.prepend(day.key);
        PushNext();
    });
}

void SyncEngine::Fail(const QString& failure) {
    End({false, failure, false});
}

void SyncEngine::End(SyncOutcome outcome) {
    m_running = false;
    emit finished(outcome);
    if (!m_again) return;
    m_again = false;
    const bool pull = std::exchange(m_againPull, false);
    Begin(pull);
}

} // namespace quenda
