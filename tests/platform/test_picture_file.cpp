// Picture files: every kind read by its content, JPEG at quality 90 baseline, GIF's first frame on its
// logical screen, BMP written with 24 bits in one step, and broken or forged files refused with a reason.
#include "PictureFile.h"
#include "PictureTestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quenda;
using namespace quenda::test;

namespace {

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
}

// The first value of the first quantisation table: 16 in the standard luminance table, scaled to 3 at
// quality 90 (scale 200 - 2 * 90 = 20 %, rounded).
int firstQuantisationValue(const QByteArray& jpeg) {
    const qsizetype table = jpeg.indexOf("\xFF\xDB");
    return table < 0 ? -1 : static_cast<unsigned char>(jpeg[table + 5]);
}

// A 24-bit BMP file turned into one stored top down: a negative height and the rows in reading order.
QByteArray topDown(const QByteArray& bmp, int height) {
    QByteArray flipped = bmp.left(54);
    const qsizetype rowBytes = (bmp.size() - 54) / height;
    for (int row = height - 1; row >= 0; --row)
        flipped += bmp.mid(54 + row * rowBytes, rowBytes);
    return WithForgedSize(flipped, "bmp", static_cast<quint32>(bmp[18]) & 0xFF, quint32(-height));
}

// A 32-bit uncompressed BMP file: blue, green, red and an unused byte a pixel, bottom row first.
QByteArray bmp32(const QImage& picture) {
    QByteArray file = EncodeWithQt(picture, "bmp").left(54);
    file[28] = 32;
    for (int y = picture.height() - 1; y >= 0; --y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            file += char(qBlue(pixel)), file += char(qGreen(pixel)), file += char(qRed(pixel)),
                file += char(0x33);
        }
    return file;
}

} // namespace

TEST(PictureFile, ReadsEachKindByItsContentWhateverTheExtension) {
    QTemporaryDir dir;
    const QImage pattern = PatternImage(13, 7);
    const QImage indexed = pattern.convertToFormat(QImage::Format_Indexed8);
    const struct {
        const char* name;
        QByteArray bytes;
        int tolerance;
        QImage expected; // the pattern when null
    } cases[] = {
        {"picture.bmp", EncodeWithQt(pattern, "bmp"), 0, {}},
        {"top down.bmp", topDown(EncodeWithQt(pattern, "bmp"), 7), 0, {}},
        {"32 bits.bmp", bmp32(pattern), 0, {}},
        {"palette.bmp", EncodeWithQt(indexed, "bmp"), 0, indexed.convertToFormat(QImage::Format_RGB32)},
        {"picture.png", EncodeWithQt(pattern, "png"), 0, {}},
        {"picture.jpg", EncodeJpeg(pattern, 95), 40, {}}, // small and colourful: chroma subsampling shows
        {"jpeg named.gif", EncodeJpeg(pattern, 95), 40, {}},
        {"png named.bmp", EncodeWithQt(pattern, "png"), 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PictureResult read = ReadPicture(writeFile(dir, c.name, c.bytes));
        ASSERT_TRUE(read.ok()) << read.error.toStdString();
        EXPECT_EQ(read.image.format(), QImage::Format_RGB32);
        const QImage& expected = c.expected.isNull() ? pattern : c.expected;
        ASSERT_EQ(read.image.size(), expected.size());
        EXPECT_LE(LargestChannelDifference(read.image, expected), c.tolerance);
    }
}

TEST(PictureFile, EncodesBaselineJpegAtTheGivenQualityAndDecodesIt) {
    const QImage pattern = PatternImage(64, 48);
    const QByteArray jpeg = EncodeJpeg(pattern, kWallpaperJpegQuality);
    ASSERT_FALSE(jpeg.isEmpty());
    EXPECT_TRUE(jpeg.contains("\xFF\xC0")) << "baseline frame";
    EXPECT_FALSE(jpeg.contains("\xFF\xC2")) << "no progressive frame";
    EXPECT_EQ(firstQuantisationValue(jpeg), 3);
    EXPECT_EQ(firstQuantisationValue(EncodeJpeg(pattern, 50)), 16);
    const PictureResult decoded = DecodeJpeg(jpeg);
    ASSERT_TRUE(decoded.ok()) << decoded.error.toStdString();
    ASSERT_EQ(decoded.image.size(), pattern.size());
    EXPECT_LE(LargestChannelDifference(decoded.image, pattern), 6);

    QImage grey = pattern.convertToFormat(QImage::Format_Grayscale8);
    const PictureResult fromGrey = DecodeJpeg(EncodeJpeg(grey, 90)); // encoded as colour, decoded as colour
    ASSERT_TRUE(fromGrey.ok());
    EXPECT_EQ(fromGrey.image.format(), QImage::Format_RGB32);
}

TEST(PictureFile, GifGivesItsFirstFrameOnTheLogicalScreen) {
    const QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0), red = qRgb(255, 0, 0),
               green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255);
    // A 3 x 2 frame at (2, 1) on a 6 x 4 screen; index 3 (blue) transparent, then a second frame that
    // would cover everything in black.
    GifFrame first{2, 1, 3, 2, {1, 2, 3, 3, 0, 1}, 3, false, false};
    GifFrame second{0, 0, 6, 4, std::vector<unsigned char>(24, 0), -1, false, false};
    const PictureResult read = DecodeGif(MakeGif(6, 4, {first, second}));
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    ASSERT_EQ(read.image.size(), QSize(6, 4));
    const QRgb expected[4][6] = {{white, white, white, white, white, white},
                                 {white, white, red, green, white, white},
                                 {white, white, white, black, red, white},
                                 {white, white, white, white, white, white}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(read.image.pixel(x, y), expected[y][x] | 0xFF000000u) << x << "," << y;

    // Interlaced rows come back in their places; a frame's own palette is used; a frame reaching past
    // the screen is cut at its edge.
    std::vector<unsigned char> rows;
    for (int y = 0; y < 10; ++y)
        rows.insert(rows.end(), {static_cast<unsigned char>(y % 4), 1});
    GifFrame interlaced{0, 0, 2, 10, rows, -1, true, true};
    const PictureResult tall = DecodeGif(MakeGif(1, 9, {interlaced}));
    ASSERT_TRUE(tall.ok()) << tall.error.toStdString();
    ASSERT_EQ(tall.image.size(), QSize(1, 9));
    const QRgb byIndex[4] = {black, red, green, blue};
    for (int y = 0; y < 9; ++y)
        EXPECT_EQ(tall.image.pixel(0, y), byIndex[y % 4] | 0xFF000000u) << y;
}

