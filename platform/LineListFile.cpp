#include "LineListFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace quenda {

QStringList DecodeLineList(const QByteArray& bytes) {
    QStringDecoder decoder("GB18030");
    const QString text = decoder.isValid() ? decoder.decode(bytes) : QString::fromLocal8Bit(bytes);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.append(text.mid(start));
    return lines;
}

QByteArray EncodeLineList(const QStringList& lines) {
    QStringEncoder encoder("GB18030");
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += encoder.isValid() ? QByteArray(encoder.encode(line)) : line.toLocal8Bit();
        bytes += "\r\n";
    }
    return bytes;
}

std::optional<QStringList> ReadLineList(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    if (file.size() > kMaxLineListBytes) return std::nullopt;
    const QByteArray bytes = file.read(kMaxLineListBytes + 1);
    if (bytes.size() > kMaxLineListBytes || file.error() != QFileDevice::NoError) return std::nullopt;
    return DecodeLineList(bytes);
}

bool WriteLineList(const QString& path, const QStringList& lines) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QByteArray bytes = EncodeLineList(lines);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

std::optional<int> LineAsInt(const QStringList& lines, int index) {
    if (index < 0 || index >= lines.size()) return std::nullopt;
    bool ok = false;
    const int value = lines.at(index).trimmed().toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return value;
}

} // namespace quenda
