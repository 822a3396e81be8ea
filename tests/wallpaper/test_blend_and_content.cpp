// The blending arithmetic and placement, the note content picture's pixels, and the geometry of both
// compositions on a 1024 x 768 background.
#include "PictureFile.h"
#include "WallpaperInstall.h"
#include "WallpaperTestSupport.h"

#include <QFile>
#include <QFontMetrics>

#include <cmath>

using namespace quenda;
using namespace quenda::test;

namespace {

// The smallest rectangle holding every pixel where the two pictures differ.
QRect changedArea(const QImage& before, const QImage& after) {
    QRect area;
    for (int y = 0; y < before.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(before.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(after.constScanLine(y));
        for (int x = 0; x < before.width(); ++x)
            if ((a[x] ^ b[x]) & 0xFFFFFF) area |= QRect(x, y, 1, 1);
    }
    return area;
}

// The pixels of `picture` inside `area` that are not `colour`.
QRect inkArea(const QImage& picture, QRgb colour, const QRect& area) {
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((picture.pixel(x, y) ^ colour) & 0xFFFFFF) ink |= QRect(x, y, 1, 1);
    return ink;
}

QRgb mix(QRgb overlay, QRgb base) {
    QImage picture = Solid(51, 1, base);
    TMixPicFrm::BlendOverlay(Solid(1, 1, overlay), picture, 0, 50);
    return picture.pixel(0, 0) & 0xFFFFFF;
}

QImage contentOf(const QString& note, int width) {
    EnsureApplication();
    TDeskBGSetFrm deskBGSet;
    deskBGSet.CopyNoteText(note);
    return deskBGSet.DrawContentPicture(width);
}

const QRect kTextBox(QPoint(10, 10), QPoint(299, 169));

// The note's lines lie a whole number of pixels apart: the face's line spacing rounded up.
int linePitch() {
    EnsureApplication();
    QFont font(QString::fromUtf8("宋体"));
    font.setPixelSize(kContentFontPixels);
    return int(std::ceil(QFontMetricsF(font).lineSpacing()));
}

} // namespace

TEST(BlendOverlay, MixesEachColourByteTowardTheOverlayTruncatingAndKeepsWhite) {
    // clang-format off
    const struct { QRgb overlay, base, result; } cases[] = {
        {0x000000, 0xFFFFFF, 0x808080}, // 255 + (0 - 255) * 50 / 100 = 128
        {0xFEFEFE, 0x000000, 0x7F7F7F}, // 0 + 254 * 50 / 100 = 127: not white, so mixed
        {0xFFFFFE, 0x000000, 0x7F7F7F}, // 255 over 0 gives 127 too
        {0x646464, 0x656565, 0x656565}, // 101 + (100 - 101) * 50 / 100 = 101 - 0
        {0x123456, 0x123456, 0x123456}, // s = d leaves d
        {0xFFFFFF, 0x0A141E, 0x0A141E}, // pure white is transparent
        {0x10FF00, 0xF00010, 0x807F08}, // each byte on its own
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(mix(c.overlay, c.base), c.result) << std::hex << c.overlay << " over " << c.base;

    QImage base = Solid(100, 40, 0xFF000000);
    const QImage before = base;
    QImage overlay = Solid(20, 10, 0xFF00FF00).convertToFormat(QImage::Format_RGB888); // any format
    ASSERT_TRUE(TMixPicFrm::BlendOverlay(overlay, base, 7, 30));
    EXPECT_EQ(changedArea(before, base), QRect(30, 7, 20, 10)) << "right edge 50 pixels in, Top rows down";
    EXPECT_EQ(base.pixel(30, 7) & 0xFFFFFF, 0x004C00u); // 255 * 30 / 100 = 76
}

TEST(BlendOverlay, RefusesWhatDoesNotFitAndLeavesTheBaseAsItWas) {
    // clang-format off
    const struct { QSize overlay, base; int top, percent; bool fits; } cases[] = {
        {{308, 180}, {358, 210}, 30, 50, true},
        {{308, 180}, {357, 210}, 30, 50, false},  // not 50 pixels wider
        {{308, 180}, {358, 209}, 30, 50, false},  // not Top + height tall
        {{308, 180}, {1024, 768}, 589, 50, false},
        {{10, 10}, {60, 10}, 0, 50, true},        // as tall, no rows above
        {{10, 10}, {100, 100}, -1, 50, false},
        {{10, 10}, {100, 100}, 0, 101, false},
        {{10, 10}, {100, 100}, 0, -1, false},
        {{0, 0}, {100, 100}, 0, 50, false},
    };
    // clang-format on
    for (const auto& c : cases) {
        QImage base = Solid(c.base.width(), c.base.height(), 0xFF336699);
        const QImage before = base;
        const QImage overlay =
            c.overlay.isEmpty() ? QImage() : Solid(c.overlay.width(), c.overlay.height(), 0);
        EXPECT_EQ(TMixPicFrm::BlendOverlay(overlay, base, c.top, c.percent), c.fits)
            << c.overlay.width() << "x" << c.overlay.height() << " on " << c.base.width() << "x"
            << c.base.height() << " top " << c.top << " percent " << c.percent;
        if (!c.fits) {
            EXPECT_EQ(base, before);
        }
    }
}

TEST(ContentPicture, FillBorderAndNothingOutsideTheTextBox) {
    QString longNote;
    for (int line = 0; line < 30; ++line)
        longNote += QString::fromUtf8("第%1行：今天要做的事情很多很多，记得交电费、买菜、写日记 ").arg(line) +
                    QString(40, 'W') + "\r\n";
    for (int width : {308, 350, 250}) {
        for (const QString& note : {QString(), longNote}) {
            SCOPED_TRACE(std::to_string(width) + (note.isEmpty() ? " empty" : " long"));
            const QImage picture = contentOf(note, width);
            ASSERT_EQ(picture.size(), QSize(width, 180));
            const QRect inner(1, 1, width - 2, 178);
            for (int y = 0; y < 180; ++y)
                for (int x = 0; x < width; ++x) {
                    const QRgb pixel = picture.pixel(x, y) & 0xFFFFFF;
                    if (!inner.contains(x, y) && !kTextBox.contains(x, y)) {
                        ASSERT_EQ(pixel, kContentBorder & 0xFFFFFF) << x << "," << y;
                    } else if (inner.contains(x, y) && !kTextBox.contains(x, y)) {
                        ASSERT_EQ(pixel, kContentFill & 0xFFFFFF) << x << "," << y;
                    }
                }
            // Below 300 pixels the text box reaches past the picture: text there is cut at the picture's
            // edge, over the border.
            const QRect ink = inkArea(picture, kContentFill, kTextBox & inner);
            if (note.isEmpty()) {
                EXPECT_TRUE(ink.isNull());
                EXPECT_EQ(picture.pixel(width - 1, 50) & 0xFFFFFF, kContentBorder & 0xFFFFFF);
            } else { // the text reaches the box's last line (drawn even where it is cut) and right edge
                EXPECT_GT(ink.bottom(), 169 - linePitch());
                EXPECT_GE(ink.right(), std::min(width - 2, 299) - 4);
            }
        }
    }
    EXPECT_TRUE(contentOf("x", 0).isNull());
}

TEST(ContentPicture, DrawsTheNoteAsWrittenWithItsLineBreaks) {
    EnsureApplication();
    auto inkOf = [](const QString& note) { return inkArea(contentOf(note, 308), kContentFill, kTextBox); };
    QFont font(QString::fromUtf8("宋体"));
    font.setPixelSize(kContentFontPixels);
    const QFontMetrics metrics(font);
    // An ampersand is drawn, not taken as a mnemonic prefix.
    EXPECT_GE(inkOf("A&B").width() - inkOf("AB").width(), metrics.horizontalAdvance('&') - 2);
    EXPECT_GE(inkOf("A&&B").width() - inkOf("A&B").width(), metrics.horizontalAdvance('&') - 2);
    // Leading line breaks of every kind move the text down by whole lines.
    const int top = inkOf("X").top();
    for (const char* breaks : {"\r\n\r\n", "\n\n", "\r\r", "\xE2\x80\xA9\xE2\x80\xA9"})
        EXPECT_EQ(inkOf(QString::fromUtf8(breaks) + "X").top() - top, 2 * linePitch()) << breaks;
    // A long line wraps within the box.
    const QRect wrapped =
        inkOf(QString::fromUtf8("一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十"));
    EXPECT_GT(wrapped.height(), metrics.lineSpacing());
    EXPECT_LE(wrapped.right(), 299);

    TDeskBGSetFrm deskBGSet;
    deskBGSet.CopyNoteText(QString::fromUtf8("a\nb\rc\r\nd\u2029e"));
    EXPECT_EQ(deskBGSet.NoteLines, QStringList{"a\r\nb\r\nc\r\nd\r\ne"});
}

TEST(ContentPicture, ABoxOneOrTwoPixelsWideIsAllBorder) {
    for (int width : {1, 2})
        EXPECT_TRUE(inkArea(contentOf("note", width), kContentBorder, QRect(0, 0, width, 180)).isNull())
            << width;
}

TEST(ContentPicture, LinesOfChineseKeepALeading) {
    const QImage lines = contentOf(QStringLiteral("国\r\n国"), 308); // full-height characters
    const QRect ink = inkArea(lines, kContentFill, kTextBox);
    int blankRows = 0;
    for (int y = ink.top(); y <= ink.bottom(); ++y)
        blankRows += inkArea(lines, kContentFill, QRect(ink.left(), y, ink.width(), 1)).isNull();
    EXPECT_GE(blankRows, 2);
}

TEST(ContentPicture, IsWrittenAsContentBmpAndAnUnwritableFolderIsReported) {
    EnsureApplication();
    QTemporaryDir folder;
    TDeskBGSetFrm deskBGSet(folder.path());
    deskBGSet.CopyNoteText("note");
    ASSERT_TRUE(deskBGSet.MakeContentPicture(308));
    EXPECT_EQ(ReadPicture(folder.filePath("Content.bmp")).image, deskBGSet.DrawContentPicture(308));
    TDeskBGSetFrm nowhere(folder.filePath("missing"));
    QString error;
    EXPECT_FALSE(nowhere.MakeContentPicture(308, &error));
    EXPECT_FALSE(error.isEmpty());
}

using Composition = ComposerTest;

TEST_F(Composition, PutsTheMonthPictureAndTheNoteBoxAtTheTopRight) {
    const QRgb background = 0xFF204060, month = 0xFF808000;
    writeBackground("bg.bmp", 1024, 768, background);
    ASSERT_TRUE(WriteBmp(Solid(350, 300, month), programFile("month.bmp")));
    TDeskBGSetFrm deskBGSet;
    TMixPicFrm mixPic;
    TPicPreviewFrm preview;
    const CompositionParts parts{deskBGSet, mixPic, preview};
    const QImage plain = Solid(1024, 768, background);
    const struct {
        const char* monthFile;
        QString note;
        QRect area;
    } cases[] = {
        {"month.bmp", "note", QRect(QPoint(624, 30), QPoint(973, 509))},
        {"month.bmp", " \r\n\t \r\n", QRect(QPoint(624, 30), QPoint(973, 329))}, // blank note: no box
        {"no such month.bmp", "note", QRect(QPoint(666, 30), QPoint(973, 209))},
        {"no such month.bmp", "", QRect(QPoint(666, 30), QPoint(973, 209))}, // the box, empty
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.monthFile) + " '" + c.note.toStdString() + "'");
        QFile::remove(backgroundFile("Content.bmp"));
        QString error;
        ASSERT_TRUE(
            ComposeWallpaper(parts, backgroundFile("bg.bmp"), programFile(c.monthFile), c.note, &error))
            << error.toStdString();
        EXPECT_TRUE(QFile::exists(backgroundFile("Content.bmp"))) << "written every time";
        const QImage result = preview.imgPreview;
        EXPECT_EQ(changedArea(plain, result), c.area);
        EXPECT_TRUE(mixPic.img1.isNull() && mixPic.img2.isNull());
        const QRgb boxTop = result.pixel(c.area.left(), c.area.bottom() - 179) & 0xFFFFFF;
        if (c.area.height() == 180 || c.area.height() == 480) // the box's top border, mixed half and half
            EXPECT_EQ(boxTop, mix(kContentBorder, background));
        else
            EXPECT_EQ(result.pixel(c.area.left(), 30) & 0xFFFFFF, mix(month, background));
    }
}

