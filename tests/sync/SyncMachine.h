#pragma once
// One computer of the sync tests: a note store of its own in a temporary data folder and the sync engine
// that connects it to a collection.

#include "SyncEngine.h"
#include "uDM.h"

#include <QTemporaryDir>

#include <memory>

namespace quenda::test {

class SyncMachine {
public:
    explicit SyncMachine(const QUrl& collection, bool useSyncCollection = true, const QString& user = {});

    // Stores `text` as the note of `key`, as the editor does.
    void Write(const QString& key, const QString& text);
    // The note's plain text; "(none)" when the day has no note.
    QString Text(const QString& key);
    QByteArray Bytes(const QString& key);
    // Runs one round to its end.
    SyncOutcome Sync(bool pull = true);

    TDM& Store() { return m_dm; }
    SyncEngine& Engine() { return *m_engine; }

private:
    QTemporaryDir m_folder;
    TDM m_dm;
    std::unique_ptr<SyncEngine> m_engine;
};

} // namespace quenda::test
