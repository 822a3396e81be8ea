// Symbol fonts: the bytes of Wingdings, Webdings and other \fcharset2 fonts read as the characters Unicode
// has for their glyphs, only the Symbol font reads through Symbol's table, and the writer puts every such
// character back as its original byte in its own font.
#include "RtfSymbolFonts.h"
#include "RtfTestSupport.h"

using namespace quenda;
using quenda::rtf::SymbolFont; // quenda::rtf is the namespace here, test::rtf() the document helper
using quenda::test::load;
using quenda::test::lookOfText;
using quenda::test::resave;

namespace {

struct Glyph {
    SymbolFont font;
    unsigned char byte;
    char32_t character;
};

// clang-format off
// Unicode's mapping data for Wingdings and Webdings (J, K, L are the three faces), the private-use reading
// where Unicode has no character (Wingdings' Windows logo, the empty ends of Wingdings 2 and 3, 0x7F, every
// byte of a font without a table), and Symbol's own table.
const Glyph kGlyphs[] = {
    {SymbolFont::Wingdings, 0x4A, 0x263A},   {SymbolFont::Wingdings, 0x4B, 0x1F610}, {SymbolFont::Wingdings, 0x4C, 0x2639},
    {SymbolFont::Wingdings, 0x21, 0x1F589},  {SymbolFont::Wingdings, 0xFC, 0x2713},  {SymbolFont::Wingdings, 0xFF, 0xF0FF},
    {SymbolFont::Wingdings, 0x7F, 0xF07F},   {SymbolFont::Wingdings2, 0x50, 0x1F5F8}, {SymbolFont::Wingdings2, 0xF9, 0x2042},
    {SymbolFont::Wingdings2, 0xFA, 0xF0FA},  {SymbolFont::Wingdings3, 0x70, 0x25B2},  {SymbolFont::Wingdings3, 0xF0, 0x1F897},
    {SymbolFont::Wingdings3, 0xF1, 0xF0F1},  {SymbolFont::Webdings, 0x21, 0x1F577},  {SymbolFont::Webdings, 0x61, 0x2714},
    {SymbolFont::Webdings, 0xFF, 0x1F54A},   {SymbolFont::Webdings, 0x20, 0x0020},   {SymbolFont::Other, 0x61, 0xF061},
    {SymbolFont::Symbol, 0x61, 0x03B1},      {SymbolFont::Symbol, 0xD6, 0x221A},     {SymbolFont::Symbol, 0xF0, 0xFFFD},
};
// clang-format on

constexpr SymbolFont kTabled[] = {SymbolFont::Symbol,     SymbolFont::Wingdings, SymbolFont::Wingdings2,
                                  SymbolFont::Wingdings3, SymbolFont::Webdings,  SymbolFont::Other};

TEST(RtfSymbolFonts, BytesReadAsTheCharacterOfTheirGlyph) {
    for (const Glyph& glyph : kGlyphs)
        EXPECT_EQ(rtf::symbolCharacter(glyph.font, glyph.byte), glyph.character)
            << "font " << int(glyph.font) << " byte " << int(glyph.byte);
    EXPECT_EQ(rtf::symbolFontNamed(u"Wingdings"), SymbolFont::Wingdings);
    EXPECT_EQ(rtf::symbolFontNamed(u"WINGDINGS 2"), SymbolFont::Wingdings2);
    EXPECT_EQ(rtf::symbolFontNamed(u"wingdings 3"), SymbolFont::Wingdings3);
    EXPECT_EQ(rtf::symbolFontNamed(u"Webdings"), SymbolFont::Webdings);
    EXPECT_EQ(rtf::symbolFontNamed(u"Symbol"), SymbolFont::Symbol);
    EXPECT_EQ(rtf::symbolFontNamed(u"Marlett"), SymbolFont::Other);
}

// What makes the original bytes survive: each character a font reads goes back to a byte that reads as the
// same character (for the four pictograph fonts and the private-use reading, the very same byte).
TEST(RtfSymbolFonts, EveryCharacterGoesBackToItsByte) {
    for (const SymbolFont font : kTabled) {
        for (int byte = 0x20; byte <= 0xFF; ++byte) {
            const char32_t character = rtf::symbolCharacter(font, static_cast<unsigned char>(byte));
            const int back = rtf::symbolByte(font, character);
            if (font != SymbolFont::Symbol) {
                EXPECT_EQ(back, byte) << "font " << int(font);
            } else if (character == 0xFFFD) {
                EXPECT_EQ(back, -1) << "byte " << byte;
            } else {
                ASSERT_GE(back, 0x20) << "byte " << byte;
                EXPECT_EQ(rtf::symbolCharacter(font, static_cast<unsigned char>(back)), character);
            }
        }
    }
    EXPECT_EQ(rtf::symbolByte(SymbolFont::Wingdings, U'J'), -1);
    EXPECT_EQ(rtf::symbolByte(SymbolFont::None, U'a'), -1);
}

TEST(RtfReaderSymbolFonts, EachFontReadsThroughItsOwnGlyphsAndKeepsItsName) {
    const QByteArray fonts =
        "{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}{\\f1\\fnil\\fcharset2 Wingdings;}"
        "{\\f2\\fnil\\fcharset2 Wingdings 2;}{\\f3\\fnil\\fcharset2 Wingdings 3;}"
        "{\\f4\\fnil\\fcharset2 Webdings;}{\\f5\\froman\\fcharset2 Symbol;}"
        "{\\f6\\fnil\\fcharset2 Marlett;}{\\f7\\fswiss\\fcharset0 Wingdings;}}";
    struct Case {
        const char* body;
        const char16_t* text;
        const char* family;
    };
    const Case cases[] = {
        {"\\f1 JKL", u"☺😐☹", "Wingdings"},
        {"\\f1\\u-4022\\'4a", u"☺", "Wingdings"}, // Word's form: the private-use copy, the byte as fallback
        {"\\f1\\'ff\\'7f", u"\uF0FF\uF07F", "Wingdings"},
        {"\\f2 P", u"🗸", "Wingdings 2"},
        {"\\f3 p", u"▲", "Wingdings 3"},
        {"\\f4 a!", u"✔🕷", "Webdings"},
        {"\\f5 a\\'b4", u"α×", "Symbol"},
        {"\\f6 a\\u61538?", u"\uF061\uF062", "Marlett"},
        {"\\f7 J", u"J", "Wingdings"}, // not a symbol charset: the code page's letter
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        QTextDocument document;
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(load(test::rtf((fonts + c.body).constData()), document), text);
        EXPECT_EQ(lookOfText(document, text).family, c.family);
    }
}

QByteArray hexByte(int byte) {
    return "\\'" + QByteArray::number(byte, 16).rightJustified(2, '0');
}

// Every byte from 0x21 to 0xFF of each font comes back from a load and save as the same byte in the same
// font, in the Windows control's spelling: printable ASCII as itself, the rest as \'xx.
TEST(RtfWriterSymbolFonts, EveryByteSurvivesLoadAndSave) {
    QByteArray bytes, written;
    for (int byte = 0x21; byte <= 0xFF; ++byte) {
        bytes += hexByte(byte);
        if (byte == '\\' || byte == '{' || byte == '}')
            written += QByteArray("\\") + char(byte);
        else
            written += byte < 0x7F ? QByteArray(1, char(byte)) : hexByte(byte);
    }
    for (const QByteArray face : {"Wingdings", "Wingdings 2", "Wingdings 3", "Webdings", "Marlett"}) {
        SCOPED_TRACE(face.toStdString());
        const QByteArray saved =
            resave(test::rtf("{\\fonttbl{\\f0\\fnil\\fcharset2 " + face + ";}}\\f0 " + bytes));
        EXPECT_TRUE(saved.contains("{\\f1\\fnil\\fcharset2 " + face + ";}}")) << saved.toStdString();
        EXPECT_TRUE(saved.contains("\\f1\\fs24 " + written + "\\par")) << saved.toStdString();
        EXPECT_EQ(resave(saved), saved);
    }
}

// Text a symbol font has no glyph for (a letter or an emoji typed into a Wingdings run) goes into an ordinary
// entry of the same face; spaces and tabs stay with the text around them.
TEST(RtfWriterSymbolFonts, TextWithoutAGlyphGoesToAnOrdinaryEntryOfTheFace) {
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat wingdings, symbol;
    wingdings.setFontFamilies({"Wingdings"});
    symbol.setFontFamilies({"Symbol"});
    cursor.insertText(QString::fromUtf8("☺ ab\t☹ 😀"), wingdings);
    cursor.insertText(QString::fromUtf8("α≠1"), symbol);
    const QByteArray written = writeRtf(document);
    EXPECT_TRUE(written.contains("{\\f1\\fnil\\fcharset2 Wingdings;}{\\f2\\fnil\\fcharset134 Wingdings;}"
                                 "{\\f3\\fnil\\fcharset2 Symbol;}}"))
        << written.toStdString();
    EXPECT_TRUE(
        written.contains("\\f1\\fs22 J \\f2 ab\\tab\\f1 L \\f2 \\u-10179?\\u-8704?\\f3 a\\'b91\\f0\\par"))
        << written.toStdString();
    QTextDocument reread;
    EXPECT_EQ(load(written, reread), documentPlainText(document));
    EXPECT_EQ(lookOfText(reread, QString::fromUtf8("☺ ab\t☹ 😀")).family, "Wingdings");
    EXPECT_EQ(lookOfText(reread, QString::fromUtf8("α≠1")).family, "Symbol");
    EXPECT_EQ(writeRtf(reread), written);
}

} // namespace
