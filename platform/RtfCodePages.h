#pragma once
// Code pages of the RTF codec: which Windows code page a font's \fcharset or the document's \ansicpg
// names, decoding \'xx bytes in it, and the GBK table the writer escapes text with.

#include <QString>
#include <QStringDecoder>

#include <cstdint>
#include <vector>

namespace quenda::rtf {

inline constexpr int kCodePageGbk = 936;
inline constexpr int kCodePageAnsi = 1252;
// Windows' CP_SYMBOL: a symbol font's own glyph numbers (RtfSymbolFonts.h), not a real code page.
inline constexpr int kCodePageSymbol = 42;

// The code page a font's \fcharset selects; `ansiCodePage` for DEFAULT_CHARSET and unknown values.
int codePageForCharset(int charset, int ansiCodePage);

// Decodes bytes of any code page into UTF-16. Converters are opened once per code page and reused, since
// opening one costs far more than decoding a short run; GBK goes through a table for the same reason.
class CodePageDecoder {
public:
    void decodeAppend(int codePage, const char* data, qsizetype size, QString& out);

private:
    QStringDecoder& decoderFor(int codePage);
    void decodeGbkAppend(const char* data, qsizetype size, QString& out);

    struct Entry {
        int codePage;
        QStringDecoder decoder;
    };
    std::vector<Entry> m_decoders;
};

// The two GBK bytes (lead << 8 | trail) of a BMP character, or 0 when the character has none that the
// Windows control's code page 936 and GB18030 both read back as the same character (ASCII is not looked
// up here: it is written as itself).
std::uint16_t gbkCodeOf(char16_t character);

inline constexpr qsizetype kMaxFontNameLength = 256;

// A face name as the font table can hold it: one trimmed line of printable text without the semicolon that
// ends a table entry, at most kMaxFontNameLength long. Reader and writer both apply it, so a saved name
// reads back unchanged.
QString cleanFontName(QString name);

} // namespace quenda::rtf
