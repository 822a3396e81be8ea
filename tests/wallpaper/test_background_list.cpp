// The background list file and its copy in memory, the converters' names, configSetBg.ini, and the walk of
// BGIndex through the list as installations succeed or find a background missing.
#include "PictureFile.h"
#include "WallpaperInstall.h"
#include "WallpaperTestSupport.h"
#include "uGlobal.h"

#include <QFile>

using namespace quenda;
using namespace quenda::test;

namespace {

QStringList names(const BackgroundSelection& selection) {
    QStringList names;
    for (std::size_t i = 0; i < selection.PicBGList.size(); ++i) {
        EXPECT_EQ(selection.PicBGList[i].Index, int(i));
        names.append(selection.PicBGList[i].PicName);
    }
    return names;
}

} // namespace

using BackgroundList = ComposerTest;

TEST_F(BackgroundList, LoadsTheListFileWithAndWithoutSelectingTheCurrentPicture) {
    const QString chinese = QString::fromUtf8("春节 背景.bmp");
    const struct {
        QStringList lines;
        bool selectCurrent;
        QString current;
        int index;
    } cases[] = {
        {{"x.bmp", "a.bmp", "x.bmp", "b.bmp"}, true, "x.bmp", 2},
        {{"x.bmp", "a.bmp", "x.bmp", "b.bmp"}, false, "x.bmp", 3},
        {{"q.bmp", "a.bmp", "b.bmp"}, true, "q.bmp", 0}, // the current picture is not among the rows
        {{"only.bmp"}, true, "only.bmp", 0},
        {{"only.bmp"}, false, "only.bmp", 0},
        {{chinese, "a.bmp", chinese}, true, chinese, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.join(',').toStdString() + (c.selectCurrent ? " true" : " false"));
        writeListFile(c.lines);
        BackgroundSelection selection;
        ASSERT_TRUE(LoadBGPicList(selection, c.selectCurrent));
        EXPECT_EQ(selection.CurBGPic, c.current);
        EXPECT_EQ(names(selection), c.lines);
        EXPECT_EQ(selection.BGIndex, c.index);
    }
}

TEST_F(BackgroundList, AMissingFileIsCreatedAndAnEmptyOneChangesNothing) {
    BackgroundSelection selection;
    ASSERT_TRUE(LoadBGPicList(selection, false));
    EXPECT_EQ(fileBytes(programFile("Data/BGPicList.ini")), "A1.bmp\r\nA1.bmp\r\n");
    EXPECT_EQ(selection.CurBGPic, "A1.bmp");
    EXPECT_EQ(names(selection), QStringList({"A1.bmp", "A1.bmp"}));
    EXPECT_EQ(selection.BGIndex, 0);

    selection = {"kept.bmp", {{0, "kept.bmp"}, {1, "other.bmp"}}, 1};
    writeBytes(programFile("Data/BGPicList.ini"), "");
    ASSERT_TRUE(LoadBGPicList(selection, true));
    EXPECT_EQ(selection.CurBGPic, "kept.bmp");
    EXPECT_EQ(names(selection), QStringList({"kept.bmp", "other.bmp"}));
    EXPECT_EQ(selection.BGIndex, 1);

    // A list file that cannot be read (here a folder of that name) is reported and changes nothing.
    QFile::remove(programFile("Data/BGPicList.ini"));
    ASSERT_TRUE(QDir(m_root.path()).mkpath("Data/BGPicList.ini"));
    EXPECT_FALSE(LoadBGPicList(selection, true));
    EXPECT_EQ(selection.CurBGPic, "kept.bmp");
}

