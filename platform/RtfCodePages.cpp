#include "RtfCodePages.h"
#include "RtfSymbolFonts.h"

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
    // Symbol-charset text without a font of its own (a document in \ansicpg42) reads as the Symbol font.
    if (codePage == kCodePageSymbol) return appendSymbolText(SymbolFont::Symbol, data, size, out);
    QStringDecoder& decoder = decoderFor(codePage);
    out.append(decoder.decode(QByteArrayView(data, size)));
}

} // namespace quenda::rtf
