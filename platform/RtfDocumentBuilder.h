#pragma once
// The reader's output side: collects text runs of one format and paragraphs into a QTextDocument.

#include <QRgb>
#include <QString>
#include <QTextCursor>

#include <map>
#include <optional>
#include <utility>
#include <vector>

class QTextDocument;

namespace quenda::rtf {

enum class Alignment : quint8 { Left, Center, Right, Justify };

// The resolved character format of a run of text as the reader sees it.
struct RunFormat {
    int font = -1;       // font table id, -1 when the document names no known font
    int halfPoints = 24; // \fs: size in half points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    std::optional<QRgb> foreground; // none: automatic colour
    std::optional<QRgb> background; // none: no highlight
    bool symbolCharset = false; // the font has \fcharset2: its text was read through a symbol font's glyphs
    bool operator==(const RunFormat&) const = default;
};

class DocumentBuilder {
public:
    // `fontNames` maps font table ids to face names; it is read when runs are written, so the reader may
    // fill it after constructing the builder.
    // Text goes in at `cursor`, which stays the document's only cursor: every insertion updates them all.
    DocumentBuilder(QTextCursor& cursor, const std::map<int, QString>& fontNames);

    void appendText(QStringView text, const RunFormat& format);
    // Ends the current paragraph: its alignment, and the format of its paragraph mark, which the editor
    // uses for text typed into the paragraph when it is empty.
    void endParagraph(Alignment alignment, const RunFormat& mark);
    // Ends the document. A paragraph still open (text after the last \par) is kept; the paragraph mark
    // that ends the document opens no extra empty paragraph.
    void finish(Alignment alignment, const RunFormat& mark);

private:
    void openPendingBlock();
    void flushRun();
    const QTextCharFormat& charFormat(const RunFormat& format);

    const std::map<int, QString>& m_fontNames;
    QTextCursor& m_cursor;
    QString m_runText;
    RunFormat m_runFormat;
    bool m_blockPending = false;
    // A note switches between a few formats again and again; building a QTextCharFormat costs more than
    // finding it here.
    std::vector<std::pair<RunFormat, QTextCharFormat>> m_formats;
};

} // namespace quenda::rtf
