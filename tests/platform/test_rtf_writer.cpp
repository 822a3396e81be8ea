// The writer: the Windows rich-text control's layout, the empty note, escaping, and a round trip of
// everything the note editor can put into a document.
#include "RtfTestSupport.h"

#include <QRegularExpression>

using namespace quenda;
using namespace quenda::test;

namespace {

QTextCharFormat formatOf(const Look& look) {
    QTextCharFormat format;
    if (!look.family.isEmpty()) format.setFontFamilies({look.family});
    if (look.points > 0) format.setFontPointSize(look.points);
    if (look.bold) format.setFontWeight(QFont::Bold);
    format.setFontItalic(look.italic);
    format.setFontUnderline(look.underline);
    format.setFontStrikeOut(look.strike);
    if (look.foreground) format.setForeground(QColor::fromRgb(*look.foreground));
    if (look.background) format.setBackground(QColor::fromRgb(*look.background));
    return format;
}

void newParagraph(QTextCursor& cursor, Qt::Alignment alignment = Qt::AlignLeft) {
    QTextBlockFormat block;
    block.setAlignment(alignment);
    cursor.insertBlock(block, QTextCharFormat());
}

TEST(RtfWriter, EmptyDocumentWritesTheEmptyEditor) {
    EXPECT_EQ(writeRtf(QTextDocument()), readFixture("rtf/01_empty_note.rtf"));
}

// The layout the Windows control writes: header, font table with GBK names, colour table, \viewkind4\uc1,
// a blank between control words and text, \par and CR LF after every paragraph, "}" and CR LF at the end.
TEST(RtfWriter, WritesTheWindowsControlLayout) {
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText("普通");
    cursor.insertText("粗", formatOf({"宋体", 11, true}));
    cursor.insertText("红", formatOf({"宋体", 11, false, false, false, false, 0xFFFF0000}));
    cursor.insertText("€😀한a{b}\\c\tx\u2028y", QTextCharFormat());
    newParagraph(cursor, Qt::AlignHCenter);
    cursor.insertText("Arial", formatOf({"Arial", 16}));
    const QByteArray expected =
        "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl"
        "{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}{\\f1\\fnil\\fcharset134 Arial;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
        "\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs22 \\'c6\\'d5\\'cd\\'a8\\b \\'b4\\'d6\\cf1\\b0 \\'ba\\'ec"
        "\\cf0 \\u8364?\\u-10179?\\u-8704?\\u-10916?a\\{b\\}\\\\c\\tab x\\line y\\par\r\n"
        "\\pard\\qc\\f1\\fs32 Arial\\f0\\fs22\\par\r\n"
        "}\r\n";
    EXPECT_EQ(writeRtf(document), expected);
}

TEST(RtfWriter, EscapesGbkAsLowercasePairsAndTheRestAsSignedUnicode) {
    QTextDocument document;
    document.setPlainText(QString::fromUtf8("√×丂") + QChar(0xE000) + QChar(0x00A0) + "𠀀" + "9");
    const QByteArray written = writeRtf(document);
    EXPECT_TRUE(written.contains("\\'a1\\'cc\\'a1\\'c1\\'81\\'40")) << written.toStdString();
    EXPECT_TRUE(written.contains("\\u-8192?\\u160?\\u-10176?\\u-9216?9")) << written.toStdString();
    EXPECT_FALSE(QRegularExpression("\\\\'[0-9a-f]?[A-F]").match(QString::fromLatin1(written)).hasMatch());
}

TEST(RtfWriter, EveryParagraphEndsWithParIncludingAnEmptyLastOne) {
    QTextDocument document;
    document.setPlainText("a\n\nb\n");
    const QByteArray written = writeRtf(document);
    EXPECT_EQ(written.count("\\par\r\n"), 4);
    EXPECT_TRUE(written.endsWith("b\\par\r\n\\par\r\n}\r\n")) << written.toStdString();
    EXPECT_EQ(textOf(written), "a\n\nb\n");
}

// Everything the note editor can produce survives writer -> reader unchanged, and the bytes are a fixed
// point from the first save on.
TEST(RtfWriter, RoundTripKeepsEverythingTheEditorProduces) {
    const QString scripts = QString::fromUtf8(
        "中文简体 繁體字 日本語かなカナ 한국어 Русский Ελληνικά café naïve ß ñ عربى עברית ไทย हिन्दी √× 😀🎉 "
        "𠀀𪚥 ①②③ ＡＢＣ ￥€£ ™©® ½ … — “quotes” 「括号」【】 ?{x}\\ 9");
    const QStringList words = scripts.split(' ');
    const Look looks[] = {
        {"宋体", 11},
        {"黑体", 16, true},
        {"Arial", 9, false, true},
        {"微软雅黑", 10.5, false, false, true},
        {"Noto Sans CJK SC", 72, true, true, true, true, 0xFF4F4F4F, 0xFFFFFF00},
        {"Times New Roman", 12, false, false, false, true, 0xFF0000FF},
        {"Odd{Name}\\", 14, false, false, false, false, std::nullopt, 0xFFC0DCC0},
    };
    const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignJustify};
    QTextDocument document;
    QTextCursor cursor(&document);
    for (int paragraph = 0; paragraph < 8; ++paragraph) {
        if (paragraph > 0) newParagraph(cursor, alignments[paragraph % 4]);
        if (paragraph == 5) continue; // an empty paragraph in the middle
        for (int run = 0; run < 7; ++run)
            cursor.insertText(words[(paragraph + run) % words.size()] + ' ', formatOf(looks[run]));
        cursor.insertText("\t1\u20282 " + scripts, formatOf(looks[paragraph % 7]));
    }
    newParagraph(cursor); // and an empty last paragraph
    const QByteArray written = writeRtf(document);
    QTextDocument reread;
    const RtfReadResult result = readRtf(written, reread);
    EXPECT_TRUE(result.wasRtf);
    EXPECT_FALSE(result.damaged);
    EXPECT_EQ(documentPlainText(reread), documentPlainText(document));
    EXPECT_EQ(paragraphsOf(reread), paragraphsOf(document));
    EXPECT_EQ(writeRtf(reread), written);
}

