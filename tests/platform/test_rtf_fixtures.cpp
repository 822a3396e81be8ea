// The reference notes: documents written by the Windows rich-text control on a Chinese system and by
// LibreOffice load to exactly their expected text, keep their formatting, and survive being saved.
#include "RtfTestSupport.h"

#include <QDir>

using namespace quenda;
using namespace quenda::test;

namespace {

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kGrey = 0xFF4F4F4F; // RGB(79, 79, 79), the note tools' date colour
constexpr QRgb kYellow = 0xFFFFFF00;

struct Fixture {
    const char* document;
    const char* expected;
};

// clang-format off
const Fixture kFixtures[] = {
    {"rtf/01_empty_note.rtf", "rtf/01_empty_note.expected.txt"},
    {"rtf/02_plain_chinese_msftedit41.rtf", "rtf/02_plain_chinese_msftedit41.expected.txt"},
    {"rtf/03_colour_tick_cross_date.rtf", "rtf/03_colour_tick_cross_date.expected.txt"},
    {"rtf/04_win10_riched20_formats.rtf", "rtf/04_win10_riched20_formats.expected.txt"},
    {"rtf/05_plain_text_note.gbk.txt", "rtf/05_plain_text_note.expected.txt"},
    {"rtf/06_wingdings_webdings_symbol.rtf", "rtf/06_wingdings_webdings_symbol.expected.txt"},
    {"rtf/07_word_nested_table.rtf", "rtf/07_word_nested_table.expected.txt"},
    {"rtf/lo_c01_plain_paragraphs.rtf", "rtf/lo_c01_plain_paragraphs.txt"},
    {"rtf/lo_c02_bold_italic_underline.rtf", "rtf/lo_c02_bold_italic_underline.txt"},
    {"rtf/lo_c03_colours.rtf", "rtf/lo_c03_colours.txt"},
    {"rtf/lo_c04_sizes_fonts.rtf", "rtf/lo_c04_sizes_fonts.txt"},
    {"rtf/lo_c05_marks_date_symbols.rtf", "rtf/lo_c05_marks_date_symbols.txt"},
    {"rtf/lo_c06_plain_text.rtf", "rtf/lo_c06_plain_text.txt"},
};
// clang-format on

void PrintTo(const Fixture& fixture, std::ostream* out) {
    *out << fixture.document;
}

class ReferenceNote : public ::testing::TestWithParam<Fixture> {};

TEST_P(ReferenceNote, LoadsToExactlyItsExpectedText) {
    QTextDocument document;
    const QByteArray bytes = readFixture(GetParam().document);
    const RtfReadResult result = readRtf(bytes, document);
    EXPECT_EQ(result.wasRtf, QByteArray(GetParam().document).endsWith(".rtf"));
    EXPECT_FALSE(result.damaged);
    EXPECT_EQ(documentPlainText(document), QString::fromUtf8(readFixture(GetParam().expected)));
}

// After one save, load-save is a fixed point byte for byte, and the save keeps the text: a note never grows
// a blank line or loses a character by being opened and saved again.
TEST_P(ReferenceNote, OneSaveMakesLoadSaveAFixedPoint) {
    const QByteArray original = readFixture(GetParam().document);
    const QByteArray saved = resave(original);
    EXPECT_EQ(resave(saved), saved);
    EXPECT_EQ(textOf(saved), textOf(original));
    EXPECT_TRUE(saved.endsWith("\\par\r\n}\r\n"));
}

// Named after the document's file: "lo_c03_colours_rtf".
INSTANTIATE_TEST_SUITE_P(Rtf, ReferenceNote, ::testing::ValuesIn(kFixtures), [](const auto& info) {
    std::string name = QByteArray(info.param.document).mid(4).toStdString();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
});

TEST(ReferenceNoteLook, WindowsControlColoursAndMarks) {
    QTextDocument document;
    readRtf(readFixture("rtf/03_colour_tick_cross_date.rtf"), document);
    EXPECT_EQ(document.blockCount(), 3);
    const Look plain = lookOfText(document, "√ 交电费 ");
    EXPECT_EQ(plain, (Look{"宋体", 11}));
    EXPECT_EQ(lookOfText(document, "(已完成)").foreground, kRed);
    EXPECT_EQ(lookOfText(document, " 2013.01.02 (三)").foreground, kGrey);
    EXPECT_EQ(lookOfText(document, "a{b}c\\d 100%"), plain);
}

TEST(ReferenceNoteLook, WindowsControlCharacterFormats) {
    QTextDocument document;
    readRtf(readFixture("rtf/04_win10_riched20_formats.rtf"), document);
    const Look plain{"宋体", 11};
    EXPECT_EQ(lookOfText(document, "普通，"), plain);
    EXPECT_EQ(lookOfText(document, "粗体"), (Look{"宋体", 11, true}));
    EXPECT_EQ(lookOfText(document, "斜体"), (Look{"宋体", 11, false, true}));
    EXPECT_EQ(lookOfText(document, "下划线"), (Look{"宋体", 11, false, false, true}));
    EXPECT_EQ(lookOfText(document, "蓝色").foreground, kBlue);
    EXPECT_EQ(lookOfText(document, "大字"), (Look{"宋体", 16}));
    EXPECT_EQ(lookOfText(document, "Arial text ✓ done 😀"), (Look{"Arial", 11}));
}

// Wingdings, Webdings and Symbol side by side: each run keeps its face, reads as the characters of its
// glyphs, and is saved in its own symbol font with the bytes it came in.
TEST(ReferenceNoteLook, SymbolFontsKeepTheirFacesAndBytes) {
    QTextDocument document;
    readRtf(readFixture("rtf/06_wingdings_webdings_symbol.rtf"), document);
    EXPECT_EQ(lookOfText(document, "☺😐☹"), (Look{"Wingdings", 11}));
    EXPECT_EQ(lookOfText(document, "🌣🌧"), (Look{"Webdings", 11}));
    EXPECT_EQ(lookOfText(document, "α×β"), (Look{"Symbol", 11}));
    EXPECT_EQ(lookOfText(document, "✓"), (Look{"Wingdings", 11, false, false, false, false, kRed}));
    const QByteArray saved = writeRtf(document);
    for (const char* part : {"{\\f1\\fnil\\fcharset2 Wingdings;}{\\f2\\fnil\\fcharset2 Webdings;}"
                             "{\\f3\\fnil\\fcharset2 Symbol;}}",
                             "\\f1 JKL\\f0", "\\f2 \\'d5\\'db\\f0", "\\f3 a\\'b4b\\f0",
                             "\\cf1\\f1 \\'fc\\cf0", "\\f2 a\\f1 \\'ff\\f0"})
        EXPECT_TRUE(saved.contains(part)) << part << "\n" << saved.toStdString();
}

// LibreOffice formats Chinese runs through \dbch with associated \ab and \afs, Latin runs directly.
TEST(ReferenceNoteLook, LibreOfficeBoldItalicUnderline) {
    QTextDocument document;
    readRtf(readFixture("rtf/lo_c02_bold_italic_underline.rtf"), document);
    EXPECT_EQ(lookOfText(document, "普通文字").bold, false);
    const Look bold = lookOfText(document, "粗体文字");
    EXPECT_TRUE(bold.bold && !bold.italic && !bold.underline);
    const Look italic = lookOfText(document, "斜体文字");
    EXPECT_TRUE(italic.italic && !italic.bold);
    EXPECT_TRUE(lookOfText(document, "下划线文字").underline);
    const Look both = lookOfText(document, "粗斜体");
    EXPECT_TRUE(both.bold && both.italic);
    EXPECT_TRUE(lookOfText(document, "bold English").bold);
    EXPECT_FALSE(lookOfText(document, "混排").underline);
    EXPECT_TRUE(lookOfText(document, "underlined 中文").underline);
}

TEST(ReferenceNoteLook, LibreOfficeColoursAndHighlight) {
    QTextDocument document;
    readRtf(readFixture("rtf/lo_c03_colours.rtf"), document);
    EXPECT_EQ(lookOfText(document, "红色").foreground, kRed);
    EXPECT_EQ(lookOfText(document, "蓝色").foreground, kBlue);
    EXPECT_EQ(lookOfText(document, "深灰色").foreground, kGrey);
    EXPECT_EQ(lookOfText(document, "默认黑色").foreground, std::nullopt);
    EXPECT_EQ(lookOfText(document, "背景高亮").background, kYellow);
    EXPECT_EQ(lookOfText(document, "highlight").background, std::nullopt);
}

TEST(ReferenceNoteLook, LibreOfficeSizesAndFonts) {
    QTextDocument document;
    readRtf(readFixture("rtf/lo_c04_sizes_fonts.rtf"), document);
    EXPECT_EQ(lookOfText(document, "九号字").points, 9);
    EXPECT_EQ(lookOfText(document, "十一号字").points, 11);
    EXPECT_EQ(lookOfText(document, "十六号字").points, 16);
    EXPECT_EQ(lookOfText(document, "二十四号字").points, 24);
    // The Chinese face names are Shift-JIS bytes in a \fcharset128 font table.
    EXPECT_EQ(lookOfText(document, "宋体文字").family, "宋体");
    EXPECT_EQ(lookOfText(document, "黑体文字").family, "黑体");
    EXPECT_EQ(lookOfText(document, "Arial text").family, "Arial");
}

TEST(ReferenceNoteLook, LibreOfficeMarksAndPreformattedFonts) {
    QTextDocument marks;
    readRtf(readFixture("rtf/lo_c05_marks_date_symbols.rtf"), marks);
    EXPECT_EQ(lookOfText(marks, "(已完成)").foreground, kRed);
    EXPECT_EQ(lookOfText(marks, "2013.01.02 (三)").foreground, kGrey);
    QTextDocument plain;
    readRtf(readFixture("rtf/lo_c06_plain_text.rtf"), plain);
    EXPECT_EQ(lookOfText(plain, "这是一条纯文本记事"), (Look{"Noto Sans Mono CJK SC", 10}));
    EXPECT_EQ(lookOfText(plain, "line 2"), (Look{"Liberation Mono", 10}));
}

// Inputs the fuzzer once broke: each must load, and its first save must be a fixed point.
TEST(RegressionInputs, LoadAndReachTheFixedPoint) {
    const QDir folder(QStringLiteral(QUENDA_TEST_DATA_DIR "/rtf/regressions"));
    for (const QString& name : folder.entryList(QDir::Files | QDir::NoDotAndDotDot)) {
        SCOPED_TRACE(name.toStdString());
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray saved = resave(file.readAll());
        EXPECT_EQ(resave(saved), saved);
    }
}

} // namespace
