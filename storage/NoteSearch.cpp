// Search over the notes: the full-text index NoteSearch beside the plain-text copy, the scan for short
// texts, and the excerpt a list of results shows.
#include "NoteSearch.h"

#include "DayNote.h"
#include "uDM.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace quenda {

namespace {

// An external-content index over NoteText with the trigram tokenizer: any substring of three characters
// or more is found, Chinese as well as Latin (Latin without regard to case), without a word list. The
// triggers keep it in the transaction of every change to NoteText, so every save updates it.
const char* const kIndexSchema[] = {
    "create virtual table NoteSearch using fts5(plain, content='NoteText', content_rowid='rowid', "
    "tokenize='trigram')",
    "create trigger NoteSearchAfterInsert after insert on NoteText begin "
    "insert into NoteSearch (rowid, plain) values (new.rowid, new.plain); end",
    "create trigger NoteSearchAfterDelete after delete on NoteText begin "
    "insert into NoteSearch (NoteSearch, rowid, plain) values ('delete', old.rowid, old.plain); end",
    "create trigger NoteSearchAfterUpdate after update on NoteText begin "
    "insert into NoteSearch (NoteSearch, rowid, plain) values ('delete', old.rowid, old.plain); "
    "insert into NoteSearch (rowid, plain) values (new.rowid, new.plain); end",
    "insert into NoteSearch (NoteSearch) values ('rebuild')",
};

// A phrase of the index's query language: the text in double quotes, quotes doubled.
QString IndexPhrase(const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// A LIKE pattern that matches `text` anywhere, its wildcards escaped with a backslash.
QString LikePattern(const QString& text) {
    QString escaped = text;
    for (const char* special : {"\\", "%", "_"})
        escaped.replace(QLatin1String(special), QLatin1Char('\\') + QLatin1String(special));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

// The hits of a query that yields key and plain text, newest first; only the notes that really contain
// `text` count (an index changed behind the program's back can name a note that no longer does).
std::optional<std::vector<NoteHit>> CollectHits(QSqlQuery& query, const QString& text, int limit) {
    if (!query.exec()) return std::nullopt;
    std::vector<NoteHit> hits;
    while (static_cast<int>(hits.size()) < limit && query.next()) {
        NoteHit hit{query.value(0).toString(), query.value(1).toString()};
        if (NoteContains(hit.plainText, text)) hits.push_back(std::move(hit));
    }
    return hits;
}

} // namespace

bool NoteContains(const QString& plainText, const QString& text) {
    return !text.isEmpty() && plainText.contains(text, Qt::CaseInsensitive);
}

qsizetype CharacterCount(const QString& text) {
    return text.toUcs4().size();
}

NoteExcerpt ExcerptOf(const QString& plainText, const QString& text, qsizetype width) {
    const qsizetype first = text.isEmpty() ? -1 : plainText.indexOf(text, 0, Qt::CaseInsensitive);
    if (first < 0) return {};
    const qsizetype lineStart = plainText.lastIndexOf(QLatin1Char('\n'), first) + 1;
    qsizetype lineEnd = plainText.indexOf(QLatin1Char('\n'), first);
    if (lineEnd < 0) lineEnd = plainText.size();
    // The hit a third of the way in, so the reader sees what leads to it and more of what follows.
    const qsizetype start = std::max(lineStart, std::min(first - width / 3, lineEnd - width));
    const qsizetype end = std::min(lineEnd, std::max(start + width, first + text.size()));
    NoteExcerpt excerpt;
    const QString head = start > lineStart ? QStringLiteral("…") : QString();
    excerpt.text = head + plainText.mid(start, end - start) + (end < lineEnd ? QStringLiteral("…") : QString());
    for (qsizetype at = first; at >= 0 && at + text.size() <= end;
         at = plainText.indexOf(text, at + text.size(), Qt::CaseInsensitive))
        excerpt.marks.append({at - start + head.size(), text.size()});
    return excerpt;
}

void TDM::PrepareSearchIndex() {
    m_searchIndex = false;
    if (!m_plainTextCopy) return;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    const bool exists = HasTable(QStringLiteral("NoteSearch"));
    // Made once, on the first writable open; a store that cannot be written, or an SQLite without FTS5,
    // is searched by reading the plain-text copy instead.
    if (!exists && query.exec(QStringLiteral("begin immediate"))) {
        bool ok = true;
        for (const char* statement : kIndexSchema)
            ok = ok && query.exec(QString::fromLatin1(statement));
        if (!ok) Fail(query.lastError().text());
        query.exec(ok ? QStringLiteral("commit") : QStringLiteral("rollback"));
    }
    m_searchIndex = HasTable(QStringLiteral("NoteSearch"));
}

std::optional<std::vector<NoteHit>> TDM::SearchNotes(const QString& text, int limit) {
    const QString wanted = text.trimmed();
    if (wanted.isEmpty() || limit <= 0) return std::vector<NoteHit>{};
    std::optional<std::vector<NoteHit>> hits;
    if (m_plainTextCopy)
        hits = m_searchIndex && CharacterCount(wanted) >= kIndexedSearchCharacters ? IndexedHits(wanted, limit)
                                                                                    : ScannedHits(wanted, limit);
    else
        hits = std::vector<NoteHit>{};
    std::optional<std::vector<NoteHit>> decoded = hits ? DecodedHits(wanted, limit) : std::nullopt;
    if (!decoded) return std::nullopt;
    hits->insert(hits->end(), std::make_move_iterator(decoded->begin()), std::make_move_iterator(decoded->end()));
    std::sort(hits->begin(), hits->end(), [](const NoteHit& a, const NoteHit& b) { return a.key > b.key; });
    if (static_cast<int>(hits->size()) > limit) hits->resize(limit);
    return hits;
}

// The index finds the candidates; newest first through the key's own index, stopping at the limit.
std::optional<std::vector<NoteHit>> TDM::IndexedHits(const QString& text, int limit) {
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("select conIndex, plain from NoteText where rowid in (select rowid from "
                                 "NoteSearch where NoteSearch match ?) order by conIndex desc"));
    query.addBindValue(IndexPhrase(text));
    auto hits = CollectHits(query, text, limit);
    if (!hits) Fail(query.lastError().text());
    return hits;
}

// LIKE ignores the case of Latin letters, as the index does.
std::optional<std::vector<NoteHit>> TDM::ScannedHits(const QString& text, int limit) {
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("select conIndex, plain from NoteText where hasText and plain like ? "
                                 "escape '\\' order by conIndex desc"));
    query.addBindValue(LikePattern(text));
    auto hits = CollectHits(query, text, limit);
    if (!hits) Fail(query.lastError().text());
    return hits;
}

// The notes that the plain-text copy lacks (all of them in a store without one) are decoded.
std::optional<std::vector<NoteHit>> TDM::DecodedHits(const QString& text, int limit) {
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    query.prepare(m_plainTextCopy ? QStringLiteral("select u.conIndex, u.data from UserCon u where not exists "
                                                   "(select 1 from NoteText t where t.conIndex = u.conIndex) "
                                                   "order by u.conIndex desc")
                                  : QStringLiteral("select conIndex, data from UserCon order by conIndex desc"));
    if (!query.exec()) {
        Fail(query.lastError().text());
        return std::nullopt;
    }
    std::vector<NoteHit> hits;
    while (static_cast<int>(hits.size()) < limit && query.next()) {
        NoteHit hit{query.value(0).toString(), NotePlainText(query.value(1).toByteArray())};
        if (NoteContains(hit.plainText, text)) hits.push_back(std::move(hit));
    }
    return hits;
}

} // namespace quenda