// Face names the font table cannot hold (semicolons, control characters, object marks, endless length) are
// cleaned on the first save, so that save is already the fixed point.
TEST(RtfWriter, OddFaceNamesAreCleanedOnTheFirstSave) {
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText("a", formatOf({" Semi;colon\tFace\uFFFC ", 11}));
    cursor.insertText("b", formatOf({QString(300, u'长'), 11}));
    const QByteArray saved = writeRtf(document);
    EXPECT_EQ(resave(saved), saved);
    QTextDocument reread;
    readRtf(saved, reread);
    EXPECT_EQ(lookOfText(reread, "a").family, "SemicolonFace");
    EXPECT_EQ(lookOfText(reread, "b").family, QString(256, u'长'));
}

// An empty paragraph keeps the look the editor will type in, through the format of its paragraph mark.
TEST(RtfWriter, EmptyParagraphKeepsItsTypingFormat) {
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText("x");
    cursor.insertBlock(QTextBlockFormat(), formatOf({"黑体", 16, true, false, false, false, 0xFFFF0000}));
    QTextDocument reread;
    readRtf(writeRtf(document), reread);
    ASSERT_EQ(reread.blockCount(), 2);
    EXPECT_EQ(lookOf(reread.lastBlock().charFormat()),
              (Look{"黑体", 16, true, false, false, false, 0xFFFF0000}));
}

// Pasted rich text can bring lists, tables and images: their text is kept, the object markers are not.
TEST(RtfWriter, PastedStructuresKeepTheirText) {
    QTextDocument document;
    document.setHtml("<ul><li>one</li></ul><table><tr><td>a</td><td>b</td></tr></table>"
                     "<p><img src='missing.png'>text</p>");
    const QByteArray written = writeRtf(document);
    EXPECT_FALSE(written.contains("\\u-4?")) << "U+FFFC written";
    const QString text = textOf(written);
    for (const char* part : {"one", "a", "b", "text"})
        EXPECT_TRUE(text.contains(part)) << part;
    EXPECT_FALSE(text.contains(QChar(0xFFFC)));
}

} // namespace
