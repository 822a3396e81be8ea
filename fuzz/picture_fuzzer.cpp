// libFuzzer target for one of the picture decoders, chosen by QUENDA_FUZZ_DECODER (DecodeJpeg, DecodeGif or
// DecodeBmp) with the reader of the size its header claims, QUENDA_FUZZ_CLAIMED_SIZE. Any bytes must give a
// picture within the limits in the form the composer mixes on, or a reason; never a crash, a hang, a leak
// or an allocation beyond the limits.
#include "PictureFile.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#if !defined(QUENDA_FUZZ_DECODER) || !defined(QUENDA_FUZZ_CLAIMED_SIZE)
#error "QUENDA_FUZZ_DECODER and QUENDA_FUZZ_CLAIMED_SIZE name the decoder under test and its size reader"
#endif

namespace {

// A few hundred bytes may claim a picture within the limits (100 million pixels) whose damaged data the
// decoders fill in: a valid result, tested with the limits themselves, but one that takes the fuzzer a
// second each and would soon fill its corpus. Inputs that claim more than this are skipped.
constexpr qint64 kLargestFuzzedPixels = 1 << 20;

qint64 bigEndian16(const QByteArray& bytes, qsizetype at) {
    return qint64(uchar(bytes[at])) << 8 | uchar(bytes[at + 1]);
}

qint64 littleEndian(const QByteArray& bytes, qsizetype at, int count) {
    qint64 value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | uchar(bytes[at + i]);
    return value;
}

// The pixels a header claims, read the simple way (0 when it cannot be told); only a filter for the fuzzer.
[[maybe_unused]] qint64 claimedJpegSize(const QByteArray& bytes) {
    for (qsizetype at = 2; at + 9 <= bytes.size();) {
        const uchar marker = uchar(bytes[at + 1]);
        if (uchar(bytes[at]) != 0xFF || marker == 0xFF) { // like libjpeg, skip stray and fill bytes
            ++at;
            continue;
        }
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return bigEndian16(bytes, at + 5) * bigEndian16(bytes, at + 7);
        const bool standalone = marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);
        at += standalone ? 2 : 2 + bigEndian16(bytes, at + 2);
    }
    return 0;
}

// The logical screen, or when that is empty the extent of the first frame (the bytes after the first image
// separator past the global colour table).
[[maybe_unused]] qint64 claimedGifSize(const QByteArray& bytes) {
    if (bytes.size() < 13) return 0;
    const qint64 screen = littleEndian(bytes, 6, 2) * littleEndian(bytes, 8, 2);
    if (screen > 0) return screen;
    const qsizetype colours = uchar(bytes[10]) & 0x80 ? 3 << ((uchar(bytes[10]) & 7) + 1) : 0;
    const qsizetype frame = bytes.indexOf(',', 13 + colours);
    if (frame < 0 || frame + 9 > bytes.size()) return 0;
    return (littleEndian(bytes, frame + 1, 2) + littleEndian(bytes, frame + 5, 2)) *
           (littleEndian(bytes, frame + 3, 2) + littleEndian(bytes, frame + 7, 2));
}

[[maybe_unused]] qint64 claimedBmpSize(const QByteArray& bytes) {
    if (bytes.size() < 26) return 0;
    if (littleEndian(bytes, 14, 4) == 12) return littleEndian(bytes, 18, 2) * littleEndian(bytes, 20, 2);
    const qint64 width = qint32(littleEndian(bytes, 18, 4)), height = qint32(littleEndian(bytes, 22, 4));
    return std::abs(width) * std::abs(height);
}

} // namespace

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
    if (QUENDA_FUZZ_CLAIMED_SIZE(bytes) > kLargestFuzzedPixels) return -1; // not kept in the corpus
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