TEST_F(Composition, ABackgroundTooSmallOrUnreadableIsAFailureWithAReason) {
    writeBackground("small.bmp", 357, 768, 0xFF000000);
    writeBytes(backgroundFile("broken.bmp"), "BM broken");
    ASSERT_TRUE(WriteBmp(Solid(350, 600, 0xFF808080), programFile("tall month.bmp")));
    writeBackground("bg.bmp", 1024, 768, 0xFF000000);
    TDeskBGSetFrm deskBGSet;
    TMixPicFrm mixPic;
    TPicPreviewFrm preview;
    const struct {
        const char* background;
        const char* month;
    } cases[] = {{"small.bmp", ""}, {"broken.bmp", ""}, {"bg.bmp", "tall month.bmp"}, {"missing.bmp", ""}};
    for (const auto& c : cases) {
        QString error;
        EXPECT_FALSE(ComposeWallpaper({deskBGSet, mixPic, preview}, backgroundFile(c.background),
                                      c.month[0] ? programFile(c.month) : QString(), "note", &error))
            << c.background;
        EXPECT_FALSE(error.isEmpty()) << c.background;
        EXPECT_TRUE(mixPic.img1.isNull() && mixPic.img2.isNull()) << c.background;
    }
}

TEST_F(Composition, OnABackgroundTallerThan1080TheBoxItsTextAndThePlacesGrowByItsHeightOver1080) {
    ASSERT_TRUE(WriteBmp(Solid(350, 300, 0xFF808000), programFile("month.bmp")));
    TDeskBGSetFrm deskBGSet;
    TMixPicFrm mixPic;
    TPicPreviewFrm preview;
    const struct {
        int height; // of a 16:9 background
        const char* month;
        QRect area;
    } cases[] = {
        {1080, "none.bmp", QRect(QPoint(1562, 30), QPoint(1869, 209))},
        {2160, "none.bmp", QRect(QPoint(3124, 60), QPoint(3739, 419))},
        {1440, "none.bmp", QRect(QPoint(2082, 40), QPoint(2492, 279))},
        {2160, "month.bmp", QRect(QPoint(3390, 60), QPoint(3739, 719))}}; // the month picture as it is
    for (const auto& c : cases) {
        writeBackground("bg.bmp", c.height * 16 / 9, c.height, 0xFF204060);
        ASSERT_TRUE(ComposeWallpaper({deskBGSet, mixPic, preview}, backgroundFile("bg.bmp"),
                                     programFile(c.month), "note", nullptr));
        EXPECT_EQ(changedArea(Solid(c.height * 16 / 9, c.height, 0xFF204060), preview.imgPreview), c.area)
            << c.height << c.month;
    }
    // The text grows with the box: twice as high, twice as far from the box's corner.
    deskBGSet.CopyNoteText(QStringLiteral("国"));
    const QRect small = inkArea(deskBGSet.DrawContentPicture(308), kContentFill, kTextBox);
    const QRect large =
        inkArea(deskBGSet.DrawContentPicture(616, 2.0), kContentFill, QRect(20, 20, 580, 320));
    EXPECT_NEAR(large.height(), 2 * small.height(), 2);
    EXPECT_NEAR(large.top(), 2 * small.top(), 2);
}
