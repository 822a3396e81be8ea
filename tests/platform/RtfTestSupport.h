#pragma once
// Helpers of the RTF codec tests: reading fixture files, loading bytes, and describing the formatting of a
// piece of text so a test can compare it with what a document should hold.

#include "QtTestApplication.h"
#include "RtfCodec.h"

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <vector>

// Readable failure messages for byte strings (texts: QtTestApplication.h).
inline void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << '"' << bytes.toStdString() << '"';
}

namespace quenda::test {

inline QByteArray readFixture(const QString& relativePath) {
    QFile file(QStringLiteral(QUENDA_TEST_DATA_DIR "/") + relativePath);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << file.fileName().toStdString();
        return {};
    }
    return file.readAll();
}

inline QString load(const QByteArray& bytes, QTextDocument& document) {
    readRtf(bytes, document);
    return documentPlainText(document);
}

inline QString textOf(const QByteArray& bytes) {
    QTextDocument document;
    return load(bytes, document);
}

inline QByteArray resave(const QByteArray& bytes) {
    QTextDocument document;
    readRtf(bytes, document);
    return writeRtf(document);
}

// The formatting the codec carries, in a form that compares and prints.
struct Look {
    QString family;
    double points = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    std::optional<QRgb> foreground = std::nullopt;
    std::optional<QRgb> background = std::nullopt;
    bool operator==(const Look&) const = default;
};

inline Look lookOf(const QTextCharFormat& format) {
    Look look;
    const QStringList families = format.fontFamilies().toStringList();
    look.family = families.isEmpty() ? QString() : families.first();
    look.points = format.fontPointSize();
    look.bold = format.fontWeight() >= QFont::Bold;
    look.italic = format.fontItalic();
    look.underline = format.fontUnderline();
    look.strike = format.fontStrikeOut();
    if (format.foreground().style() != Qt::NoBrush) look.foreground = format.foreground().color().rgb();
    if (format.background().style() != Qt::NoBrush) look.background = format.background().color().rgb();
    return look;
}

inline std::ostream& operator<<(std::ostream& out, const Look& look) {
    out << "{" << look.family.toStdString() << " " << look.points << "pt" << (look.bold ? " bold" : "")
        << (look.italic ? " italic" : "") << (look.underline ? " underline" : "")
        << (look.strike ? " strike" : "");
    if (look.foreground) out << " fg#" << std::hex << (*look.foreground & 0xFFFFFF) << std::dec;
    if (look.background) out << " bg#" << std::hex << (*look.background & 0xFFFFFF) << std::dec;
    return out << "}";
}

// The look of every character of the first occurrence of `needle`; fails the test when the needle is
// missing or its characters differ in look.
inline Look lookOfText(const QTextDocument& document, const QString& needle) {
    const QTextCursor found = document.find(needle);
    if (found.isNull()) {
        ADD_FAILURE() << "text not found: " << needle.toStdString();
        return {};
    }
    QTextCursor probe(found.document());
    probe.setPosition(found.selectionStart() + 1);
    const Look first = lookOf(probe.charFormat());
    for (int position = found.selectionStart() + 2; position <= found.selectionEnd(); ++position) {
        probe.setPosition(position);
        EXPECT_EQ(lookOf(probe.charFormat()), first) << "mixed look inside " << needle.toStdString();
    }
    return first;
}

// A document as runs of one look, paragraph by paragraph, for whole-document comparisons.
struct Run {
    QString text;
    Look look;
    bool operator==(const Run&) const = default;
};
struct Paragraph {
    std::vector<Run> runs;
    Qt::Alignment alignment;
    bool operator==(const Paragraph&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Paragraph& paragraph) {
    out << "[align " << int(paragraph.alignment) << ":";
    for (const Run& run : paragraph.runs)
        out << " \"" << run.text.toStdString() << "\"" << run.look;
    return out << "]";
}

inline std::vector<Paragraph> paragraphsOf(const QTextDocument& document) {
    std::vector<Paragraph> paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        Paragraph paragraph;
        paragraph.alignment = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const Run run{it.fragment().text(), lookOf(it.fragment().charFormat())};
            if (!paragraph.runs.empty() && paragraph.runs.back().look == run.look)
                paragraph.runs.back().text += run.text;
            else
                paragraph.runs.push_back(run);
        }
        paragraphs.push_back(paragraph);
    }
    return paragraphs;
}

inline QByteArray rtf(const char* body) {
    return QByteArray("{\\rtf1\\ansi\\ansicpg936 ") + body + "}";
}

} // namespace quenda::test
