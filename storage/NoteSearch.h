#pragma once
// Finding notes again: where a searched text occurs in a note, and the line of the note that a list of
// results shows for it, with every occurrence marked. The store's side is TDM::SearchNotes.

#include <QList>
#include <QString>

namespace quenda {

// True when `plainText` contains `text`, Latin letters in either case.
bool NoteContains(const QString& plainText, const QString& text);

// Counts characters as the full-text index does: code points, not UTF-16 units.
qsizetype CharacterCount(const QString& text);

// Texts of at least this many characters are looked up in the full-text index (its trigram tokenizer
// cannot find shorter ones); shorter ones are found by reading every note.
inline constexpr qsizetype kIndexedSearchCharacters = 3;

// A piece of one line of a note, and where the searched text occurs in it.
struct NoteExcerpt {
    QString text;
    QList<std::pair<qsizetype, qsizetype>> marks; // start and length in `text`
};

// The line of `plainText` that holds the first occurrence of `text`, cut to about `width` characters
// around it ("…" where it was cut), with every occurrence inside marked. Empty when there is none.
NoteExcerpt ExcerptOf(const QString& plainText, const QString& text, qsizetype width = 40);

} // namespace quenda
