// JPEG through libjpeg. libjpeg reports a fatal error by calling our error_exit, which jumps back with
// longjmp; the jump never leaves this file: setjmp sits in the two run* functions, which hold no object
// with a destructor, and everything that owns memory lives in their callers.
#include "PictureCodecs.h"

#include <QSysInfo>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include <jpeglib.h>

#include <jerror.h> // after jpeglib.h, whose types its macros use

namespace quenda {

namespace {

struct ErrorManager {
    jpeg_error_mgr manager; // first, so libjpeg's pointer to it is a pointer to the whole
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool truncated;
};

[[noreturn]] void exitWithError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// Warnings are not printed. A file that ends early is decoded by libjpeg with grey rows in place of the
// missing data; we treat it as the broken file it is, and stop decoding as soon as libjpeg says so: a few
// hundred bytes that claim a picture within the limits would otherwise cost seconds of made-up rows.
void noteWarning(j_common_ptr info, int level) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) errors->truncated = true;
}

jpeg_error_mgr* installErrors(ErrorManager& errors) {
    jpeg_error_mgr* manager = jpeg_std_error(&errors.manager);
    manager->error_exit = exitWithError;
    manager->emit_message = noteWarning;
    errors.message[0] = '\0';
    errors.truncated = false;
    return manager;
}

struct DecompressDestroyer {
    void operator()(jpeg_decompress_struct* info) const { jpeg_destroy_decompress(info); }
};
struct CompressDestroyer {
    void operator()(jpeg_compress_struct* info) const { jpeg_destroy_compress(info); }
};
struct MallocFree {
    void operator()(unsigned char* bytes) const { std::free(bytes); }
};

// QImage's Format_RGB32 in memory: B, G, R, X on little-endian machines, X, R, G, B on big-endian ones.
constexpr J_COLOR_SPACE kRgb32Space =
    QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRX : JCS_EXT_XRGB;

// Adobe's CMYK JPEG files store the inks inverted; libjpeg hands them over as they are stored.
void cmykRowToRgb32(const JSAMPLE* cmyk, QRgb* out, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4) {
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        out[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
    }
}

enum class DecodeStep { Done, Failed, OverLimits, EndsEarly };

// Everything libjpeg may jump out of. `image` and `cmykRow` belong to the caller.
DecodeStep runDecode(jpeg_decompress_struct& info, ErrorManager& errors, const QByteArray& bytes,
                     QImage& image, std::vector<JSAMPLE>& cmykRow) {
    if (setjmp(errors.jump)) return DecodeStep::Failed;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size());
    jpeg_read_header(&info, TRUE);
    if (!FitsPictureLimits(info.image_width, info.image_height)) return DecodeStep::OverLimits;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : kRgb32Space;
    jpeg_start_decompress(&info); // reads a progressive file's whole data
    if (errors.truncated) return DecodeStep::EndsEarly;
    image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    if (image.isNull()) return DecodeStep::Failed;
    if (cmyk) cmykRow.resize(std::size_t(info.output_width) * 4);
    while (info.output_scanline < info.output_height) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(int(info.output_scanline)));
        JSAMPROW row = cmyk ? cmykRow.data() : reinterpret_cast<JSAMPROW>(line);
        if (jpeg_read_scanlines(&info, &row, 1) != 1) return DecodeStep::Failed;
        if (errors.truncated) return DecodeStep::EndsEarly;
        if (cmyk) cmykRowToRgb32(cmykRow.data(), line, info.output_width, info.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&info);
    return DecodeStep::Done;
}

bool runEncode(jpeg_compress_struct& info, ErrorManager& errors, const QImage& image, int quality,
               unsigned char** output, unsigned long* outputSize) {
    if (setjmp(errors.jump)) return false;
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, output, outputSize);
    info.image_width = JDIMENSION(image.width());
    info.image_height = JDIMENSION(image.height());
    info.input_components = 4;
    info.in_color_space = kRgb32Space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        // libjpeg takes non-const rows but only reads them.
        JSAMPROW row = const_cast<JSAMPROW>(image.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

} // namespace

PictureResult DecodeJpeg(const QByteArray& bytes) {
    ErrorManager errors;
    jpeg_decompress_struct info{};
    info.err = installErrors(errors);
    std::unique_ptr<jpeg_decompress_struct, DecompressDestroyer> owner(&info);
    QImage image;
    std::vector<JSAMPLE> cmykRow;
    const DecodeStep step = runDecode(info, errors, bytes, image, cmykRow);
    if (step == DecodeStep::OverLimits)
        return {QImage(), detail::OverLimits(info.image_width, info.image_height)};
    if (step == DecodeStep::EndsEarly || errors.truncated)
        return {QImage(), QStringLiteral("broken JPEG file: it ends early")};
    if (step == DecodeStep::Failed || image.isNull())
        return {QImage(), QStringLiteral("broken JPEG file: %1").arg(QString::fromLocal8Bit(errors.message))};
    return {image, QString()};
}

QByteArray EncodeJpeg(const QImage& image, int quality, QString* error) {
    if (image.isNull() || !FitsPictureLimits(image.width(), image.height())) {
        if (error) *error = QStringLiteral("no picture to encode");
        return {};
    }
    const QImage rgb32 = image.convertToFormat(QImage::Format_RGB32);
    ErrorManager errors;
    jpeg_compress_struct info{};
    info.err = installErrors(errors);
    std::unique_ptr<jpeg_compress_struct, CompressDestroyer> owner(&info);
    unsigned char* output = nullptr;
    unsigned long outputSize = 0;
    const bool ok = runEncode(info, errors, rgb32, quality, &output, &outputSize);
    owner.reset(); // the destination's buffer outlives the compressor; it is ours to free
    const std::unique_ptr<unsigned char, MallocFree> buffer(output);
    if (!ok || buffer == nullptr) {
        if (error)
            *error = QStringLiteral("cannot encode JPEG: %1").arg(QString::fromLocal8Bit(errors.message));
        return {};
    }
    return QByteArray(reinterpret_cast<const char*>(buffer.get()), qsizetype(outputSize));
}

} // namespace quenda
