#include "NoteResource.h"

#include "Clock.h"
#include "NoteJournal.h"
#include "RtfCodec.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QRegularExpression>
#include <QTextDocument>

namespace quenda {

namespace {

QString Normalized(QString text) {
    static const QRegularExpression kTrailingBlanks(QStringLiteral("[ \\t\\x{3000}]+(?=\\n|$)"));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n')).replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.remove(kTrailingBlanks);
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

} // namespace

bool SameText(const QString& first, const QString& second) {
    return Normalized(first) == Normalized(second);
}

QString TextFingerprint(const QString& text) {
    return QString::fromLatin1(
        QCryptographicHash::hash(Normalized(text).toUtf8(), QCryptographicHash::Sha256).toHex().left(32));
}

QString MergeSeparator(TDateTime now) {
    return QStringLiteral("—— 本机的版本 %1 ——")
        .arg(FromDateTimeValue(now).toString(QStringLiteral("yyyy-MM-dd HH:mm")));
}

QByteArray MergeNotes(const QByteArray& server, const QByteArray& ours, TDateTime now) {
    QTextDocument merged, local;
    readRtf(server, merged);
    readRtf(ours, local);
    AppendDocument(merged, local, MergeSeparator(now));
    return writeRtf(merged);
}

} // namespace quenda