TEST_F(BackgroundList, ConvertersChooseByExtensionAndNameTheBmpBesideThePicture) {
    const struct {
        const char* file;
        const char* bmp;
    } names[] = {
        {"/p/photo.JPG", "/p/photo.bmp"}, {"/p/a.b/photo", "/p/a.b/photo.bmp"},
        {"/p/x.tar.gz", "/p/x.tar.bmp"},  {"/p/picture.jpeg", "/p/picture.bmp"},
        {"/p/图片.Gif", "/p/图片.bmp"},
    };
    for (const auto& n : names)
        EXPECT_EQ(BmpNameFor(QString::fromUtf8(n.file)), QString::fromUtf8(n.bmp));

    ASSERT_TRUE(WriteBmp(Solid(4, 3, 0xFF102030), backgroundFile("plain.BMP")));
    EXPECT_EQ(PicToBmp(backgroundFile("plain.BMP")).BmpFile, backgroundFile("plain.BMP"));
    for (const char* other : {"picture.png", "picture", "a.bmpx", "dots.in.folder/name"}) {
        const BmpConversion none = PicToBmp(backgroundFile(other));
        EXPECT_TRUE(none.ok()) << other;
        EXPECT_TRUE(none.BmpFile.isEmpty()) << other;
    }
    writeBytes(backgroundFile("broken.jpg"), "\xFF\xD8\xFF garbage");
    const BmpConversion broken = PicToBmp(backgroundFile("broken.jpg"));
    EXPECT_FALSE(broken.ok());
    EXPECT_FALSE(QFile::exists(backgroundFile("broken.bmp"))) << "no file is written for a broken picture";
}

TEST_F(BackgroundList, ConfigSetBgIniTurnsTheQuestionOnAndOff) {
    const struct {
        const char* bytes; // nullptr: no file
        bool ask;
        const char* afterwards;
    } cases[] = {
        {nullptr, true, "1\r\n"},
        {"1\r\n", true, "1\r\n"},
        {"5\r\n", true, "5\r\n"},
        {"0\r\n", false, "0\r\n"},
        {"-3", false, "-3"},
        {"0\r\n1\r\n", false, "0\r\n1\r\n"},
        {"", true, ""},
        {"abc\r\n", true, "abc\r\n"},
        {" 0 \r\n", false, " 0 \r\n"},
    };
    const QString file = programFile("Data/configSetBg.ini");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes ? c.bytes : "missing");
        QFile::remove(file);
        if (c.bytes) writeBytes(file, c.bytes);
        ComposerSettings settings{false, 1, {}};
        ReadConfigSetBg(settings);
        EXPECT_EQ(settings.AskBeforeSet, c.ask);
        EXPECT_EQ(settings.SetAnswer, 0);
        EXPECT_EQ(settings.SetBgIniFile, file);
        EXPECT_EQ(fileBytes(file), c.afterwards);
    }
}

TEST_F(BackgroundList, BGIndexGoesBackAfterEachInstallationAndOnPastMissingFiles) {
    const TDeskBGSetFrm deskBGSet;
    writeBackground("a.bmp", 8, 8, 0xFF000000);
    writeBackground("b.bmp", 8, 8, 0xFF000000);
    auto walk = [&](BackgroundSelection selection, int clicks) {
        QStringList used;
        for (int i = 0; i < clicks; ++i) {
            const std::optional<QString> file = ChooseBackground(selection, deskBGSet);
            if (!file) {
                used.append("-" + QString::number(selection.BGIndex));
                continue;
            }
            used.append(QString::number(selection.BGIndex));
            StepBackAfterInstall(selection);
        }
        return used.join(' ');
    };
    const std::vector<TPicBGList> three{{0, "a.bmp"}, {1, "b.bmp"}, {2, "a.bmp"}};
    EXPECT_EQ(walk({"a.bmp", three, 2}, 5), "2 1 2 1 2");
    EXPECT_EQ(walk({"a.bmp", {{0, "a.bmp"}}, 0}, 3), "0 0 0");
    EXPECT_EQ(walk({"a.bmp", three, 0}, 3), "0 2 1"); // 0 is used only while BGIndex is 0
    // A missing file moves BGIndex one entry on (from the last to entry 1) and nothing is used that click.
    const std::vector<TPicBGList> gaps{{0, "a.bmp"}, {1, "gone.bmp"}, {2, "b.bmp"}, {3, "gone.bmp"}};
    EXPECT_EQ(walk({"a.bmp", gaps, 3}, 6), "-1 -2 2 -2 2 -2");
    EXPECT_EQ(walk({"gone.bmp", {{0, "gone.bmp"}, {1, "a.bmp"}}, 0}, 2), "-0 -0");
    EXPECT_EQ(walk({"a.bmp", {}, 0}, 1), "-0") << "an empty list uses nothing";
}
