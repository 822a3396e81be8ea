// The reader on hand-written documents: code pages, Unicode, destinations, special characters, paragraph
// structure, character formatting and the plain-text fallback.
#include "RtfTestSupport.h"

using namespace quenda;
using namespace quenda::test;

namespace {

// \'xx bytes are read in the code page of the current font's \fcharset, else the document's \ansicpg;
// double-byte characters come together across escapes and raw trail bytes.
TEST(RtfReaderCodePages, FontCharsetsSelectTheirCodePage) {
    const QByteArray fonts =
        "{\\fonttbl{\\f0\\fcharset134 A;}{\\f1\\fcharset136 B;}{\\f2\\fcharset128 C;}"
        "{\\f3\\fcharset129 D;}{\\f4\\fcharset0 E;}{\\f5\\fcharset2 Symbol;}{\\f6\\fcharset1 F;}}";
    const auto read = [&](const char* body) { return textOf(rtf((fonts + body).constData())); };
    EXPECT_EQ(read("\\f0 \\'d6\\'d0\\'ce\\'c4"), "中文");
    EXPECT_EQ(read("\\f1 \\'a4\\'a4\\'a4\\'e5"), "中文"); // Big5
    EXPECT_EQ(read("\\f2 \\'93\\'fa\\'96\\'7b"), "日本"); // Shift-JIS
    EXPECT_EQ(read("\\f3 \\'c7\\'d1\\'b1\\'b9"), "한국"); // Korean
    EXPECT_EQ(read("\\f4 caf\\'e9 \\'80"), "café €");     // Windows-1252
    EXPECT_EQ(read("\\f5 \\'d6 \\'b4 \\'61"), "√ × α");   // Symbol
    EXPECT_EQ(read("\\f6 \\'d6\\'d0"), "中");             // DEFAULT_CHARSET: \ansicpg936
    EXPECT_EQ(read("\\f5 \\u61654?"), "√");               // Symbol's private-use copy
}

TEST(RtfReaderCodePages, GbkPairsAcrossEscapesRawBytesAndFourByteSequences) {
    EXPECT_EQ(textOf(rtf("\\'81@")), "丂"); // trail byte 0x40 written as '@'
    EXPECT_EQ(textOf(rtf("\\'a1\\'cc \\'a1\\'c1")), "√ ×");
    EXPECT_EQ(textOf(rtf("\\'80")), "€");                          // code page 936's euro
    EXPECT_EQ(textOf(rtf("\\'81\\'30\\'81\\'30x")), "\u0080x");    // GB18030 four bytes
    EXPECT_EQ(textOf(rtf("\\'b4\\b\\'f3 ok")), "\uFFFD\uFFFD ok"); // a pair split by a word is lost
}

TEST(RtfReaderCodePages, AnsiCodePageAppliesWithoutAFontTable) {
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg950 \\'a4\\'a4}"), "中");
    EXPECT_EQ(textOf("{\\rtf1\\ansi caf\\'e9}"), "café");
    EXPECT_EQ(textOf("{\\rtf1\\mac \\'8e}"), "é");
}

TEST(RtfReaderUnicode, SignedUnsignedAndSurrogatePairs) {
    EXPECT_EQ(textOf(rtf("\\u20013?\\u25991?")), "中文");
    EXPECT_EQ(textOf(rtf("\\u-26083?")), QString(QChar(0x9A1D))); // signed 16-bit
    EXPECT_EQ(textOf(rtf("\\u39453?")), QString(QChar(0x9A1D)));  // LibreOffice's unsigned form
    EXPECT_EQ(textOf(rtf("\\u-10179?\\u-8704?")), "😀");
    EXPECT_EQ(textOf(rtf("\\uc0 \\u55357\\uc1 \\u56832\\'3f")),
              "😀");                                   // LibreOffice switches \uc between halves
    EXPECT_EQ(textOf(rtf("\\u-10179?x")), "\uFFFDx"); // an unpaired half
    EXPECT_EQ(textOf(rtf("\\u10003? done")), "✓ done");
}

