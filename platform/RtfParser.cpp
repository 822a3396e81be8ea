#include "RtfParser.h"

#include <algorithm>

namespace quenda::rtf {

namespace {

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

} // namespace

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

void RtfParser::flushBytes() {
    if (m_pendingBytes.isEmpty()) return;
    m_decoded.clear();
    if (const SymbolFont symbol = textSymbolFont(); symbol != SymbolFont::None)
        appendSymbolText(symbol, m_pendingBytes.constData(), m_pendingBytes.size(), m_decoded);
    else
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

int RtfParser::fontCodePage(const FontEntry& font) const {
    return font.codePage > 0 ? font.codePage : codePageForCharset(font.charset, m_ansiCodePage);
}

int RtfParser::textCodePage() {
    if (group().destination == Destination::FontTable) {
        // A symbol font's name is no glyph numbers: it is written in the document's code page.
        const auto font = m_fonts.find(m_fontEntry.value_or(INT_MIN));
        const int codePage = font == m_fonts.end() ? m_ansiCodePage : fontCodePage(font->second);
        return codePage == kCodePageSymbol ? m_ansiCodePage : codePage;
    }
    const auto font = m_fonts.find(runFormat().font);
    return font == m_fonts.end() ? m_ansiCodePage : fontCodePage(font->second);
}

// The glyph table of body text in a symbol-charset font; None for text in a code page. Only the font named
// Symbol reads through the Symbol font's table, the other symbol fonts through their own.
SymbolFont RtfParser::textSymbolFont() {
    if (group().destination != Destination::Body || textCodePage() != kCodePageSymbol)
        return SymbolFont::None;
    // Without a font of its own, symbol-charset text (a document in \ansicpg42) reads as the Symbol font.
    const auto font = m_fonts.find(runFormat().font);
    return font == m_fonts.end() ? SymbolFont::Symbol : font->second.symbol;
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
    const auto font = m_fonts.find(format.font);
    if (font == m_fonts.end()) format.font = -1;
    format.symbolCharset = font != m_fonts.end() && fontCodePage(font->second) == kCodePageSymbol;
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
    const QString name = cleanFontName(m_fontName);
    m_fonts[*m_fontEntry].symbol = symbolFontNamed(name);
    m_fontNames[*m_fontEntry] = name;
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

} // namespace quenda::rtf
