#pragma once
// Symbol fonts: fonts with \fcharset2, whose bytes number the font's own glyphs instead of the characters of
// a code page. The reader turns each byte into the Unicode character of its glyph; the writer turns those
// characters back into the font's bytes, so a note keeps its symbols and their original bytes.

#include <QString>
#include <QTextFormat>

namespace quenda::rtf {

// Which glyph table a symbol font's bytes are read through.
enum class SymbolFont : quint8 { None, Symbol, Wingdings, Wingdings2, Wingdings3, Webdings, Other };

// The table of a symbol-charset font named `family` (case does not matter); Other for a face without one.
SymbolFont symbolFontNamed(QStringView family);

// The character of a byte in a symbol font: Unicode's character for its glyph; U+F000 + byte, the private-use
// reading of the Windows rich-text control, where Unicode has none or the font is Other; U+FFFD for the few
// bytes the Symbol font leaves empty. Bytes up to 0x20 (the space) read as themselves. `font` must not be
// None.
char32_t symbolCharacter(SymbolFont font, unsigned char byte);

// Appends the characters of the bytes in `font` to `out`, those beyond the BMP as surrogate pairs.
void appendSymbolText(SymbolFont font, const char* data, qsizetype size, QString& out);

// The byte whose character in `font` is `character`, or -1 when the font has none (always -1 for None).
int symbolByte(SymbolFont font, char32_t character);

// A character-format property set on text read in a symbol-charset font, so the writer can tell a symbol font
// without a table of its own (Marlett, say) from an ordinary one.
inline constexpr int kSymbolCharsetProperty = QTextFormat::UserProperty + 0x5346; // "SF"

} // namespace quenda::rtf
