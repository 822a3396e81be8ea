#pragma once
// The commands that run from a terminal, a script or a scheduled job without opening a window, also
// while the program runs on the same data folder: --backup (a reader), --export (a reader) and
// --import (one short transaction, and only with --yes).

#include "CommandLine.h"

#include <QString>

namespace quenda {

struct BatchResult {
    int status = 0;   // 0: done; 1: failed; 3: an import shown but not done (no --yes)
    QString output;   // for standard output
    QString error;    // for standard error: the reason
};

inline constexpr int kBatchFailed = 1, kBatchNotConfirmed = 3;

// Runs the batch command of `options` on the store in the data folder.
BatchResult RunBatchCommand(const CommandLine& options);

} // namespace quenda
