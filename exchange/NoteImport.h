#pragma once
// The import of an iCalendar file's notes into the store. A day without a note gets the imported note; a
// day that has one keeps it, and the imported text is appended below a separator line, never replacing
// it; a day whose note already holds the imported text is skipped, so importing a file twice adds nothing.
// The preview says what would happen before anything is written; the import is one transaction.

#include "IcsFile.h"

#include <QStringList>

#include <optional>

namespace quenda {

class TDM;
struct NoteChange;
struct StoredNote;

// The line between a day's own note and the text appended to it.
inline constexpr char16_t kImportSeparator[] = u"────────────";

enum class ImportFate { New, Appended, Skipped };

// What an import does to each day of the file.
struct ImportPlan {
    QStringList newDays, appendedDays, skippedDays; // keys
};

// What becomes of the day note `current` when `imported` is imported: the change to store (nothing for a
// skipped day) and its fate.
std::optional<NoteChange> MergeImported(const JournalNote& imported, const StoredNote& current, ImportFate& fate);

// What importing `content` would do, reading the store only. Nothing when the store could not be read.
std::optional<ImportPlan> PlanImport(TDM& dm, const IcsContent& content);

// Imports `content` in one transaction, each day decided on the note stored at that moment; what was
// done, or nothing when the transaction failed and the store kept everything as it was.
std::optional<ImportPlan> ApplyImport(TDM& dm, const IcsContent& content);

// The preview in the user's words: days new, appended and skipped, and what the file held besides notes.
QString ImportSummary(const ImportPlan& plan, const IcsContent& content);

} // namespace quenda
