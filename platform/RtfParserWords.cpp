#include "RtfParser.h"

#include <algorithm>

namespace quenda::rtf {

void RtfParser::controlWord(std::string_view word, bool hasParameter, int parameter) {
    const KeywordInfo* info = findKeyword(word);
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
        return setAnsiCodePage(kCodePageAnsi);
    case Keyword::Mac:
        return setAnsiCodePage(10000);
    case Keyword::Pc:
        return setAnsiCodePage(437);
    case Keyword::Pca:
        return setAnsiCodePage(850);
    case Keyword::AnsiCodePage:
        return parameter > 0 ? setAnsiCodePage(parameter) : true;
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
        return tableWord(keyword, parameter);
    }
}

// The code page of fonts without a charset of their own; whether a run is symbol-charset text can follow it.
bool RtfParser::setAnsiCodePage(int codePage) {
    m_ansiCodePage = codePage;
    m_formatDirty = true;
    return true;
}

// Words of the font and colour tables; inside a table every other word is ignored.
bool RtfParser::tableWord(Keyword keyword, int parameter) {
    const Destination destination = group().destination;
    if (destination == Destination::FontTable) {
        if (keyword == Keyword::Font) startFontEntry(parameter);
        if (m_fontEntry && keyword == Keyword::FontCharset) m_fonts[*m_fontEntry].charset = parameter;
        if (m_fontEntry && keyword == Keyword::FontCodePage) m_fonts[*m_fontEntry].codePage = parameter;
        return true;
    }
    if (destination == Destination::ColorTable) {
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
    default:
        return associatedWord(keyword, hasParameter, parameter);
    }
}

// Script modes and associated properties: LibreOffice writes the formatting of Chinese runs as \af \afs
// \ab \ai after \dbch, and those of right-to-left text after \rtlch, which a note does not show.
bool RtfParser::associatedWord(Keyword keyword, bool hasParameter, int parameter) {
    CharState& state = chars();
    const bool relevant = state.associated == Script::EastAsian;
    const qint8 on = (!hasParameter || parameter != 0) ? 1 : 0;
    switch (keyword) {
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
    if (code >= 0xF020 && code <= 0xF0FF) {
        if (const SymbolFont symbol = textSymbolFont(); symbol != SymbolFont::None)
            code = symbolCharacter(symbol, static_cast<unsigned char>(code - 0xF000));
    }
    if (code > 0xFFFF) {
        const char16_t pair[2] = {QChar::highSurrogate(code), QChar::lowSurrogate(code)};
        return emitText(QStringView(pair, 2));
    }
    const char16_t unit = char16_t(code); // a lone surrogate waits for its partner in the run text
    emitText(QStringView(&unit, 1));
}

} // namespace quenda::rtf
