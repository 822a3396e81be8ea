// The fuzzers' inputs, run with every test: the committed seeds (fuzz/corpus/<target>/, each a small valid
// file of one kind) and every input that once broke a reader (tests/data/.../regressions/). Each goes through
// the entry point its fuzzer calls. Seeds must read the way Qt's own readers read them; past crashes must
// give a value, a picture within the limits or a reason.
#include "LineListFile.h"
#include "PictureFile.h"
#include "PictureTestFiles.h"

#include <QDir>
#include <QFile>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

using namespace quenda;

namespace {

// Every file in `folder` but the hidden placeholder that keeps an empty folder in git, with its bytes.
std::vector<std::pair<QString, QByteArray>> filesIn(const QString& folder) {
    std::vector<std::pair<QString, QByteArray>> files;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        files.emplace_back(dir.filePath(name), file.readAll());
    }
    return files;
}

QString seedFolder(const char* target) {
    return QStringLiteral(QUENDA_FUZZ_SEED_DIR "/") + QLatin1String(target);
}

QString regressionFolder(const char* kind) {
    return QStringLiteral(QUENDA_TEST_DATA_DIR "/") + QLatin1String(kind) + QStringLiteral("/regressions");
}

struct PictureKindCase {
    const char* name; // the fuzz target
    std::function<PictureResult(const QByteArray&)> decode;
    PictureKind kind;
    int tolerance; // how far a channel may be from Qt's reading (JPEG: other rounding)
};

void PrintTo(const PictureKindCase& c, std::ostream* out) {
    *out << c.name;
}

class FuzzPictureInputs : public ::testing::TestWithParam<PictureKindCase> {};

// Qt's reading of the file in the form ours gives: transparent pixels over white.
QImage readWithQtOverWhite(const QByteArray& bytes) {
    const QImage read = QImage::fromData(bytes);
    if (read.isNull()) return {};
    QImage page(read.size(), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.drawImage(0, 0, read);
    return page;
}

} // namespace

TEST_P(FuzzPictureInputs, SeedsReadAsQtReadsThemFromBytesAndFromTheFile) {
    const PictureKindCase& c = GetParam();
    const auto seeds = filesIn(seedFolder(c.name));
    EXPECT_GE(seeds.size(), 5u);
    for (const auto& [path, bytes] : seeds) {
        SCOPED_TRACE(path.toStdString());
        const PictureResult decoded = c.decode(bytes);
        ASSERT_TRUE(decoded.ok()) << decoded.error.toStdString();
        EXPECT_EQ(decoded.image.format(), QImage::Format_RGB32);
        const QImage qt = readWithQtOverWhite(bytes);
        ASSERT_EQ(decoded.image.size(), qt.size());
        EXPECT_LE(test::LargestChannelDifference(decoded.image, qt), c.tolerance);
        EXPECT_EQ(ReadPicture(path).image, decoded.image);
    }
}

TEST_P(FuzzPictureInputs, PastCrashesGiveAPictureWithinTheLimitsOrAReason) {
    const PictureKindCase& c = GetParam();
    ASSERT_TRUE(QDir(regressionFolder("pictures")).exists(QLatin1String(c.name)));
    for (const auto& [path, bytes] : filesIn(regressionFolder("pictures") + "/" + c.name)) {
        SCOPED_TRACE(path.toStdString());
        const PictureResult decoded = c.decode(bytes);
        if (decoded.ok()) {
            EXPECT_EQ(decoded.image.format(), QImage::Format_RGB32);
            EXPECT_TRUE(FitsPictureLimits(decoded.image.width(), decoded.image.height()));
        } else {
            EXPECT_TRUE(decoded.image.isNull());
        }
        // The file reader goes by content; where the content says this kind, it must agree.
        if (PictureKindOf(bytes) == c.kind) {
            const PictureResult read = ReadPicture(path);
            EXPECT_EQ(read.error, decoded.error);
            EXPECT_EQ(read.image, decoded.image);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(PictureFile, FuzzPictureInputs,
                         ::testing::Values(PictureKindCase{"jpeg", DecodeJpeg, PictureKind::Jpeg, 2},
                                           PictureKindCase{"gif", DecodeGif, PictureKind::Gif, 0},
                                           PictureKindCase{"bmp", DecodeBmp, PictureKind::Bmp, 0}),
                         [](const ::testing::TestParamInfo<PictureKindCase>& info) {
                             return std::string(info.param.name);
                         });

// A file cut short is broken, and the decoder stops where the data ends (within the frame for a baseline
// file, before any row for a progressive one), also when a few hundred bytes claim a picture of 4096 x 4096.
TEST(PictureFile, AJpegThatEndsEarlyIsBrokenWhateverSizeItClaims) {
    for (const char* seed : {"baseline-420.jpg", "progressive.jpg", "cmyk-adobe.jpg"}) {
        QFile file(seedFolder("jpeg") + "/" + seed);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << seed;
        const QByteArray cut = file.readAll().chopped(40);
        for (const QByteArray& broken : {cut, test::WithForgedSize(cut, "jpg", 4096, 4096)}) {
            const PictureResult read = DecodeJpeg(broken);
            EXPECT_EQ(read.error, "broken JPEG file: it ends early") << seed << " " << broken.size();
            EXPECT_TRUE(read.image.isNull());
        }
    }
}

TEST(LineListFile, FuzzSeedsReadTheSameWhateverTheLineEndings) {
    const QStringList formSize{"1", "750", "500", "100", "200"};
    for (const char* name :
         {"formsize-crlf.ini", "formsize-lf.ini", "formsize-cr.ini", "formsize-mixed-no-last-ending.ini"}) {
        QFile file(seedFolder("line-list") + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        EXPECT_EQ(DecodeLineList(file.readAll()), formSize) << name;
    }
    EXPECT_EQ(ReadLineList(seedFolder("line-list") + "/bgpiclist-gbk.ini"),
              QStringList({QString::fromUtf8("默认背景.jpg"), QString::fromUtf8("春节.bmp"),
                           QString::fromUtf8("山水 风景.gif")}));
    EXPECT_EQ(ReadLineList(seedFolder("line-list") + "/bgpiclist-outside-gbk.ini"),
              QStringList({QString::fromUtf8("😀 €.bmp"), QString::fromUtf8("𠀀.jpg")}));
}

// What the line-list fuzzer asserts, on its seeds and past crashes: lines without endings, numbers that
// read back as themselves, and lines that come back unchanged from a write and a read.
TEST(LineListFile, FuzzInputsSurviveAWriteAndARead) {
    ASSERT_TRUE(QDir(regressionFolder("line-list")).exists());
    auto inputs = filesIn(seedFolder("line-list"));
    EXPECT_GE(inputs.size(), 5u);
    for (auto& regression : filesIn(regressionFolder("line-list")))
        inputs.push_back(std::move(regression));
    for (const auto& [path, bytes] : inputs) {
        SCOPED_TRACE(path.toStdString());
        const QStringList lines = DecodeLineList(bytes);
        for (int i = 0; i < lines.size(); ++i) {
            EXPECT_FALSE(lines[i].contains('\r') || lines[i].contains('\n')) << i;
            if (const std::optional<int> number = LineAsInt(lines, i)) {
                EXPECT_EQ(LineAsInt({QString::number(*number)}, 0), number);
            }
        }
        EXPECT_EQ(DecodeLineList(EncodeLineList(lines)), lines);
    }
}
