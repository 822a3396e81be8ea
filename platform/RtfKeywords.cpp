#include "RtfKeywords.h"

#include <array>
#include <vector>

namespace quenda::rtf {

namespace {

struct KeywordEntry {
    std::string_view word;
    KeywordInfo info;
};

using K = Keyword;

// clang-format off
constexpr KeywordEntry kKeywords[] = {
    {"fonttbl", {K::FontTable, 0}}, {"colortbl", {K::ColorTable, 0}},
    // Destinations whose text is not part of the note. Field instructions go, field results stay.
    {"stylesheet", {K::SkippedDestination, 0}}, {"info", {K::SkippedDestination, 0}},
    {"pict", {K::SkippedDestination, 0}}, {"object", {K::SkippedDestination, 0}},
    {"header", {K::SkippedDestination, 0}}, {"headerl", {K::SkippedDestination, 0}},
    {"headerr", {K::SkippedDestination, 0}}, {"headerf", {K::SkippedDestination, 0}},
    {"footer", {K::SkippedDestination, 0}}, {"footerl", {K::SkippedDestination, 0}},
    {"footerr", {K::SkippedDestination, 0}}, {"footerf", {K::SkippedDestination, 0}},
    {"footnote", {K::SkippedDestination, 0}}, {"fldinst", {K::SkippedDestination, 0}},
    {"xe", {K::SkippedDestination, 0}}, {"tc", {K::SkippedDestination, 0}},
    {"listtable", {K::SkippedDestination, 0}}, {"listoverridetable", {K::SkippedDestination, 0}},
    {"revtbl", {K::SkippedDestination, 0}}, {"rsidtbl", {K::SkippedDestination, 0}},
    {"filetbl", {K::SkippedDestination, 0}}, {"generator", {K::SkippedDestination, 0}},
    {"themedata", {K::SkippedDestination, 0}}, {"colorschememapping", {K::SkippedDestination, 0}},
    {"latentstyles", {K::SkippedDestination, 0}}, {"datastore", {K::SkippedDestination, 0}},
    {"xmlnstbl", {K::SkippedDestination, 0}}, {"mmathPr", {K::SkippedDestination, 0}},
    {"pgdsctbl", {K::SkippedDestination, 0}}, {"nonshppict", {K::SkippedDestination, 0}},
    {"shp", {K::SkippedDestination, 0}}, {"template", {K::SkippedDestination, 0}},
    {"docvar", {K::SkippedDestination, 0}}, {"annotation", {K::SkippedDestination, 0}},
    {"atnid", {K::SkippedDestination, 0}}, {"atnauthor", {K::SkippedDestination, 0}},
    {"bkmkstart", {K::SkippedDestination, 0}}, {"bkmkend", {K::SkippedDestination, 0}},
    {"userprops", {K::SkippedDestination, 0}}, {"ftnsep", {K::SkippedDestination, 0}},
    {"ftnsepc", {K::SkippedDestination, 0}}, {"aftnsep", {K::SkippedDestination, 0}},
    {"aftnsepc", {K::SkippedDestination, 0}}, {"objdata", {K::SkippedDestination, 0}},
    {"pntxta", {K::SkippedDestination, 0}}, {"pntxtb", {K::SkippedDestination, 0}},
    // Text for readers without nested tables; the nested table itself is read, so its stand-in is not.
    {"nonesttables", {K::SkippedDestination, 0}},
    {"ansi", {K::Ansi, 0}}, {"mac", {K::Mac, 0}}, {"pc", {K::Pc, 0}}, {"pca", {K::Pca, 0}},
    {"ansicpg", {K::AnsiCodePage, 0}}, {"deff", {K::DefaultFont, 0}}, {"uc", {K::UnicodeSkip, 0}},
    {"u", {K::Unicode, 0}}, {"bin", {K::Binary, 0}}, {"fcharset", {K::FontCharset, 0}},
    {"cpg", {K::FontCodePage, 0}}, {"red", {K::Red, 0}}, {"green", {K::Green, 0}}, {"blue", {K::Blue, 0}},
    {"plain", {K::Plain, 0}}, {"b", {K::Bold, 0}}, {"i", {K::Italic, 0}},
    {"ul", {K::Underline, 0}}, {"uld", {K::Underline, 0}}, {"uldash", {K::Underline, 0}},
    {"uldashd", {K::Underline, 0}}, {"uldashdd", {K::Underline, 0}}, {"uldb", {K::Underline, 0}},
    {"ulhwave", {K::Underline, 0}}, {"ulldash", {K::Underline, 0}}, {"ulth", {K::Underline, 0}},
    {"ulthd", {K::Underline, 0}}, {"ulthdash", {K::Underline, 0}}, {"ulthdashd", {K::Underline, 0}},
    {"ulthdashdd", {K::Underline, 0}}, {"ulthldash", {K::Underline, 0}}, {"ululdbwave", {K::Underline, 0}},
    {"ulw", {K::Underline, 0}}, {"ulwave", {K::Underline, 0}}, {"ulnone", {K::UnderlineNone, 0}},
    {"strike", {K::Strike, 0}}, {"striked", {K::Strike, 0}}, {"v", {K::Hidden, 0}},
    {"cf", {K::ForeColor, 0}}, {"cb", {K::BackColor, 0}}, {"highlight", {K::BackColor, 0}},
    {"chcbpat", {K::BackColor, 0}}, {"f", {K::Font, 0}}, {"fs", {K::FontSize, 0}},
    {"ab", {K::AssocBold, 0}}, {"ai", {K::AssocItalic, 0}}, {"af", {K::AssocFont, 0}},
    {"afs", {K::AssocFontSize, 0}}, {"loch", {K::LowAnsi, 0}}, {"hich", {K::HighAnsi, 0}},
    {"dbch", {K::DoubleByte, 0}}, {"rtlch", {K::RightToLeft, 0}}, {"ltrch", {K::LeftToRight, 0}},
    {"pard", {K::ParagraphDefault, 0}}, {"ql", {K::AlignLeft, 0}}, {"qc", {K::AlignCenter, 0}},
    {"qr", {K::AlignRight, 0}}, {"qj", {K::AlignJustify, 0}}, {"qd", {K::AlignJustify, 0}},
    {"par", {K::Paragraph, 0}}, {"sect", {K::Paragraph, 0}}, {"page", {K::Paragraph, 0}},
    {"row", {K::Paragraph, 0}},
    {"line", {K::Character, 0x2028}}, {"tab", {K::Character, u'\t'}}, {"cell", {K::Character, u'\t'}},
    {"nestcell", {K::Character, u'\t'}}, {"emdash", {K::Character, 0x2014}},
    {"endash", {K::Character, 0x2013}}, {"bullet", {K::Character, 0x2022}},
    {"lquote", {K::Character, 0x2018}}, {"rquote", {K::Character, 0x2019}},
    {"ldblquote", {K::Character, 0x201C}}, {"rdblquote", {K::Character, 0x201D}},
    {"emspace", {K::Character, 0x2003}}, {"enspace", {K::Character, 0x2002}},
    {"qmspace", {K::Character, 0x2005}}, {"zwj", {K::Character, 0x200D}}, {"zwnj", {K::Character, 0x200C}},
    {"ltrmark", {K::Character, 0x200E}}, {"rtlmark", {K::Character, 0x200F}},
};
// clang-format on

} // namespace

// Control words come by the thousand in a note; a bucket per first letter with a few short words in each
// finds them faster than hashing every word.
const KeywordInfo* findKeyword(std::string_view word) {
    using Bucket = std::vector<const KeywordEntry*>;
    static const std::array<Bucket, 26> buckets = [] {
        std::array<Bucket, 26> table;
        for (const auto& entry : kKeywords)
            table[std::size_t(entry.word.front() - 'a')].push_back(&entry);
        return table;
    }();
    if (word.empty() || word.front() < 'a' || word.front() > 'z') return nullptr;
    for (const KeywordEntry* entry : buckets[std::size_t(word.front() - 'a')])
        if (entry->word == word) return &entry->info;
    return nullptr;
}

} // namespace quenda::rtf
