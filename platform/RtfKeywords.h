#pragma once
// The RTF control words the reader acts on. Everything else is read past and ignored.

#include <QtGlobal>

#include <string_view>

namespace quenda::rtf {

enum class Keyword : quint8 {
    // destinations
    FontTable,
    ColorTable,
    SkippedDestination,
    // document and tables
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCodePage,
    DefaultFont,
    UnicodeSkip,
    Unicode,
    Binary,
    FontCharset,
    FontCodePage,
    Red,
    Green,
    Blue,
    // character formatting
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Hidden,
    ForeColor,
    BackColor,
    Font,
    FontSize,
    AssocBold,
    AssocItalic,
    AssocFont,
    AssocFontSize,
    LowAnsi,
    HighAnsi,
    DoubleByte,
    RightToLeft,
    LeftToRight,
    // paragraphs
    ParagraphDefault,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    Paragraph,
    // characters written as control words (\line, \tab, \emdash, ...)
    Character,
};

struct KeywordInfo {
    Keyword keyword;
    char16_t character; // for Keyword::Character
};

// The meaning of a control word, or nullptr when the reader ignores it.
const KeywordInfo* findKeyword(std::string_view word);

} // namespace quenda::rtf
