#include "RtfCodePages.h"
#include "RtfCodec.h"
#include "RtfSymbolFonts.h"

#include <QFont>
#include <QHash>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <vector>

namespace quenda {

namespace {

enum class Alignment : quint8 { Left, Center, Right, Justify };

// A run's formatting as the writer puts it into control words: font and colour table indexes.
struct WrittenFormat {
    int font = -1; // -1 and 0 are distinct so that the first run always names its font and size
    int halfPoints = -1;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int foreground = 0; // 0: automatic
    int background = 0; // 0: none
};

constexpr int kMaxHalfPoints = 3276;
constexpr char kHexDigits[] = "0123456789abcdef";

Alignment alignmentOf(const QTextBlock& block) {
    const Qt::Alignment alignment = block.blockFormat().alignment();
    if (alignment & Qt::AlignHCenter) return Alignment::Center;
    if (alignment & Qt::AlignJustify) return Alignment::Justify;
    if (alignment & Qt::AlignRight) return Alignment::Right;
    return Alignment::Left;
}

QString familyOf(const QStringList& families) {
    for (const QString& family : families)
        if (QString name = rtf::cleanFontName(family); !name.isEmpty()) return name;
    return QString::fromUtf16(kRtfDefaultFontFamily);
}

// The face a run is written in, and the symbol font whose bytes its characters can be written as: the table
// the face's name selects, whatever charset the text came in, or for another face read in a symbol charset
// its private-use bytes.
struct RunFont {
    QString family;
    rtf::SymbolFont symbol = rtf::SymbolFont::None;
};

// Characters that take the font entry of the text around them instead of forcing a switch: they read the
// same in a symbol font (a space is byte 0x20, a tab or line break a control word) or are not written.
bool goesWithNeighbours(char32_t character) {
    return character <= 0x20 || character == 0x2028 || character == 0xFFFC;
}

char32_t codePointAt(QStringView text, qsizetype i, qsizetype* length) {
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        *length = 2;
        return QChar::surrogateToUcs4(text[i], text[i + 1]);
    }
    *length = 1;
    return text[i].unicode();
}

class RtfWriter {
public:
    RtfWriter() { fontIndex(QString::fromUtf16(kRtfDefaultFontFamily), false); }
    QByteArray write(const QTextDocument& document);

private:
    void writeBlock(const QTextBlock& block, bool first);
    void writeRun(QStringView text, WrittenFormat format, const RunFont& font);
    bool startsWithSymbols(QStringView text, const RunFont& font) const;
    void writeSymbolByte(unsigned char byte);
    WrittenFormat resolve(const QTextCharFormat& format);
    void switchTo(const WrittenFormat& target);
    void word(const char* name) { word(name, nullptr); }
    void word(const char* name, const int* parameter);
    void writeText(QStringView text, QByteArray& out);
    void writeUnicode(char16_t unit, QByteArray& out);
    void separate(QByteArray& out);
    int fontIndex(const QString& family, bool symbolCharset);
    RunFont runFontOf(const QTextCharFormat& format);
    int colourIndex(const QBrush& brush);
    QByteArray header();

    QByteArray m_body;
    std::vector<std::pair<QString, bool>> m_fonts; // face and symbol charset of each font table entry
    QHash<std::pair<QString, bool>, int> m_fontIndexes;
    QHash<std::pair<QStringList, bool>, RunFont> m_runFonts; // the formats' own family lists, before cleaning
    std::vector<QRgb> m_colours;
    QHash<QRgb, int> m_colourIndexes;
    WrittenFormat m_current;
    Alignment m_alignment = Alignment::Left;
    bool m_needSpace = false; // a control word was written last: text after it needs the delimiting blank
};

QByteArray RtfWriter::write(const QTextDocument& document) {
    m_body.reserve(document.characterCount() * 6 + 256);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        writeBlock(block, block == document.begin());
    QByteArray result = header();
    result.reserve(result.size() + m_body.size() + 3);
    result.append(m_body);
    result.append("}\r\n");
    return result;
}

void RtfWriter::writeBlock(const QTextBlock& block, bool first) {
    const Alignment alignment = alignmentOf(block);
    if (first || alignment != m_alignment) {
        // clang-format off
        static const char* const kAlignWords[] = {nullptr, "qc", "qr", "qj"};
        // clang-format on
        word("pard");
        if (const char* align = kAlignWords[int(alignment)]) word(align);
        if (first) word("lang2052");
        m_alignment = alignment;
    }
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid()) continue;
        const QTextCharFormat format = fragment.charFormat();
        writeRun(fragment.text(), resolve(format), runFontOf(format));
    }
    // The paragraph mark carries the block's own character format, the one typing into it would use.
    WrittenFormat mark = resolve(block.charFormat());
    const RunFont markFont = runFontOf(block.charFormat());
    mark.font = fontIndex(markFont.family, markFont.symbol != rtf::SymbolFont::None);
    switchTo(mark);
    m_body.append("\\par\r\n");
    m_needSpace = false;
}

