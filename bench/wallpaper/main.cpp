// One wallpaper installation up to the backend call (content picture, two blends, the BMP writes and
// reads, the JPEG encode and decode) on a 1366 x 768 background with a 350 x 300 month picture and a long
// note, beside one plain libjpeg encode plus decode of the same picture in memory, measured in the same
// run. Target: the installation takes under 2.5 times the peer.
#include "AppLook.h"
#include "PictureFile.h"
#include "WallpaperInstall.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

struct Setup {
    QTemporaryDir folder;
    QString background, month, note;
    QImage picture; // the composed wallpaper, for the peer
};

Setup& setup() {
    static Setup s;
    if (!s.background.isEmpty()) return s;
    s.background = s.folder.filePath("A1.bmp");
    QFile::copy(QStringLiteral(QUENDA_A1_BMP), s.background);
    QImage month(350, 300, QImage::Format_RGB32);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 350; ++x)
            month.setPixel(x, y, qRgb(x * 255 / 349, y * 255 / 299, (x + y) % 256));
    s.month = s.folder.filePath("201301.bmp");
    quenda::WriteBmp(month, s.month);
    for (int line = 0; line < 20; ++line)
        s.note +=
            QStringLiteral("第%1行：√ 上午十点项目例会，交电费、水费 & 燃气费，给妈妈打电话问车票。\r\n")
                .arg(line);
    quenda::TDeskBGSetFrm deskBGSet(s.folder.path());
    quenda::TMixPicFrm mix;
    quenda::TPicPreviewFrm preview;
    quenda::ComposeWallpaper({deskBGSet, mix, preview}, s.background, s.month, s.note, nullptr);
    s.picture = preview.imgPreview;
    return s;
}

void installation(benchmark::State& state) {
    Setup& s = setup();
    quenda::TDeskBGSetFrm deskBGSet(s.folder.path());
    quenda::TMixPicFrm mix;
    quenda::TPicPreviewFrm preview;
    for (auto _ : state) {
        QString error;
        if (!quenda::ComposeWallpaper({deskBGSet, mix, preview}, s.background, s.month, s.note, &error) ||
            !quenda::PassThroughJpeg(deskBGSet, preview.imgPreview, &error))
            state.SkipWithError(qPrintable(error));
    }
}

// The peer: libjpeg alone, RGB rows in memory, quality 90, then decoded back to RGB rows.
void libjpegEncodeDecode(benchmark::State& state) {
    const QImage rgb = setup().picture.convertToFormat(QImage::Format_RGB888);
    std::vector<unsigned char> decoded(std::size_t(rgb.width()) * 3 * std::size_t(rgb.height()));
    for (auto _ : state) {
        jpeg_compress_struct out{};
        jpeg_error_mgr outErrors{};
        out.err = jpeg_std_error(&outErrors);
        jpeg_create_compress(&out);
        unsigned char* buffer = nullptr;
        unsigned long size = 0;
        jpeg_mem_dest(&out, &buffer, &size);
        out.image_width = JDIMENSION(rgb.width());
        out.image_height = JDIMENSION(rgb.height());
        out.input_components = 3;
        out.in_color_space = JCS_RGB;
        jpeg_set_defaults(&out);
        jpeg_set_quality(&out, 90, TRUE);
        jpeg_start_compress(&out, TRUE);
        while (out.next_scanline < out.image_height) {
            JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(out.next_scanline)));
            jpeg_write_scanlines(&out, &row, 1);
        }
        jpeg_finish_compress(&out);
        jpeg_destroy_compress(&out);

        jpeg_decompress_struct in{};
        jpeg_error_mgr inErrors{};
        in.err = jpeg_std_error(&inErrors);
        jpeg_create_decompress(&in);
        jpeg_mem_src(&in, buffer, size);
        jpeg_read_header(&in, TRUE);
        in.out_color_space = JCS_RGB;
        jpeg_start_decompress(&in);
        while (in.output_scanline < in.output_height) {
            JSAMPROW row = decoded.data() + std::size_t(in.output_scanline) * in.output_width * 3;
            jpeg_read_scanlines(&in, &row, 1);
        }
        jpeg_finish_decompress(&in);
        jpeg_destroy_decompress(&in);
        std::free(buffer);
        benchmark::DoNotOptimize(decoded.data());
    }
}

void blendOverlay(benchmark::State& state) {
    QImage base = setup().picture;
    const QImage overlay = quenda::ReadPicture(setup().month).image;
    for (auto _ : state)
        benchmark::DoNotOptimize(quenda::TMixPicFrm::BlendOverlay(overlay, base, 30, 50));
}

BENCHMARK(installation)->Unit(benchmark::kMillisecond);
BENCHMARK(libjpegEncodeDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(blendOverlay)->Unit(benchmark::kMicrosecond);

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration) m_ms[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void printRatio() const {
        if (!m_ms.contains("installation") || !m_ms.contains("libjpegEncodeDecode")) return;
        const double ratio = m_ms.at("installation") / m_ms.at("libjpegEncodeDecode");
        std::printf("\ninstallation %.2f ms  libjpeg encode+decode %.2f ms  ratio %.2f  (target: < 2.5)\n",
                    m_ms.at("installation"), m_ms.at("libjpegEncodeDecode"), ratio);
    }

private:
    std::map<std::string, double> m_ms;
};

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    quenda::InstallFontSubstitutions();
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (setup().picture.isNull()) {
        std::fprintf(stderr, "bench-wallpaper: cannot prepare the pictures\n");
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio();
    benchmark::Shutdown();
    return 0;
}
