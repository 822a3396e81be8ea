#include "RtfCodePages.h"

#include <algorithm>
#include <array>
#include <memory>

namespace quenda::rtf {

namespace {

struct CharsetCodePage {
    int charset;
    int codePage;
};

// clang-format off
// Windows' character sets (wingdi.h) and the code pages TranslateCharsetInfo gives for them.
constexpr CharsetCodePage kCharsets[] = {
    {0, 1252},   {2, kCodePageSymbol}, {77, 10000}, {128, 932},  {129, 949},  {130, 1361},
    {134, 936},  {136, 950},  {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256},
    {186, 1257}, {204, 1251}, {222, 874},  {238, 1250}, {254, 437},  {255, 850},
};

// The Symbol font's encoding from 0x20 to 0xFF (Adobe's table; the Windows font adds the euro at 0xA0).
// The font's extender pieces, which Adobe puts in the private use area, map to their Unicode shapes.
constexpr char16_t kSymbolTable[224] = {
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B, 0x0028, 0x0029, 0x2217, 0x002B, 0x002C, 0x2212, 0x002E, 0x002F,
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,
    0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F,
    0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396, 0x005B, 0x2234, 0x005D, 0x22A5, 0x005F,
    0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, 0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF,
    0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6, 0x007B, 0x007C, 0x007D, 0x223C, 0xFFFD,
    0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD,
    0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD,
    0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663, 0x2666, 0x2665, 0x2660, 0x2194, 0x2190, 0x2191, 0x2192, 0x2193,
    0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022, 0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x23D0, 0x23AF, 0x21B5,
    0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229, 0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209,
    0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5, 0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3,
    0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C, 0x239D, 0x23A1, 0x23A2, 0x23A3, 0x23A7, 0x23A8, 0x23A9, 0x23AA,
    0xFFFD, 0x232A, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F, 0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB, 0x23AC, 0x23AD, 0xFFFD,
};

struct CodePageNames {
    int codePage;
    const char* names[2];
};

// Converter names Qt's ICU backend knows, preferred first; a code page missing here is read as its
// Windows name "windows-N", and one that Qt cannot open falls back to Windows-1252.
constexpr CodePageNames kCodePageNames[] = {
    {936, {"GB18030", "GBK"}},       {54936, {"GB18030", nullptr}}, {20936, {"GB18030", nullptr}},
    {950, {"Big5", "windows-950"}},  {932, {"Shift_JIS", "windows-932"}},
    {949, {"windows-949", "EUC-KR"}}, {1361, {"Johab", "windows-1361"}},
    {437, {"IBM437", nullptr}},      {850, {"IBM850", nullptr}},  {10000, {"macintosh", nullptr}},
    {65001, {"UTF-8", nullptr}},
};
// clang-format on

constexpr int kGbkLeadFirst = 0x81;
constexpr int kGbkTrailFirst = 0x40;
constexpr int kGbkTrailCount = 0xFF - kGbkTrailFirst; // 0x40..0xFE

bool isGbkTrail(unsigned char byte) {
    return byte >= kGbkTrailFirst && byte <= 0xFE && byte != 0x7F;
}

// Every two-byte GBK code in order: lead 0x81..0xFE, trail 0x40..0xFE without 0x7F.
QByteArray allGbkPairs() {
    QByteArray pairs;
    pairs.reserve(126 * 190 * 2);
    for (int lead = kGbkLeadFirst; lead <= 0xFE; ++lead) {
        for (int trail = kGbkTrailFirst; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) continue;
            pairs.append(char(lead));
            pairs.append(char(trail));
        }
    }
    return pairs;
}

// Decodes all pairs at once; each pair gives exactly one BMP character in both converters, which is
// checked, so position i of the result belongs to pair i.
QString decodePairs(const char* converter, const QByteArray& pairs) {
    QStringDecoder decoder(converter, QStringDecoder::Flag::Stateless);
    if (!decoder.isValid()) return {};
    QString text = decoder(pairs);
    return text.size() == pairs.size() / 2 ? text : QString();
}

struct GbkTables {
    std::array<char16_t, 126 * kGbkTrailCount> decode{}; // GB18030 reading of each pair, 0 = none
    std::array<std::uint16_t, 0x10000> encode{};         // pair of each character, 0 = none
};

std::unique_ptr<GbkTables> buildGbkTables() {
    auto tables = std::make_unique<GbkTables>();
    const QByteArray pairs = allGbkPairs();
    const QString gb18030 = decodePairs("GB18030", pairs);
    const QString windows = decodePairs("windows-936", pairs);
    for (qsizetype i = 0; i < gb18030.size(); ++i) {
        const auto lead = static_cast<unsigned char>(pairs[2 * i]);
        const auto trail = static_cast<unsigned char>(pairs[2 * i + 1]);
        const char16_t read = gb18030[i].unicode();
        tables->decode[(lead - kGbkLeadFirst) * kGbkTrailCount + (trail - kGbkTrailFirst)] = read;
        const bool agreed = !windows.isEmpty() && windows[i].unicode() == read;
        const bool privateUse = read >= 0xE000 && read <= 0xF8FF;
        if (agreed && !privateUse && read != 0xFFFD && tables->encode[read] == 0)
            tables->encode[read] = static_cast<std::uint16_t>(lead << 8 | trail);
    }
    return tables;
}

const GbkTables& gbkTables() {
    static const std::unique_ptr<GbkTables> tables = buildGbkTables();
    return *tables;
}

} // namespace