// A run in a symbol font is written in two font table entries of its face: characters the font has a byte
// for in the \fcharset2 entry as those bytes, others (a letter typed into a Wingdings run) in the ordinary
// entry. Each switch is made once per stretch, so a reread run is written the same way again.
void RtfWriter::writeRun(QStringView text, WrittenFormat format, const RunFont& font) {
    if (font.symbol == rtf::SymbolFont::None) {
        format.font = fontIndex(font.family, false);
        switchTo(format);
        return writeText(text, m_body);
    }
    bool symbol = startsWithSymbols(text, font);
    format.font = fontIndex(font.family, symbol);
    switchTo(format);
    qsizetype length = 1;
    for (qsizetype i = 0; i < text.size(); i += length) {
        const char32_t character = codePointAt(text, i, &length);
        const bool neutral = goesWithNeighbours(character);
        const int byte = neutral ? -1 : rtf::symbolByte(font.symbol, character);
        if (!neutral && symbol != (byte >= 0)) {
            symbol = byte >= 0;
            format.font = fontIndex(font.family, symbol);
            switchTo(format);
        }
        if (byte >= 0)
            writeSymbolByte(static_cast<unsigned char>(byte));
        else
            writeText(text.sliced(i, length), m_body);
    }
}

// Whether the first character that chooses a font entry is one of the symbol font's; true when none does.
bool RtfWriter::startsWithSymbols(QStringView text, const RunFont& font) const {
    qsizetype length = 1;
    for (qsizetype i = 0; i < text.size(); i += length) {
        const char32_t character = codePointAt(text, i, &length);
        if (!goesWithNeighbours(character)) return rtf::symbolByte(font.symbol, character) >= 0;
    }
    return true;
}

// Printable ASCII bytes as themselves, the rest as lowercase \'xx, as the Windows control writes them.
void RtfWriter::writeSymbolByte(unsigned char byte) {
    if (byte == '\\' || byte == '{' || byte == '}') {
        m_body.append('\\').append(char(byte));
        m_needSpace = false;
        return;
    }
    separate(m_body);
    if (byte > 0x20 && byte < 0x7F) {
        m_body.append(char(byte));
    } else {
        const char escaped[4] = {'\\', '\'', kHexDigits[byte >> 4], kHexDigits[byte & 15]};
        m_body.append(escaped, 4);
    }
}

WrittenFormat RtfWriter::resolve(const QTextCharFormat& format) {
    WrittenFormat written;
    const double points = format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize() : 0.0;
    written.halfPoints =
        points > 0 ? std::clamp(qRound(points * 2), 1, kMaxHalfPoints) : kRtfDefaultHalfPoints;
    written.bold = format.hasProperty(QTextFormat::FontWeight) && format.fontWeight() > QFont::Medium;
    written.italic = format.fontItalic();
    written.underline = format.fontUnderline();
    written.strike = format.fontStrikeOut();
    written.foreground = colourIndex(format.foreground());
    written.background = colourIndex(format.background());
    return written;
}

void RtfWriter::switchTo(const WrittenFormat& target) {
    WrittenFormat& now = m_current;
    if (target.foreground != now.foreground) word("cf", &target.foreground);
    if (target.background != now.background) word("highlight", &target.background);
    if (target.bold != now.bold) word(target.bold ? "b" : "b0");
    if (target.italic != now.italic) word(target.italic ? "i" : "i0");
    if (target.underline != now.underline) word(target.underline ? "ul" : "ulnone");
    if (target.strike != now.strike) word(target.strike ? "strike" : "strike0");
    if (target.font != now.font) word("f", &target.font);
    if (target.halfPoints != now.halfPoints) word("fs", &target.halfPoints);
    now = target;
}

void RtfWriter::word(const char* name, const int* parameter) {
    m_body.append('\\');
    m_body.append(name);
    if (parameter) m_body.append(QByteArray::number(*parameter));
    m_needSpace = true;
}

