// Broken input of every kind loads what can be recovered, reports the damage, and never crashes, hangs or
// throws. The libFuzzer target covers the space at large; these are the classes named in the codec's
// contract, kept here so every test run checks them.
#include "RtfTestSupport.h"

#include <random>

using namespace quenda;
using namespace quenda::test;

namespace {

struct Broken {
    const char* name;
    QByteArray bytes;
    QString text; // what the reader recovers
    bool damaged;
};

// clang-format off
const Broken kBroken[] = {
    {"truncated in text", "{\\rtf1 abc", "abc", true},
    {"truncated in a pair", "{\\rtf1\\ansicpg936 ok\\'b4\\'d6\\'cc", "ok粗\uFFFD", true},
    {"truncated in a control word", "{\\rtf1 ok\\par\\pa", "ok", true},
    {"unbalanced closing braces", "{\\rtf1 a}}}b", "a", false},
    {"unbalanced opening braces", "{\\rtf1 {{{a", "a", true},
    {"lone backslash at the end", "{\\rtf1 abc\\", "abc", true},
    {"hex escape with one digit", "{\\rtf1 a\\'4zb}", "azb", false},
    {"hex escape without digits", "{\\rtf1 a\\'}", "a", false},
    {"hex escape at the end", "{\\rtf1 a\\'", "a", true},
    {"huge unicode value", "{\\rtf1 \\u99999999999?x}", "\uFFFDx", false},
    {"negative font size", "{\\rtf1 \\fs-5 x}", "x", false},
    {"huge font size", "{\\rtf1 \\fs99999999999 x}", "x", false},
    {"huge colour index", "{\\rtf1{\\colortbl;\\red1;}\\cf99999 x\\cf-3 y}", "xy", false},
    {"huge skip count", "{\\rtf1 {\\uc99999999999\\u20013 skipped}x}", "中x", false},
    {"negative skip count", "{\\rtf1 \\uc-4\\u20013 x}", "中x", false},
    {"huge binary length", "{\\rtf1 a\\bin99999999999 bcd}", "a", true},
    {"negative binary length", "{\\rtf1 a\\bin-5 b}", "ab", false},
    {"binary at the end", "{\\rtf1 a\\bin", "a", true},
    {"invalid ansi code pages", "{\\rtf1\\ansicpg0\\ansicpg-1\\ansicpg123456789 a\\'e9}", "aé", false},
    {"invalid font code pages", "{\\rtf1{\\fonttbl{\\f0\\fcharset999\\cpg7777 X;}}\\f0 ok}", "ok", false},
    {"font table without semicolons", "{\\rtf1{\\fonttbl{\\f0 A}{\\f1 B}}\\f1 ok}", "ok", false},
    {"ignorable mark at top level", "{\\rtf1 a\\*\\foo b}", "a", false},
    {"nothing after the header", "{\\rtf", "", true},
    {"NUL bytes and control characters", QByteArray("{\\rtf1 a\0b\x01\x1f" "c}", 14), "abc", false},
};
// clang-format on

void PrintTo(const Broken& broken, std::ostream* out) {
    *out << broken.name;
}

class BrokenDocument : public ::testing::TestWithParam<Broken> {};

TEST_P(BrokenDocument, LoadsWhatCanBeRecovered) {
    QTextDocument document;
    const RtfReadResult result = readRtf(GetParam().bytes, document);
    EXPECT_TRUE(result.wasRtf);
    EXPECT_EQ(result.damaged, GetParam().damaged);
    EXPECT_EQ(documentPlainText(document), GetParam().text);
    // Whatever was recovered saves into a valid note.
    const QByteArray saved = writeRtf(document);
    EXPECT_EQ(resave(saved), saved);
}

INSTANTIATE_TEST_SUITE_P(Rtf, BrokenDocument, ::testing::ValuesIn(kBroken), [](const auto& info) {
    std::string name = info.param.name;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
});

TEST(RtfRobustness, DeepNestingIsLimitedNotRecursive) {
    const int depth = 100000;
    const QByteArray deep = "{\\rtf1 " + QByteArray(depth, '{') + "deep" + QByteArray(depth, '}') + " after}";
    QTextDocument document;
    const RtfReadResult result = readRtf(deep, document);
    EXPECT_TRUE(result.damaged);
    EXPECT_EQ(documentPlainText(document), "deep after");
}

TEST(RtfRobustness, AbsurdControlWordsAreReadPast) {
    const QByteArray longWord =
        "{\\rtf1 a\\" + QByteArray(100000, 'x') + "12345 b\\b" + QByteArray(50000, '9') + " c}";
    QTextDocument document;
    EXPECT_EQ(load(longWord, document), "abc"); // the blank after each parameter is its delimiter
    EXPECT_TRUE(lookOfText(document, "c").bold);
}

// Every prefix of a real note loads without harm, reports the damage, and recovers text that the whole
// note begins with, up to the character the cut went through.
TEST(RtfRobustness, EveryPrefixOfARealNoteRecoversAPrefixOfItsText) {
    for (const char* name : {"rtf/04_win10_riched20_formats.rtf", "rtf/lo_c05_marks_date_symbols.rtf"}) {
        const QByteArray whole = readFixture(name);
        const QString wholeText = textOf(whole);
        const qsizetype closing = whole.lastIndexOf('}');
        for (qsizetype length = 5; length < closing; ++length) { // from "{\rtf" on
            QTextDocument document;
            const RtfReadResult result = readRtf(whole.first(length), document);
            QString text = documentPlainText(document);
            while (text.endsWith(u'\n'))
                text.chop(1);
            ASSERT_TRUE(result.damaged) << name << " cut at " << length;
            // A cut through an escape can change the last characters: \u100 of \u10003 is "d", and \u-
            // of \u-8704 is a word without number followed by the text "-".
            const bool prefix = wholeText.startsWith(text) || wholeText.startsWith(text.chopped(1)) ||
                                wholeText.startsWith(text.chopped(std::min<qsizetype>(2, text.size())));
            ASSERT_TRUE(prefix) << name << " cut at " << length << ": " << text.toStdString();
        }
    }
}

// A cheap relative of the fuzzer that runs with every test: random damage to real notes (one with runs in
// Wingdings, Webdings and Symbol) must load and reach the fixed point after one save.
TEST(RtfRobustness, RandomDamageReachesTheFixedPoint) {
    const QByteArray originals[] = {readFixture("rtf/lo_c02_bold_italic_underline.rtf"),
                                    readFixture("rtf/06_wingdings_webdings_symbol.rtf")};
    std::mt19937 random(20130102);
    const char alphabet[] = "{}\\'0123456789abcdefu-?;* \x81\xff";
    for (int round = 0; round < 600; ++round) {
        QByteArray bytes = originals[round % 2];
        for (int edit = 0; edit < 8; ++edit) {
            const auto at = qsizetype(random() % std::uint32_t(bytes.size()));
            const char c = alphabet[random() % (sizeof(alphabet) - 1)];
            if (random() % 2)
                bytes[at] = c;
            else
                bytes.remove(at, qsizetype(random() % 16));
        }
        const QByteArray saved = resave(bytes);
        ASSERT_EQ(resave(saved), saved) << "round " << round;
    }
}

} // namespace
