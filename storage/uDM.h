#pragma once
// The data module: the one connection to the note store Data/UserData.db, a SQLite file with the table
// UserCon (conIndex TEXT PRIMARY KEY, data BLOB). The program never creates the store; a missing file, one
// that is not a database or one that cannot be opened ends the program at start-up.

#include <QByteArray>
#include <QSet>
#include <QStringList>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QSqlQuery;
class QWidget;

namespace quenda {

// What the store holds for a day: nothing (no row), or the row's note bytes, stored unchanged.
struct StoredNote {
    bool found = false;
    QByteArray data;
};

// A note to store under `key`, with its plain text for the store's plain-text copy.
struct NoteChange {
    QString key;
    QByteArray data;
    QString plainText;
};

// A note whose plain text holds what was searched for.
struct NoteHit {
    QString key;
    QString plainText;
};

class TDM {
public:
    TDM();
    ~TDM();
    TDM(const TDM&) = delete;
    TDM& operator=(const TDM&) = delete;

    // Opens the store; false after showing "配置文件加载失败，请重试！". The caller then ends the program.
    bool DataModuleCreate(QWidget* messageParent = nullptr);
    bool OpenDatabase(QWidget* messageParent = nullptr);
    // Opens the store as OpenDatabase does, without a message: false with the reason in LastError().
    bool OpenStore();

    // Data/UserData.db in the user's data folder.
    static QString StorePath();

    // The note of `key`; nothing when the statement failed (missing table, locked or broken store).
    std::optional<StoredNote> ReadNote(const QString& key);

    // Stores `data` under `key` in one transaction: the row is updated when it exists, else inserted; rows
    // are never deleted. `plainText`, the note's text, goes into the store's plain-text copy in the same
    // transaction. False when anything failed; the store then keeps what it had.
    bool WriteNote(const QString& key, const QByteArray& data, const QString& plainText);

    // WriteNote's statements inside a transaction the caller has begun (and commits or rolls back), for a
    // module that records more in the same transaction (the sync state).
    bool WriteNoteInTransaction(const QString& key, const QByteArray& data, const QString& plainText);

    // Asks `decide` for each key, with the note stored under it, what to store instead (nothing: leave
    // it), and stores the answers, all in one transaction: either every change is stored or none.
    using NoteDecision = std::function<std::optional<NoteChange>(const QString& key, const StoredNote& note)>;
    bool ChangeNotes(const QStringList& keys, const NoteDecision& decide);

    // Calls `visit` with every stored note whose key lies from `first` to `last`, in key order. False
    // when the statement failed.
    bool ForEachNote(const QString& first, const QString& last,
                     const std::function<void(const QString& key, const QByteArray& data)>& visit);

    // The notes whose plain text contains `text` (Latin letters in either case), newest first, at most
    // `limit`. Three characters or more are looked up in the full-text index NoteSearch where the store
    // has it; shorter texts, and a store without the index, are found by reading the plain-text copy;
    // notes missing from the copy are decoded. Nothing when a statement failed. (NoteSearch.cpp)
    std::optional<std::vector<NoteHit>> SearchNotes(const QString& text, int limit);

    // True when the store has its full-text index NoteSearch over the plain-text copy.
    bool HasSearchIndex() const { return m_searchIndex; }

    // The keys from `first` to `last` (inclusive, as eight-digit day keys) whose note holds visible text:
    // one indexed query. Notes missing from the plain-text copy (a read-only store, a store written by an
    // older program) are decoded instead. Nothing when the statement failed.
    std::optional<QSet<QString>> KeysWithText(const QString& first, const QString& last);

    // True when the store has its plain-text copy NoteText (notes missing from it are decoded on demand).
    bool HasPlainTextCopy() const { return m_plainTextCopy; }

    // True when the store keeps the per-day sync state (NoteSync, see SyncState.h): a writable store.
    bool HasSyncState() const { return m_syncState; }

    // The name of the store's database connection, for the modules that keep tables of their own beside
    // UserCon in the same store (the sync state).
    const QString& ConnectionName() const { return m_connectionName; }

    // Copies the saves collected in the write-ahead log into the store; the program calls it when typing
    // pauses. A failure leaves the log as it is, to be copied later.
    void Checkpoint();

    // The store's durability setting, "NORMAL" (what the program uses) or "FULL"; the benchmark of the
    // keystroke save measures both.
    bool SetSynchronous(const QString& level);

    // The last failure's text from the database engine, for tests and diagnostics.
    const QString& LastError() const { return m_lastError; }

    // False while a note operation runs and after a failed load, so the editor's change notifications
    // neither write back a note being loaded nor store anything under a date whose load failed.
    bool CanSave = false;

    // True from a failed load until a load succeeds: no save of any kind may then store the editor's
    // content, which still belongs to the date before.
    bool NoteLoadFailed = false;

private:
    bool Connect(const QString& path, const QString& mode);
    bool Fail(const QString& error);
    bool Prepare();
    void PreparePlainTextCopy();
    bool HasTable(const QString& name);
    bool FillPlainTextCopy();
    void PrepareSearchIndex();
    bool StoreRow(QSqlQuery& query, const QString& key, const QByteArray& data, const QString& plainText);
    std::optional<std::vector<NoteHit>> IndexedHits(const QString& text, int limit);
    std::optional<std::vector<NoteHit>> ScannedHits(const QString& text, int limit, int newest = 0);
    std::optional<std::vector<NoteHit>> DecodedHits(const QString& text, int limit);

    QString m_connectionName;
    QString m_lastError;
    bool m_plainTextCopy = false;
    bool m_syncState = false;
    bool m_searchIndex = false;
};

// True when a note's plain text has anything to see: a character other than blanks and line breaks.
bool HasVisibleText(const QString& plainText);

// The statements sent for a day's note, as texts, %s being the quoted key.
inline constexpr char kLoadStatementHead[] = " select * from UserCon ";
inline constexpr char kSaveStatementHead[] = " select * from  UserCon ";
inline constexpr char kStatementKeyTail[] = " where conIndex = %s";

// The statement text for `key`: `head` plus the tail with the key in single quotes, any quote doubled.
QString DayStatement(const char* head, const QString& key);

// The write-ahead log's length at which SQLite copies it into the store during a save (4 KB pages).
inline constexpr int kCheckpointPages = 4000;

// SQLite's wait for a store that another process holds: short, because a save runs on every keystroke.
inline constexpr int kBusyTimeoutMs = 100;

} // namespace quenda