void RtfWriter::separate(QByteArray& out) {
    if (m_needSpace) out.append(' ');
    m_needSpace = false;
}

// ASCII as itself, GBK characters as lowercase \'xx pairs, everything else as \uN? with N a signed 16-bit
// code unit (characters beyond the BMP as their surrogate pair).
void RtfWriter::writeText(QStringView text, QByteArray& out) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            out.append('\\').append(char(c));
            m_needSpace = false;
        } else if (c == u'\t' || c == 0x2028) {
            out.append(c == u'\t' ? "\\tab" : "\\line");
            m_needSpace = true;
        } else if (c < 0x20 || c == 0xFFFC) {
            continue; // control characters and the marks of embedded objects have no place in a note
        } else if (c < 0x80) {
            separate(out);
            out.append(char(c));
        } else if (const std::uint16_t gbk = rtf::gbkCodeOf(c)) {
            separate(out);
            const char escaped[8] = {'\\', '\'', kHexDigits[gbk >> 12],       kHexDigits[(gbk >> 8) & 15],
                                     '\\', '\'', kHexDigits[(gbk >> 4) & 15], kHexDigits[gbk & 15]};
            out.append(escaped, 8);
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            writeUnicode(c, out);
            writeUnicode(text[++i].unicode(), out);
        } else {
            writeUnicode(QChar::isSurrogate(c) ? char16_t(0xFFFD) : c, out);
        }
    }
}

void RtfWriter::writeUnicode(char16_t unit, QByteArray& out) {
    separate(out);
    out.append("\\u");
    out.append(QByteArray::number(static_cast<qint16>(unit)));
    out.append('?');
}

// Formats repeat their family lists run after run; cleaning a name once per list is enough.
RunFont RtfWriter::runFontOf(const QTextCharFormat& format) {
    const std::pair key(format.fontFamilies().toStringList(),
                        format.boolProperty(rtf::kSymbolCharsetProperty));
    const auto found = m_runFonts.constFind(key);
    if (found != m_runFonts.cend()) return *found;
    RunFont font{familyOf(key.first), rtf::SymbolFont::None};
    font.symbol = rtf::symbolFontNamed(font.family);
    if (font.symbol == rtf::SymbolFont::Other && !key.second) font.symbol = rtf::SymbolFont::None;
    return *m_runFonts.insert(key, font);
}

int RtfWriter::fontIndex(const QString& family, bool symbolCharset) {
    const std::pair key(family, symbolCharset);
    const auto found = m_fontIndexes.constFind(key);
    if (found != m_fontIndexes.cend()) return *found;
    const int index = int(m_fonts.size());
    m_fonts.push_back(key);
    m_fontIndexes.insert(key, index);
    return index;
}

int RtfWriter::colourIndex(const QBrush& brush) {
    if (brush.style() == Qt::NoBrush) return 0;
    const QRgb rgb = brush.color().rgb() | 0xFF000000u;
    const auto found = m_colourIndexes.constFind(rgb);
    if (found != m_colourIndexes.cend()) return *found;
    m_colours.push_back(rgb);
    const int index = int(m_colours.size()); // entry 0 is the automatic colour
    m_colourIndexes.insert(rgb, index);
    return index;
}

QByteArray RtfWriter::header() {
    QByteArray head = "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl";
    for (std::size_t i = 0; i < m_fonts.size(); ++i) {
        const auto& [family, symbolCharset] = m_fonts[i];
        head.append("{\\f" + QByteArray::number(qsizetype(i)) + "\\fnil\\fcharset" +
                    (symbolCharset ? "2 " : "134 "));
        m_needSpace = false;
        writeText(family, head); // a symbol font's name too is in the document's code page
        head.append(";}");
    }
    head.append("}\r\n");
    if (!m_colours.empty()) {
        head.append("{\\colortbl ;");
        for (const QRgb rgb : m_colours)
            head.append("\\red" + QByteArray::number(qRed(rgb)) + "\\green" +
                        QByteArray::number(qGreen(rgb)) + "\\blue" + QByteArray::number(qBlue(rgb)) + ';');
        head.append("}\r\n");
    }
    head.append("\\viewkind4\\uc1");
    return head;
}

} // namespace

QByteArray writeRtf(const QTextDocument& document) {
    return RtfWriter().write(document);
}

} // namespace quenda
