// libFuzzer target for the note reader. Any input must load without a crash, hang or leak, and the first
// save of whatever it loaded must be a fixed point of load-save.
#include "RtfCodec.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // Most mutations of an RTF seed stay RTF; the rest are turned into RTF so the parser sees them too.
    if (!quenda::isRtf(bytes)) bytes.prepend("{\\rtf1 ");
    QTextDocument document;
    quenda::readRtf(bytes, document);
    const QByteArray saved = quenda::writeRtf(document);
    QTextDocument reloaded;
    const quenda::RtfReadResult again = quenda::readRtf(saved, reloaded);
    const QByteArray savedAgain = quenda::writeRtf(reloaded);
    if (!again.wasRtf || again.damaged || saved != savedAgain) {
        std::fprintf(stderr, "load-save is not a fixed point:\n%s\n---\n%s\n", saved.constData(),
                     savedAgain.constData());
        std::abort();
    }
    return 0;
}
