// rtf-convert FILE        prints the plain text the note reader makes of FILE (UTF-8, paragraphs joined by
//                         a newline, no trailing newline)
// rtf-convert --rtf FILE  prints the RTF the note writer writes for that document
#include "RtfCodec.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>

namespace {

int usage() {
    std::fputs("usage: rtf-convert [--rtf] FILE\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    const bool rtfOut = argc == 3 && QByteArray(argv[1]) == "--rtf";
    if (argc != 2 && !rtfOut) return usage();
    QFile file(QString::fromLocal8Bit(argv[argc - 1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "rtf-convert: cannot read %s\n", argv[argc - 1]);
        return 1;
    }
    QTextDocument document;
    const quenda::RtfReadResult read = quenda::readRtf(file.readAll(), document);
    if (read.damaged) std::fputs("rtf-convert: the RTF is damaged; showing what could be read\n", stderr);
    const QByteArray out = rtfOut ? quenda::writeRtf(document) : quenda::documentPlainText(document).toUtf8();
    std::fwrite(out.constData(), 1, std::size_t(out.size()), stdout);
    return 0;
}