TEST(RtfReaderUnicode, SkipCountsFollowUcAndGroups) {
    EXPECT_EQ(textOf(rtf("\\uc2\\u20013??x")), "中x");
    EXPECT_EQ(textOf(rtf("\\uc2\\u20013\\'d6\\'d0x")), "中x"); // \'xx counts as one character
    EXPECT_EQ(textOf(rtf("\\uc0\\u20013 x")), "中x");
    EXPECT_EQ(textOf(rtf("{\\uc3\\u20013}abc")), "中abc");      // a group end stops skipping
    EXPECT_EQ(textOf(rtf("{\\uc0\\u20013}\\u25991?")), "中文"); // \uc is restored with the group
}

TEST(RtfReaderDestinations, IgnorableAndKnownDestinationsAreSkipped) {
    EXPECT_EQ(textOf(rtf("a{\\*\\unknown x{y}}b")), "ab");
    EXPECT_EQ(textOf(rtf("{\\info{\\title T}{\\author A}}{\\stylesheet{\\s0 Normal;}}a")), "a");
    EXPECT_EQ(textOf(rtf("{\\header H}{\\footer F}{\\pict\\pngblip 89504e47}a")), "a");
    EXPECT_EQ(textOf(rtf("{\\pict\\bin4 }}}}}a")), "a"); // binary braces do not count
    EXPECT_EQ(textOf(rtf("{\\object{\\objdata 01}{\\result{\\pict 00}}}a")), "a");
    EXPECT_EQ(textOf(rtf("{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}} end")), "link end");
    EXPECT_EQ(textOf(rtf("{\\field{\\fldinst PAGE}{\\fldrslt 1}}")), "1");
    // A nested table is read; the stand-in text for readers without nested tables is not.
    EXPECT_EQ(textOf(rtf(
                  "a\\nestcell{\\*\\nesttableprops\\trowd\\cellx900\\nestrow}{\\nonesttables\\par a\\par}b")),
              "a\tb");
}

TEST(RtfReaderText, SpecialCharactersAndEscapes) {
    EXPECT_EQ(textOf(rtf("\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote")), "—–•‘’“”");
    EXPECT_EQ(textOf(rtf("a\\~b\\_c\\-d")), "a\u00A0b\u2011c\u00ADd");
    EXPECT_EQ(textOf(rtf("\\{x\\}\\\\")), "{x}\\");
    EXPECT_EQ(textOf(rtf("a\\tab b\\line c")), "a\tb\nc");
    EXPECT_EQ(textOf(rtf("a\r\nb c")), "ab c"); // CR LF in the source is no text
    EXPECT_EQ(textOf(rtf("a\\\r\nb")), "a\nb"); // backslash-newline is \par
    EXPECT_EQ(textOf(rtf("a{\\v hidden}b")), "ab");
}

TEST(RtfReaderParagraphs, TheFinalParagraphMarkOpensNoParagraph) {
    QTextDocument document;
    EXPECT_EQ(load(rtf("a\\par"), document), "a");
    EXPECT_EQ(document.blockCount(), 1);
    EXPECT_EQ(load(rtf("a\\par\\par"), document), "a\n");
    EXPECT_EQ(load(rtf("a\\par b"), document), "a\nb");
    EXPECT_EQ(load(rtf("\\par"), document), "");
    EXPECT_EQ(document.blockCount(), 1);
    EXPECT_EQ(load(rtf("a\\par\\pard\\plain\\f0\\fs20 "), document), "a");
    EXPECT_EQ(load(rtf(""), document), "");
}

TEST(RtfReaderParagraphs, AlignmentBelongsToEachParagraph) {
    QTextDocument document;
    load(rtf("\\qc c\\par\\qr r\\par\\pard l\\par\\qj j\\par\\pard\\ql x"), document);
    ASSERT_EQ(document.blockCount(), 5);
    const Qt::Alignment expected[] = {Qt::AlignHCenter, Qt::AlignRight, Qt::AlignLeft, Qt::AlignJustify,
                                      Qt::AlignLeft};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(document.findBlockByNumber(i).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                  expected[i])
            << "paragraph " << i;
}

