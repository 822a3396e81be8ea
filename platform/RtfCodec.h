#pragma once
// The note editor's rich-text codec. Every day note is stored as the bytes of an RTF document in the style
// of the Windows rich-text control; Qt reads and writes no RTF, so the editor's QTextDocument goes through
// this reader and writer on every load and save.

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace quenda {

// What the reader made of a stored note.
struct RtfReadResult {
    // True when the bytes were an RTF document; false when they were loaded as plain text (or were empty).
    bool wasRtf = false;
    // True when the RTF was broken (ended early, unbalanced braces, a limit was hit): the document then
    // holds as much text as could be recovered.
    bool damaged = false;
};

// Text without an explicit font or size is written in the editor's face at 11 points, as the Windows
// control on a Chinese system does (\f0 is 宋体, \fs22).
inline constexpr char16_t kRtfDefaultFontFamily[] = u"宋体";
inline constexpr int kRtfDefaultHalfPoints = 22;

// True when the bytes start (after blanks) with "{\rtf": the editor's test for an RTF document.
bool isRtf(const QByteArray& bytes);

// Replaces the content of `document` with the note in `bytes`. RTF is read with its character formatting
// and paragraph alignment; other bytes load as plain text, UTF-8 when they are valid UTF-8, otherwise
// GB18030 (old notes are GBK); empty bytes give an empty document. Never throws, on any input.
RtfReadResult readRtf(const QByteArray& bytes, QTextDocument& document);

// The document as RTF bytes in the Windows rich-text control's style: \ansicpg936, a font table with
// \fcharset134, GBK bytes as \'xx, \uN? for the rest, \par and CR LF after every paragraph.
QByteArray writeRtf(const QTextDocument& document);

// The document's text with paragraphs and line breaks joined by "\n", nothing appended.
QString documentPlainText(const QTextDocument& document);

} // namespace quenda
