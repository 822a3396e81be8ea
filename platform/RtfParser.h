#pragma once
// The RTF reader's parser: a scanner over the bytes, a stack of group states, the font and colour tables,
// and the control words that change what text is read and how it looks. Internal to the codec.

#include "RtfCodePages.h"
#include "RtfDocumentBuilder.h"
#include "RtfKeywords.h"
#include "RtfSymbolFonts.h"

#include <QByteArray>
#include <QString>

#include <climits>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

class QTextCursor;

namespace quenda::rtf {

// Limits that keep memory and time bounded on any input. Real notes nest groups a few levels deep and use
// a handful of fonts and colours.
constexpr int kMaxGroupDepth = 200;
constexpr qsizetype kMaxControlWordLength = 32; // the longest the format allows
constexpr qint64 kParameterLimit = qint64(INT_MAX) + 1;
constexpr std::size_t kMaxFonts = 1024;
constexpr std::size_t kMaxColours = 1024;
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
    int charset = 1;                       // DEFAULT_CHARSET: the document's code page
    int codePage = 0;                      // \cpg, 0 when not given
    SymbolFont symbol = SymbolFont::Other; // the glyph table its name selects, read when its code page is 42
};

class RtfParser {
public:
    RtfParser(const QByteArray& bytes, QTextCursor& cursor)
        : m_data(bytes.constData()), m_size(bytes.size()), m_builder(cursor, m_fontNames) {}

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
    bool setAnsiCodePage(int codePage);
    bool tableWord(Keyword keyword, int parameter);
    bool characterWord(Keyword keyword, bool hasParameter, int parameter);
    bool associatedWord(Keyword keyword, bool hasParameter, int parameter);
    bool paragraphWord(Keyword keyword, char16_t character);
    void skipBinary(int length);
    void appendUnicode(int value);

    void flushBytes();
    void emitText(QStringView text);
    int textCodePage();
    int fontCodePage(const FontEntry& font) const;
    SymbolFont textSymbolFont();
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
    int m_ansiCodePage = kCodePageAnsi;
    int m_defaultFont = 0;
    std::map<int, FontEntry> m_fonts;
    std::map<int, QString> m_fontNames;
    std::optional<int> m_fontEntry; // the font table entry whose name is being read
    QString m_fontName;
    std::vector<std::optional<QRgb>> m_colours;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colourGiven = false;
    CodePageDecoder m_decoder;
    DocumentBuilder m_builder;
    RunFormat m_runFormat;
    bool m_formatDirty = true;
};

} // namespace quenda::rtf
