#pragma once
// quenda-calendar --sync: one pull and push for the data folder without a window. With the program running
// on the same folder, the running program is asked to sync instead, so two writers never race.

#include "SyncEngine.h"

#include <QString>

namespace quenda {

class SingleInstance;

// The one-line answer to a "sync" request: "ok" (in step), "waiting" (a note still waits for its push)
// or "failed TEXT".
QString SyncAnswer(const SyncOutcome& outcome);

// Runs the command and returns the exit status: 0 in step, 1 not (the reason on standard error), 2 when
// sync is not set up.
int RunSyncCommand(SingleInstance& instance);

} // namespace quenda
