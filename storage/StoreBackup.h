#pragma once
// A copy of the note store taken while the program runs and typing goes on: SQLite's VACUUM INTO on a
// connection of its own writes a consistent snapshot into a temporary file beside the target, the copy's
// integrity is checked, and only then is it renamed into place. The store itself is only read.

#include "DateTimeValue.h"

#include <QString>

namespace quenda {

struct BackupOutcome {
    bool ok = false;
    QString message; // the copy's path on success, else the reason in the user's words
};

// Copies the store at `storePath` into `target` (replacing a file there). Safe to run on any thread; it
// never touches the connection the program saves through.
BackupOutcome BackupStore(const QString& storePath, const QString& target);

// "UserData-YYYYMMDD.db" for `today`, in the user's documents folder.
QString DefaultBackupPath(TDateTime today);

} // namespace quenda
