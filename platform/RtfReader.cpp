#include "RtfCodec.h"
#include "RtfParser.h"

#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace quenda {

namespace {

// Plain text: UTF-8 when the bytes are valid UTF-8, otherwise GB18030, which reads every GBK note.
void loadPlainText(const QByteArray& bytes, QTextCursor& cursor) {
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError()) {
        QStringDecoder gb18030("GB18030");
        text = gb18030.isValid() ? gb18030(bytes) : QString::fromLatin1(bytes);
    }
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    cursor.insertText(text);
}

} // namespace

bool isRtf(const QByteArray& bytes) {
    // Some tools put a UTF-8 byte order mark before the document.
    qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (start < bytes.size() &&
           (bytes[start] == ' ' || bytes[start] == '\t' || bytes[start] == '\r' || bytes[start] == '\n'))
        ++start;
    return QByteArrayView(bytes).sliced(start).startsWith("{\\rtf");
}

RtfReadResult readRtf(const QByteArray& bytes, QTextDocument& document) {
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    RtfReadResult result;
    result.wasRtf = isRtf(bytes);
    {
        QTextCursor cursor(&document);
        cursor.beginEditBlock(); // one change notification for the whole load
        if (result.wasRtf) {
            rtf::RtfParser parser(bytes, cursor);
            result.damaged = !parser.parse();
        } else if (!bytes.isEmpty()) {
            loadPlainText(bytes, cursor);
        }
        cursor.endEditBlock();
    }
    document.setUndoRedoEnabled(undo);
    return result;
}

QString documentPlainText(const QTextDocument& document) {
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin()) text.append(u'\n');
        text.append(block.text());
    }
    text.replace(QChar(0x2028), u'\n');
    return text;
}

} // namespace quenda
