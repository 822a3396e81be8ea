// libFuzzer target for one of the picture decoders, chosen by QUENDA_FUZZ_DECODER (DecodeJpeg, DecodeGif or
// DecodeBmp). Any bytes must give a picture within the limits in the form the composer mixes on, or a
// reason; never a crash, a hang, a leak or an allocation beyond the limits.
#include "PictureFile.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#ifndef QUENDA_FUZZ_DECODER
#error "QUENDA_FUZZ_DECODER names the decoder under test"
#endif

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Qt's image reader (behind DecodeBmp for the less common kinds) consults the plugin loader, which
    // expects an application object.
    static std::unique_ptr<QCoreApplication> app = std::make_unique<QCoreApplication>(*argc, *argv);
    // Qt's readers warn about every odd file; thousands of warnings a second would bury libFuzzer's output.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const quenda::PictureResult read = quenda::QUENDA_FUZZ_DECODER(bytes);
    const QImage& image = read.image;
    const bool fine = read.ok() ? !image.isNull() && image.format() == QImage::Format_RGB32 &&
                                      quenda::FitsPictureLimits(image.width(), image.height())
                                : image.isNull();
    if (!fine) {
        std::fprintf(stderr, "inconsistent result: error '%s', picture %d x %d in format %d\n",
                     qPrintable(read.error), image.width(), image.height(), int(image.format()));
        std::abort();
    }
    return 0;
}