QString cleanFontName(QString name) {
    name.removeIf([](QChar c) {
        const char16_t u = c.unicode();
        return u < 0x20 || c.isSurrogate() || u == 0x2028 || u == 0x2029 || u == 0xFFFC || u == u';';
    });
    name.truncate(kMaxFontNameLength);
    return name.trimmed();
}

int codePageForCharset(int charset, int ansiCodePage) {
    for (const auto& entry : kCharsets)
        if (entry.charset == charset) return entry.codePage;
    return ansiCodePage;
}

char16_t symbolToUnicode(unsigned char byte) {
    return byte < 0x20 ? char16_t(byte) : kSymbolTable[byte - 0x20];
}

std::uint16_t gbkCodeOf(char16_t character) {
    return gbkTables().encode[character];
}

QStringDecoder& CodePageDecoder::decoderFor(int codePage) {
    for (auto& entry : m_decoders)
        if (entry.codePage == codePage) return entry.decoder;
    QStringDecoder decoder;
    for (const auto& known : kCodePageNames) {
        if (known.codePage != codePage) continue;
        for (const char* name : known.names)
            if (name && !decoder.isValid()) decoder = QStringDecoder(name, QStringDecoder::Flag::Stateless);
    }
    if (!decoder.isValid())
        decoder = QStringDecoder(QByteArray("windows-" + QByteArray::number(codePage)).constData(),
                                 QStringDecoder::Flag::Stateless);
    if (!decoder.isValid()) decoder = QStringDecoder("windows-1252", QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringConverter::Latin1, QStringDecoder::Flag::Stateless);
    m_decoders.push_back({codePage, std::move(decoder)});
    return m_decoders.back().decoder;
}

// The GBK reading of the Windows control: ASCII, 0x80 as the euro sign, two-byte pairs from the table.
// GB18030's four-byte sequences (a digit as second byte) are rare enough to leave to ICU.
void CodePageDecoder::decodeGbkAppend(const char* data, qsizetype size, QString& out) {
    const auto& table = gbkTables().decode;
    const qsizetype start = out.size();
    for (qsizetype i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        if (byte < 0x80) {
            out.append(QChar(byte));
        } else if (byte == 0x80) {
            out.append(QChar(0x20AC));
        } else if (byte < 0xFF && i + 1 < size && isGbkTrail(static_cast<unsigned char>(data[i + 1]))) {
            const auto trail = static_cast<unsigned char>(data[++i]);
            const char16_t read = table[(byte - kGbkLeadFirst) * kGbkTrailCount + (trail - kGbkTrailFirst)];
            out.append(QChar(read ? read : char16_t(0xFFFD)));
        } else if (byte < 0xFF && i + 1 < size && data[i + 1] >= '0' && data[i + 1] <= '9') {
            out.truncate(start);
            out.append(decoderFor(54936).decode(QByteArrayView(data, size)));
            return;
        } else {
            out.append(QChar(0xFFFD));
        }
    }
}

void CodePageDecoder::decodeAppend(int codePage, const char* data, qsizetype size, QString& out) {
    if (size <= 0) return;
    if (codePage == kCodePageGbk) return decodeGbkAppend(data, size, out);
    // Every code page a note can name reads ASCII as ASCII; most runs are ASCII, and opening a converter
    // for them would cost more than the whole run.
    if (codePage != kCodePageSymbol &&
        std::all_of(data, data + size, [](char c) { return (c & 0x80) == 0; })) {
        out.append(QLatin1StringView(data, size));
        return;
    }
    if (codePage == kCodePageSymbol) {
        for (qsizetype i = 0; i < size; ++i)
            out.append(QChar(symbolToUnicode(static_cast<unsigned char>(data[i]))));
        return;
    }
    QStringDecoder& decoder = decoderFor(codePage);
    out.append(decoder.decode(QByteArrayView(data, size)));
}

} // namespace quenda::rtf
