#include "RtfDocumentBuilder.h"
#include "RtfSymbolFonts.h"

#include <QColor>
#include <QFont>
#include <QTextBlockFormat>
#include <QTextDocument>

namespace quenda::rtf {

namespace {

// Characters a QTextDocument block must not hold as text: separators would split the block behind the
// reader's back, control characters and the object marker have no meaning in a note. Unpaired surrogates
// become U+FFFD so that every later encoder sees valid UTF-16.
void sanitize(QString& text) {
    const qsizetype size = text.size();
    QChar* chars = text.data();
    qsizetype kept = 0;
    for (qsizetype i = 0; i < size; ++i) {
        char16_t c = chars[i].unicode();
        if (c == u'\n' || c == u'\r' || c == 0x2029) {
            c = 0x2028; // a line break keeps the text where it was
        } else if ((c < 0x20 && c != u'\t') || c == 0xFFFC) {
            continue;
        } else if (QChar::isHighSurrogate(c)) {
            if (i + 1 < size && chars[i + 1].isLowSurrogate()) {
                chars[kept++] = QChar(c);
                c = chars[++i].unicode();
            } else {
                c = 0xFFFD;
            }
        } else if (QChar::isLowSurrogate(c)) {
            c = 0xFFFD;
        }
        chars[kept++] = QChar(c);
    }
    text.truncate(kept);
}

} // namespace

DocumentBuilder::DocumentBuilder(QTextCursor& cursor, const std::map<int, QString>& fontNames)
    : m_fontNames(fontNames), m_cursor(cursor) {}

const QTextCharFormat& DocumentBuilder::charFormat(const RunFormat& format) {
    constexpr std::size_t kCachedFormats = 64;
    for (const auto& [known, built] : m_formats)
        if (known == format) return built;
    if (m_formats.size() >= kCachedFormats) m_formats.clear();
    QTextCharFormat& result = m_formats.emplace_back(format, QTextCharFormat()).second;
    if (const auto font = m_fontNames.find(format.font); font != m_fontNames.end() && !font->second.isEmpty())
        result.setFontFamilies({font->second});
    result.setFontPointSize(format.halfPoints / 2.0);
    if (format.bold) result.setFontWeight(QFont::Bold);
    if (format.italic) result.setFontItalic(true);
    if (format.underline) result.setFontUnderline(true);
    if (format.strike) result.setFontStrikeOut(true);
    if (format.foreground) result.setForeground(QColor::fromRgb(*format.foreground));
    if (format.background) result.setBackground(QColor::fromRgb(*format.background));
    if (format.symbolCharset) result.setProperty(kSymbolCharsetProperty, true);
    return result;
}

void DocumentBuilder::openPendingBlock() {
    if (!m_blockPending) return;
    // A fresh block format: insertBlock() would otherwise copy the previous paragraph's alignment.
    m_cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    m_blockPending = false;
}

void DocumentBuilder::flushRun() {
    if (m_runText.isEmpty()) return;
    sanitize(m_runText);
    if (!m_runText.isEmpty()) m_cursor.insertText(m_runText, charFormat(m_runFormat));
    m_runText.clear();
}

void DocumentBuilder::appendText(QStringView text, const RunFormat& format) {
    if (text.isEmpty()) return;
    if (!(format == m_runFormat)) {
        flushRun();
        m_runFormat = format;
    }
    openPendingBlock();
    m_runText.append(text);
}

void DocumentBuilder::endParagraph(Alignment alignment, const RunFormat& mark) {
    openPendingBlock();
    flushRun();
    if (alignment != Alignment::Left) {
        QTextBlockFormat block;
        // clang-format off
        block.setAlignment(alignment == Alignment::Center ? Qt::AlignHCenter
                           : alignment == Alignment::Right ? Qt::AlignRight : Qt::AlignJustify);
        // clang-format on
        m_cursor.setBlockFormat(block);
    }
    m_cursor.setBlockCharFormat(charFormat(mark));
    m_blockPending = true;
}

void DocumentBuilder::finish(Alignment alignment, const RunFormat& mark) {
    if (m_blockPending) {
        flushRun();
        return;
    }
    endParagraph(alignment, mark);
    m_blockPending = false;
}

} // namespace quenda::rtf
