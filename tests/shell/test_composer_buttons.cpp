// The main window's side of the composer: the settings and the background list read at start-up, and the
// two picture buttons reaching the composer with the note and the start-up month's picture.
#include "MainWindowFixture.h"

#include "ProgramFolder.h"
#include "WallpaperBackend.h"

#include <QFile>
#include <QImage>
#include <QTextEdit>

using namespace quenda;
using namespace quenda::test;

TEST_F(MainWindowTest, StartUpReadsWhetherToAskAndTheBackgroundList) {
    const struct {
        std::optional<QByteArray> file;
        bool ask;
    } cases[] = {{std::nullopt, true},
                 {"0\r\n", false},
                 {"-3\r\n", false},
                 {"5\r\n", true},
                 {"", true},
                 {"x\r\n", true},
                 {QByteArray("\xFF\x00", 2), true}};
    for (const auto& c : cases) {
        QFile::remove(Path("Data/configSetBg.ini"));
        if (c.file) WriteFile("Data/configSetBg.ini", *c.file);
        Create();
        EXPECT_EQ(m_form->ComposerState.AskBeforeSet, c.ask) << (c.file ? c.file->toStdString() : "missing");
        EXPECT_EQ(m_form->ComposerState.SetAnswer, 0);
        Destroy();
    }
    QFile::remove(Path("Data/configSetBg.ini"));
    QFile::remove(Path("Data/BGPicList.ini"));
    Create();
    EXPECT_EQ(ReadFile("Data/configSetBg.ini"), "1\r\n");
    EXPECT_EQ(ReadFile("Data/BGPicList.ini"), "A1.bmp\r\nA1.bmp\r\n");
    EXPECT_EQ(m_form->Backgrounds.CurBGPic, "A1.bmp");
    EXPECT_EQ(m_form->Backgrounds.PicBGList.size(), 2u);
    EXPECT_EQ(m_form->Backgrounds.BGIndex, 0);
}

TEST_F(MainWindowTest, TheWallpaperButtonPutsTheNoteOnTheNextBackground) {
    std::vector<QString> installed;
    WallpaperSeamForTesting() = [&](const QString& path) {
        installed.push_back(path);
        return WallpaperResult{true, {}, {}};
    };
    WriteFile("Data/configSetBg.ini", "0\r\n");
    WriteFile("Data/BGPicList.ini", "A1.bmp\r\nA1.bmp\r\nB.bmp\r\n");
    QImage background(1024, 768, QImage::Format_RGB32);
    background.fill(qRgb(10, 20, 30));
    ASSERT_TRUE(QDir().mkpath(Path("source/DeskTopBG")));
    for (const char* name : {"A1.bmp", "B.bmp"})
        ASSERT_TRUE(background.save(Path("source/DeskTopBG/") + name));
    CreateAndShow();
    EXPECT_EQ(m_form->Backgrounds.BGIndex, 2);
    Type("note on the desktop");

    m_form->imgAppToDeskClick();
    ASSERT_EQ(installed.size(), 1u);
    EXPECT_EQ(installed[0], ProgramPath("source/DeskTopBG/Mix.Bmp"));
    const QImage mix(Path("source/DeskTopBG/Mix.bmp"));
    ASSERT_EQ(mix.size(), QSize(1024, 768));
    EXPECT_NE(mix.pixel(700, 100), background.pixel(700, 100)); // the note box, 50 pixels from the right
    EXPECT_EQ(mix.pixel(100, 600), background.pixel(100, 600));
    EXPECT_EQ(m_form->Backgrounds.BGIndex, 1);
    EXPECT_TRUE(m_messages.isEmpty());
    WallpaperSeamForTesting() = {};
}
