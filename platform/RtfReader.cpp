#include "RtfCodePages.h"
#include "RtfCodec.h"
#include "RtfDocumentBuilder.h"
#include "RtfKeywords.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <climits>
#include <vector>

namespace quenda {

namespace {

using rtf::Alignment;
using rtf::Keyword;
using rtf::RunFormat;

// Limits that keep memory and time bounded on any input. Real notes nest groups a few levels deep and use
// a handful of fonts and colours.
constexpr int kMaxGroupDepth = 200;
constexpr qsizetype kMaxControlWordLength = 32; // the longest the format allows
constexpr qint64 kParameterLimit = qint64(INT_MAX) + 1;
constexpr std::size_t kMaxFonts = 1024;
constexpr std::size_t kMaxColours = 1024;
constexpr qsizetype kMaxFontNameLength = 256;
constexpr int kMaxHalfPoints = 3276; // 1638 points, the largest size the Windows control takes
constexpr int kMaxUnicodeSkip = 255;

enum class Destination : quint8 { Body, Skip, FontTable, ColorTable };
// Which run properties LibreOffice's associated \af \afs \ab \ai set: East Asian text follows \dbch.
enum class Script : quint8 { Latin, EastAsian, Complex };

struct CharState {
    int font = -1; // -1: the document's default font
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    int foreground = 0; // colour table indexes
    int background = 0;
    int eastAsianFont = -1; // -1: as the Latin property
    int eastAsianHalfPoints = -1;
    qint8 eastAsianBold = -1;
    qint8 eastAsianItalic = -1;
    Script associated = Script::Latin;
    bool doubleByte = false; // text of this run is East Asian (\dbch)
};

struct GroupState {
    CharState chars;
    Destination destination = Destination::Body;
    Alignment alignment = Alignment::Left;
    int unicodeSkip = 1;
};

struct FontEntry {
    int charset = 1;  // DEFAULT_CHARSET: the document's code page
    int codePage = 0; // \cpg, 0 when not given
};

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
int hexValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class RtfParser {
public:
    RtfParser(const QByteArray& bytes, QTextDocument& document)
        : m_data(bytes.constData()), m_size(bytes.size()), m_builder(document, m_fontNames) {}

    bool parse(); // false when the document was damaged

private:
    GroupState& group() { return m_groups.back(); }
    CharState& chars() { return m_groups.back().chars; }
    bool skipping() const { return m_groups.back().destination == Destination::Skip; }

    void openGroup();
    bool closeGroup();
    void parseBackslash();
    void parseControlWord();
    void parseHexByte();
    void controlSymbol(char symbol);
    void textByte(unsigned char byte);
    void textBytes();
    void controlWord(std::string_view word, bool hasParameter, int parameter);
    bool documentWord(Keyword keyword, bool hasParameter, int parameter);
    bool characterWord(Keyword keyword, bool hasParameter, int parameter);
    bool associatedWord(Keyword keyword, bool hasParameter, int parameter);
    bool paragraphWord(Keyword keyword, char16_t character);
    void skipBinary(int length);
    void appendUnicode(int value);

    void flushBytes();
    void emitText(QStringView text);
    int textCodePage();
    const RunFormat& runFormat();
    std::optional<QRgb> colour(int index) const;
    void startFontEntry(int id);
    void finishFontEntry();
    void finishColourEntry();

    const char* m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
    std::vector<GroupState> m_groups;
    int m_overflowDepth = 0; // groups opened beyond the depth limit, read as part of their parent
    bool m_damaged = false;
    int m_skipCount = 0;       // fallback characters of the last \uN still to skip
    QByteArray m_pendingBytes; // text bytes not yet decoded, so multi-byte pairs come together
    QString m_decoded;
    int m_ansiCodePage = rtf::kCodePageAnsi;
    int m_defaultFont = 0;
    std::map<int, FontEntry> m_fonts;
    std::map<int, QString> m_fontNames;
    std::optional<int> m_fontEntry; // the font table entry whose name is being read
    QString m_fontName;
    std::vector<std::optional<QRgb>> m_colours;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colourGiven = false;
    rtf::CodePageDecoder m_decoder;
    rtf::DocumentBuilder m_builder;
    RunFormat m_runFormat;
    bool m_formatDirty = true;
};

bool RtfParser::parse() {
    while (m_pos < m_size && m_data[m_pos] != '{')
        ++m_pos; // the blanks isRtf() allowed
    m_groups.reserve(32);
    m_groups.emplace_back();
    ++m_pos;
    bool closed = false;
    while (m_pos < m_size && !closed) {
        const char c = m_data[m_pos];
        if (c == '{') {
            ++m_pos;
            openGroup();
        } else if (c == '}') {
            ++m_pos;
            closed = closeGroup();
        } else if (c == '\\') {
            parseBackslash();
        } else {
            textBytes();
        }
    }
    flushBytes();
    if (!closed) m_damaged = true;
    if (group().destination == Destination::FontTable) finishFontEntry();
    m_builder.finish(group().alignment, runFormat());
    return !m_damaged;
}

void RtfParser::openGroup() {
    flushBytes();
    m_skipCount = 0;
    if (m_groups.size() >= kMaxGroupDepth) {
        ++m_overflowDepth;
        m_damaged = true;
        return;
    }
    m_groups.push_back(m_groups.back());
}

// True when the closing brace ends the document.
bool RtfParser::closeGroup() {
    flushBytes();
    m_skipCount = 0;
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return false;
    }
    if (m_groups.size() == 1) return true;
    const Destination closing = group().destination;
    m_groups.pop_back();
    if (closing == Destination::FontTable && group().destination != Destination::FontTable) finishFontEntry();
    m_formatDirty = true;
    return false;
}

void RtfParser::parseBackslash() {
    ++m_pos;
    if (m_pos >= m_size) {
        m_damaged = true; // a lone backslash at the end
        return;
    }
    const char c = m_data[m_pos];
    if (isLetter(c)) return parseControlWord();
    if (c == '\'') return parseHexByte();
    ++m_pos;
    controlSymbol(c);
}

void RtfParser::parseControlWord() {
    const qsizetype start = m_pos;
    while (m_pos < m_size && isLetter(m_data[m_pos]))
        ++m_pos;
    const qsizetype length = m_pos - start;
    bool negative = false;
    if (m_pos + 1 < m_size && m_data[m_pos] == '-' && isDigit(m_data[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    bool hasParameter = false;
    qint64 value = 0;
    for (; m_pos < m_size && isDigit(m_data[m_pos]); ++m_pos) {
        hasParameter = true;
        value = std::min(value * 10 + (m_data[m_pos] - '0'), kParameterLimit);
    }
    if (m_pos < m_size && m_data[m_pos] == ' ') ++m_pos;
    const int parameter = static_cast<int>(std::clamp<qint64>(negative ? -value : value, -INT_MAX, INT_MAX));
    if (length > kMaxControlWordLength) {
        if (m_skipCount > 0) --m_skipCount;
        return;
    }
    controlWord(std::string_view(m_data + start, std::size_t(length)), hasParameter, parameter);
}

void RtfParser::parseHexByte() {
    ++m_pos; // past the quote
    const int high = m_pos < m_size ? hexValue(m_data[m_pos]) : -1;
    const int low = m_pos + 1 < m_size ? hexValue(m_data[m_pos + 1]) : -1;
    if (high < 0 || low < 0) {
        // \'x with fewer than two digits: the escape is dropped, the text after it stays.
        m_pos += high < 0 ? 0 : 1;
        return;
    }
    m_pos += 2;
    textByte(static_cast<unsigned char>(high * 16 + low));
}

void RtfParser::controlSymbol(char symbol) {
    if (skipping()) return;
    if (symbol == '*') {
        flushBytes();
        group().destination = Destination::Skip;
        return;
    }
    if (m_skipCount > 0) {
        --m_skipCount;
        return;
    }
    char16_t character = 0;
    switch (symbol) {
    case '{':
    case '}':
    case '\\':
        return textByte(static_cast<unsigned char>(symbol));
    case '\r':
    case '\n':
        return controlWord("par", false, 0);
    case '~':
        character = 0x00A0;
        break; // no-break space
    case '-':
        character = 0x00AD;
        break; // optional hyphen
    case '_':
        character = 0x2011;
        break; // no-break hyphen
    case '\t':
        character = u'\t';
        break;
    default:
        return; // \: \| and unknown symbols
    }
    flushBytes();
    emitText(QStringView(&character, 1));
}

void RtfParser::textByte(unsigned char byte) {
    const Destination destination = group().destination;
    if (destination == Destination::Skip) return;
    if (m_skipCount > 0) {
        --m_skipCount;
        return;
    }
    if (byte == ';' && destination != Destination::Body) {
        flushBytes();
        if (destination == Destination::FontTable) finishFontEntry();
        if (destination == Destination::ColorTable) finishColourEntry();
        return;
    }
    if (byte == '\r' || byte == '\n' || (byte < 0x20 && byte != '\t')) return;
    m_pendingBytes.append(char(byte));
}

// Plain body text comes in long stretches between control words; they go to the pending bytes at once.
void RtfParser::textBytes() {
    if (group().destination != Destination::Body || m_skipCount > 0) {
        textByte(static_cast<unsigned char>(m_data[m_pos++]));
        return;
    }
    const qsizetype start = m_pos;
    while (m_pos < m_size) {
        const auto c = static_cast<unsigned char>(m_data[m_pos]);
        if (c == '{' || c == '}' || c == '\\' || c < 0x20) break;
        ++m_pos;
    }
    if (m_pos > start)
        m_pendingBytes.append(m_data + start, m_pos - start);
    else
        textByte(static_cast<unsigned char>(m_data[m_pos++]));
}

void RtfParser::skipBinary(int length) {
    m_pos += std::clamp<qsizetype>(length, 0, m_size - m_pos);
}

void RtfParser::controlWord(std::string_view word, bool hasParameter, int parameter) {
    const rtf::KeywordInfo* info = rtf::findKeyword(word);
    if (info && info->keyword == Keyword::Binary) return skipBinary(hasParameter ? parameter : 0);
    if (skipping()) return;
    if (m_skipCount > 0) {
        --m_skipCount;
        return;
    }
    if (!info) return;
    flushBytes();
    const Keyword keyword = info->keyword;
    if (documentWord(keyword, hasParameter, parameter)) return;
    if (group().destination != Destination::Body) return;
    if (characterWord(keyword, hasParameter, parameter)) {
        m_formatDirty = true;
        return;
    }
    paragraphWord(keyword, info->character);
}

// Destinations, tables and code pages: words that count wherever they stand.
bool RtfParser::documentWord(Keyword keyword, bool hasParameter, int parameter) {
    GroupState& state = group();
    switch (keyword) {
    case Keyword::FontTable:
        state.destination = Destination::FontTable;
        return true;
    case Keyword::ColorTable:
        state.destination = Destination::ColorTable;
        return true;
    case Keyword::SkippedDestination:
        state.destination = Destination::Skip;
        return true;
    case Keyword::Ansi:
        m_ansiCodePage = rtf::kCodePageAnsi;
        return true;
    case Keyword::Mac:
        m_ansiCodePage = 10000;
        return true;
    case Keyword::Pc:
        m_ansiCodePage = 437;
        return true;
    case Keyword::Pca:
        m_ansiCodePage = 850;
        return true;
    case Keyword::AnsiCodePage:
        if (parameter > 0) m_ansiCodePage = parameter;
        return true;
    case Keyword::DefaultFont:
        m_defaultFont = parameter;
        return true;
    case Keyword::UnicodeSkip:
        state.unicodeSkip = std::clamp(parameter, 0, kMaxUnicodeSkip);
        return true;
    case Keyword::Unicode:
        if (hasParameter) appendUnicode(parameter);
        return true;
    default:
        break;
    }
    if (state.destination == Destination::FontTable) {
        if (keyword == Keyword::Font) startFontEntry(parameter);
        if (m_fontEntry && keyword == Keyword::FontCharset) m_fonts[*m_fontEntry].charset = parameter;
        if (m_fontEntry && keyword == Keyword::FontCodePage) m_fonts[*m_fontEntry].codePage = parameter;
        return true;
    }
    if (state.destination == Destination::ColorTable) {
        const int component = std::clamp(parameter, 0, 255);
        if (keyword == Keyword::Red) m_red = component;
        if (keyword == Keyword::Green) m_green = component;
        if (keyword == Keyword::Blue) m_blue = component;
        m_colourGiven =
            m_colourGiven || keyword == Keyword::Red || keyword == Keyword::Green || keyword == Keyword::Blue;
        return true;
    }
    return false;
}

bool RtfParser::characterWord(Keyword keyword, bool hasParameter, int parameter) {
    CharState& state = chars();
    const bool on = !hasParameter || parameter != 0;
    switch (keyword) {
    case Keyword::Plain:
        state = CharState{};
        return true;
    case Keyword::Bold:
        state.bold = on;
        return true;
    case Keyword::Italic:
        state.italic = on;
        return true;
    case Keyword::Underline:
        state.underline = on;
        return true;
    case Keyword::UnderlineNone:
        state.underline = false;
        return true;
    case Keyword::Strike:
        state.strike = on;
        return true;
    case Keyword::Hidden:
        state.hidden = on;
        return true;
    case Keyword::ForeColor:
        state.foreground = parameter;
        return true;
    case Keyword::BackColor:
        state.background = parameter;
        return true;
    case Keyword::Font:
        state.font = parameter;
        return true;
    case Keyword::FontSize:
        if (parameter > 0) state.halfPoints = std::min(parameter, kMaxHalfPoints);
        return true;
    case Keyword::LowAnsi:
    case Keyword::HighAnsi:
        state.doubleByte = false;
        state.associated = Script::Latin;
        return true;
    case Keyword::DoubleByte:
        state.doubleByte = true;
        state.associated = Script::EastAsian;
        return true;
    case Keyword::RightToLeft:
        state.associated = Script::Complex;
        return true;
    case Keyword::LeftToRight:
        state.associated = Script::Latin;
        return true;
    default:
        return associatedWord(keyword, hasParameter, parameter);
    }
}

// LibreOffice writes the formatting of Chinese runs as associated properties after \dbch.
bool RtfParser::associatedWord(Keyword keyword, bool hasParameter, int parameter) {
    CharState& state = chars();
    const bool relevant = state.associated == Script::EastAsian;
    const qint8 on = (!hasParameter || parameter != 0) ? 1 : 0;
    switch (keyword) {
    case Keyword::AssocBold:
        if (relevant) state.eastAsianBold = on;
        return true;
    case Keyword::AssocItalic:
        if (relevant) state.eastAsianItalic = on;
        return true;
    case Keyword::AssocFont:
        if (relevant) state.eastAsianFont = parameter;
        return true;
    case Keyword::AssocFontSize:
        if (relevant && parameter > 0) state.eastAsianHalfPoints = std::min(parameter, kMaxHalfPoints);
        return true;
    default:
        return false;
    }
}

bool RtfParser::paragraphWord(Keyword keyword, char16_t character) {
    GroupState& state = group();
    switch (keyword) {
    case Keyword::ParagraphDefault:
        state.alignment = Alignment::Left;
        return true;
    case Keyword::AlignLeft:
        state.alignment = Alignment::Left;
        return true;
    case Keyword::AlignCenter:
        state.alignment = Alignment::Center;
        return true;
    case Keyword::AlignRight:
        state.alignment = Alignment::Right;
        return true;
    case Keyword::AlignJustify:
        state.alignment = Alignment::Justify;
        return true;
    case Keyword::Paragraph:
        m_builder.endParagraph(state.alignment, runFormat());
        return true;
    case Keyword::Character:
        emitText(QStringView(&character, 1));
        return true;
    default:
        return false;
    }
}

// \uN: a UTF-16 code unit, negative values counted from 65536; surrogate pairs come as two words.
void RtfParser::appendUnicode(int value) {
    m_skipCount = group().unicodeSkip;
    char32_t code = 0xFFFD;
    if (value >= -32768 && value < 0)
        code = char32_t(value + 65536);
    else if (value >= 0 && value <= 0x10FFFF)
        code = char32_t(value);
    // Symbol-font text written as Unicode uses the font's private-use copy of its own encoding.
    if (code >= 0xF020 && code <= 0xF0FF && textCodePage() == rtf::kCodePageSymbol)
        code = rtf::symbolToUnicode(static_cast<unsigned char>(code - 0xF000));
    if (code > 0xFFFF) {
        const char16_t pair[2] = {QChar::highSurrogate(code), QChar::lowSurrogate(code)};
        return emitText(QStringView(pair, 2));
    }
    const char16_t unit = char16_t(code); // a lone surrogate waits for its partner in the run text
    emitText(QStringView(&unit, 1));
}

void RtfParser::flushBytes() {
    if (m_pendingBytes.isEmpty()) return;
    m_decoded.clear();
    m_decoder.decodeAppend(textCodePage(), m_pendingBytes.constData(), m_pendingBytes.size(), m_decoded);
    m_pendingBytes.clear();
    emitText(m_decoded);
}

void RtfParser::emitText(QStringView text) {
    switch (group().destination) {
    case Destination::Body:
        if (!chars().hidden) m_builder.appendText(text, runFormat());
        break;
    case Destination::FontTable:
        // Cut at a fixed length, not per chunk: a saved name must read back to the same name.
        if (m_fontEntry)
            m_fontName.append(text.first(std::min(text.size(), kMaxFontNameLength - m_fontName.size())));
        break;
    default:
        break;
    }
}

int RtfParser::textCodePage() {
    int fontId = runFormat().font;
    if (group().destination == Destination::FontTable) fontId = m_fontEntry.value_or(INT_MIN);
    const auto font = m_fonts.find(fontId);
    if (font == m_fonts.end()) return m_ansiCodePage;
    if (font->second.codePage > 0) return font->second.codePage;
    return rtf::codePageForCharset(font->second.charset, m_ansiCodePage);
}

std::optional<QRgb> RtfParser::colour(int index) const {
    if (index < 0 || std::size_t(index) >= m_colours.size()) return std::nullopt;
    return m_colours[std::size_t(index)];
}

const RunFormat& RtfParser::runFormat() {
    if (!m_formatDirty) return m_runFormat;
    const CharState& state = chars();
    const bool eastAsian = state.doubleByte;
    RunFormat& format = m_runFormat;
    format.font = state.font >= 0 ? state.font : m_defaultFont;
    if (eastAsian && state.eastAsianFont >= 0) format.font = state.eastAsianFont;
    format.halfPoints =
        eastAsian && state.eastAsianHalfPoints > 0 ? state.eastAsianHalfPoints : state.halfPoints;
    format.bold = eastAsian && state.eastAsianBold >= 0 ? state.eastAsianBold != 0 : state.bold;
    format.italic = eastAsian && state.eastAsianItalic >= 0 ? state.eastAsianItalic != 0 : state.italic;
    format.underline = state.underline;
    format.strike = state.strike;
    format.foreground = colour(state.foreground);
    format.background = state.background > 0 ? colour(state.background) : std::nullopt;
    if (!m_fonts.contains(format.font)) format.font = -1;
    m_formatDirty = false;
    return m_runFormat;
}

void RtfParser::startFontEntry(int id) {
    finishFontEntry();
    if (m_fonts.size() >= kMaxFonts && !m_fonts.contains(id)) return;
    m_fonts[id] = FontEntry{};
    m_fontEntry = id;
    m_fontName.clear();
}

void RtfParser::finishFontEntry() {
    if (!m_fontEntry) return;
    // A face name is one line of printable text; what else a damaged table holds is dropped.
    m_fontName.removeIf([](QChar c) {
        return c.unicode() < 0x20 || c.isSurrogate() || c == QChar(0x2028) || c == QChar(0x2029) || c == u';';
    });
    m_fontNames[*m_fontEntry] = m_fontName.trimmed();
    m_fontEntry.reset();
    m_fontName.clear();
    m_formatDirty = true;
}

void RtfParser::finishColourEntry() {
    if (m_colours.size() < kMaxColours)
        m_colours.push_back(m_colourGiven ? std::optional<QRgb>(qRgb(m_red, m_green, m_blue)) : std::nullopt);
    m_red = m_green = m_blue = 0;
    m_colourGiven = false;
    m_formatDirty = true;
}

// Plain text: UTF-8 when the bytes are valid UTF-8, otherwise GB18030, which reads every GBK note.
void loadPlainText(const QByteArray& bytes, QTextDocument& document) {
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError()) {
        QStringDecoder gb18030("GB18030");
        text = gb18030.isValid() ? gb18030(bytes) : QString::fromLatin1(bytes);
    }
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    QTextCursor cursor(&document);
    cursor.insertText(text);
}

} // namespace

bool isRtf(const QByteArray& bytes) {
    qsizetype start = 0;
    while (start < bytes.size() &&
           (bytes[start] == ' ' || bytes[start] == '\t' || bytes[start] == '\r' || bytes[start] == '\n'))
        ++start;
    return QByteArrayView(bytes).sliced(start).startsWith("{\\rtf");
}

RtfReadResult readRtf(const QByteArray& bytes, QTextDocument& document) {
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    RtfReadResult result;
    result.wasRtf = isRtf(bytes);
    {
        QTextCursor batch(&document);
        batch.beginEditBlock(); // one change notification for the whole load
        if (result.wasRtf) {
            RtfParser parser(bytes, document);
            result.damaged = !parser.parse();
        } else if (!bytes.isEmpty()) {
            loadPlainText(bytes, document);
        }
        batch.endEditBlock();
    }
    document.setUndoRedoEnabled(undo);
    return result;
}

QString documentPlainText(const QTextDocument& document) {
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin()) text.append(u'\n');
        text.append(block.text());
    }
    text.replace(QChar(0x2028), u'\n');
    return text;
}

} // namespace quenda