TEST(PictureFile, WritesBmpWith24BitsOverTheFileThatIsThere) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Mix.bmp");
    writeFile(dir, "Mix.bmp", "old picture");
    const QImage pattern = PatternImage(5, 3);
    QString error;
    ASSERT_TRUE(WriteBmp(pattern, path, &error)) << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("BM"));
    EXPECT_EQ(static_cast<unsigned char>(bytes[28]), 24) << "bits per pixel";
    EXPECT_EQ(ReadPicture(path).image, pattern);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Mix.bmp"})
        << "no leftovers";

    EXPECT_FALSE(WriteBmp(pattern, dir.filePath("missing folder/Mix.bmp"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(WriteBmp(QImage(), dir.filePath("empty.bmp")));
    EXPECT_FALSE(QFile::exists(dir.filePath("empty.bmp")));

    // Copying a file onto itself keeps it.
    ASSERT_TRUE(ReplaceFileWithCopy(path, path));
    EXPECT_EQ(ReadPicture(path).image, pattern);
    ASSERT_TRUE(ReplaceFileWithCopy(path, dir.filePath("copy.bmp")));
    EXPECT_EQ(ReadPicture(dir.filePath("copy.bmp")).image, pattern);
}

TEST(PictureFile, BrokenTruncatedAndEmptyFilesGiveAReason) {
    QTemporaryDir dir;
    const QByteArray jpeg = EncodeJpeg(PatternImage(64, 48), 90);
    const QByteArray gif = MakeGif(8, 8, {GifFrame{0, 0, 8, 8, std::vector<unsigned char>(64, 1)}});
    const QByteArray bmp = EncodeWithQt(PatternImage(64, 48), "bmp");
    const QByteArray png = EncodeWithQt(PatternImage(64, 48), "png");
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"empty.jpg", ""},
        {"empty.gif", ""},
        {"empty.bmp", ""},
        {"jpeg header only.jpg", jpeg.left(4)},
        {"jpeg cut in half.jpg", jpeg.left(jpeg.size() / 2)},
        {"jpeg with garbage.jpg", "\xFF\xD8\xFF\xE0" + QByteArray(300, '\x5A')},
        {"gif header only.gif", gif.left(6)},
        {"gif cut in half.gif", gif.left(gif.size() / 2)},
        {"gif without frames.gif", gif.left(13 + 12) + ";"},
        {"gif with garbage.gif", gif.left(13) + QByteArray(200, '\x77')},
        {"bmp cut in half.bmp", bmp.left(bmp.size() / 2)},
        {"bmp header only.bmp", bmp.left(20)},
        {"bmp with garbage.bmp", "BM" + QByteArray(100, '\x01')},
        {"png cut in half.png", png.left(png.size() / 2)},
        {"text.jpg", "not a picture at all"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PictureResult read = ReadPicture(writeFile(dir, c.name, c.bytes));
        EXPECT_FALSE(read.ok());
        EXPECT_TRUE(read.image.isNull());
        EXPECT_FALSE(read.error.isEmpty());
    }
    EXPECT_FALSE(ReadPicture(dir.filePath("missing.bmp")).ok());
}

TEST(PictureFile, SizesOverTheLimitsAreRefusedFromTheHeader) {
    // clang-format off
    const struct { qint64 width, height; bool fits; } limits[] = {
        {1, 1, true}, {16384, 6103, true}, {10000, 10000, true},
        {16384, 6104, false}, {16385, 1, false}, {1, 16385, false}, {0, 10, false}, {10, -1, false},
    };
    // clang-format on
    for (const auto& c : limits)
        EXPECT_EQ(FitsPictureLimits(c.width, c.height), c.fits) << c.width << " x " << c.height;

    QTemporaryDir dir;
    const QImage small = PatternImage(16, 16);
    const QByteArray files[] = {
        EncodeWithQt(small, "bmp"), EncodeWithQt(small, "png"), EncodeJpeg(small, 90),
        MakeGif(16, 16, {GifFrame{0, 0, 16, 16, std::vector<unsigned char>(256, 2)}})};
    const char* formats[] = {"bmp", "png", "jpg", "gif"};
    const struct {
        quint32 width, height;
    } sizes[] = {{60000, 60000}, {16385, 16}, {16, 16385}, {10001, 10000}, {65000, 65000}};
    for (int f = 0; f < 4; ++f)
        for (const auto& size : sizes) {
            SCOPED_TRACE(std::string(formats[f]) + " " + std::to_string(size.width) + "x" +
                         std::to_string(size.height));
            const QByteArray forged = WithForgedSize(files[f], formats[f], size.width, size.height);
            const PictureResult read = ReadPicture(writeFile(dir, QString("forged.") + formats[f], forged));
            EXPECT_FALSE(read.ok());
            EXPECT_TRUE(read.error.contains("over the limits")) << read.error.toStdString();
        }
}