TEST(RtfReaderFormatting, CharacterPropertiesFollowGroupsAndSwitches) {
    QTextDocument document;
    load(rtf("{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset134 \\'ba\\'da\\'cc\\'e5;}}"
             "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}"
             "{\\b B}{\\i I}{\\ul U}\\ulnone{\\strike S}\\strike0 {\\cf1 R}{\\highlight2 G}{\\cb2 H}"
             "{\\f1\\fs32 F}\\b on\\b0 off{\\ul1 u\\ul0 n}{\\cf1 x\\cf0 y}{\\b\\i\\plain p}"),
         document);
    EXPECT_EQ(lookOfText(document, "B"), (Look{"Arial", 12, true}));
    EXPECT_EQ(lookOfText(document, "I"), (Look{"Arial", 12, false, true}));
    EXPECT_EQ(lookOfText(document, "U"), (Look{"Arial", 12, false, false, true}));
    EXPECT_EQ(lookOfText(document, "S"), (Look{"Arial", 12, false, false, false, true}));
    EXPECT_EQ(lookOfText(document, "R").foreground, 0xFFFF0000);
    EXPECT_EQ(lookOfText(document, "G").background, 0xFF008000);
    EXPECT_EQ(lookOfText(document, "H").background, 0xFF008000);
    EXPECT_EQ(lookOfText(document, "F"), (Look{"黑体", 16}));
    EXPECT_TRUE(lookOfText(document, "on").bold);
    EXPECT_EQ(lookOfText(document, "off"), (Look{"Arial", 12}));
    EXPECT_FALSE(lookOfText(document, "n").underline);
    EXPECT_EQ(lookOfText(document, "y").foreground, std::nullopt); // \cf0: the automatic colour
    EXPECT_EQ(lookOfText(document, "p"), (Look{"Arial", 12}));
}

TEST(RtfReaderFormatting, AssociatedPropertiesApplyToDoubleByteRuns) {
    QTextDocument document;
    load(rtf("{\\fonttbl{\\f0 Latin;}{\\f1 East;}{\\f2 Complex;}}"
             "{\\rtlch\\af2\\ab \\ltrch\\dbch\\af1\\afs40 \\u20013?}{\\loch\\af1\\ab l}{\\dbch\\ai\\i0 "
             "\\u26012?}"),
         document);
    EXPECT_EQ(lookOfText(document, "中"), (Look{"East", 20})); // \rtlch's \af2 \ab are not East Asian
    EXPECT_EQ(lookOfText(document, "l"), (Look{"Latin", 12})); // a \loch run ignores \af and \ab
    EXPECT_TRUE(lookOfText(document, "斜").italic);
}

TEST(RtfReaderPlainText, FallsBackToUtf8ThenGb18030) {
    QTextDocument document;
    RtfReadResult result = readRtf(QByteArray(), document);
    EXPECT_FALSE(result.wasRtf);
    EXPECT_TRUE(document.isEmpty());
    EXPECT_EQ(load("第一行\r\n第二行", document), "第一行\n第二行");
    EXPECT_EQ(load("\xEF\xBB\xBFutf8 文", document), "utf8 文"); // a BOM is no text
    EXPECT_EQ(load(readFixture("rtf/05_plain_text_note.gbk.txt"), document),
              "这是一条纯文本记事\n第二行 line 2");
    EXPECT_EQ(load("\xd5\xe2 {\\rtf1 x}", document), "这 {\\rtf1 x}"); // GBK, RTF only at the start
    result = readRtf("  \r\n{\\rtf1 lead}", document);
    EXPECT_TRUE(result.wasRtf);
    EXPECT_EQ(documentPlainText(document), "lead");
    result = readRtf("\xEF\xBB\xBF{\\rtf1 bom}", document);
    EXPECT_TRUE(result.wasRtf);
    EXPECT_EQ(documentPlainText(document), "bom");
}

TEST(RtfReaderDocument, LoadingReplacesContentAndLeavesNoUndoStep) {
    QTextDocument document;
    document.setPlainText("old text");
    readRtf(rtf("new"), document);
    EXPECT_EQ(document.toPlainText(), "new");
    EXPECT_FALSE(document.isUndoAvailable());
    EXPECT_TRUE(document.isUndoRedoEnabled());
}

} // namespace
