// The "添加到桌面" button: the confirmation window and configSetBg.ini, the passage through JPEG, the
// installation through the backend, and what a failure at each step leaves behind.
#include "Composer.h"
#include "PictureFile.h"
#include "WallpaperTestSupport.h"
#include "uDeskBGSet.h"
#include "uInfoFrm.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTest>

using namespace quenda;
using namespace quenda::test;

class Installation : public ComposerTest {
protected:
    void SetUp() override {
        ComposerTest::SetUp();
        writeBackground("A1.bmp", 400, 240, 0xFF406080);
        writeBackground("b.bmp", 400, 240, 0xFF804060);
        ReadConfigSetBg(m_settings);
        m_composer = std::make_unique<Composer>(m_settings);
    }
    InstallOutcome click(const QString& note = "note", const QString& month = {}) {
        return m_composer->InstallWallpaper(nullptr, m_selection, note, month);
    }
    QString configFile() const { return programFile("Data/configSetBg.ini"); }

    ComposerSettings m_settings;
    std::unique_ptr<Composer> m_composer;
    BackgroundSelection m_selection{"A1.bmp", {{0, "A1.bmp"}, {1, "A1.bmp"}, {2, "b.bmp"}}, 2};
};

TEST_F(Installation, AsksUntilConfirmedWithTheBoxTickedAndRemembersItInConfigSetBgIni) {
    ASSERT_EQ(fileBytes(configFile()), "1\r\n");
    ASSERT_TRUE(m_settings.AskBeforeSet);
    using Answer = std::function<void(TInforFrm&)>;
    const struct {
        const char* how;
        Answer answer;
        InstallOutcome outcome;
        const char* config;
    } answers[] = {
        {"cancel with the box ticked",
         [](TInforFrm& w) {
             w.chkSetBgInfo->setChecked(true);
             w.btncancel->click();
         },
         InstallOutcome::Declined, "1\r\n"},
        {"X", [](TInforFrm& w) { w.btnClose->click(); }, InstallOutcome::Declined, "1\r\n"},
        {"OK with the box clear",
         [](TInforFrm& w) {
             w.chkSetBgInfo->setChecked(false);
             w.btnok->click();
         },
         InstallOutcome::Installed, "1\r\n"},
        // After a "yes", dismissing the question by another way must not install.
        {"Escape", [](TInforFrm& w) { QTest::keyClick(&w, Qt::Key_Escape); }, InstallOutcome::Declined,
         "1\r\n"},
        {"OK with the box ticked",
         [](TInforFrm& w) {
             w.chkSetBgInfo->setChecked(true);
             w.btnok->click();
         },
         InstallOutcome::Installed, "0\r\n"},
    };
    int installed = 0;
    for (const auto& a : answers) {
        SCOPED_TRACE(a.how);
        whenModalOpens([&a](QWidget* modal) { a.answer(static_cast<TInforFrm&>(*modal)); });
        EXPECT_EQ(click(), a.outcome);
        installed += a.outcome == InstallOutcome::Installed;
        EXPECT_EQ(m_installed.size(), installed);
        EXPECT_EQ(m_settings.SetAnswer, a.outcome == InstallOutcome::Installed ? 1 : 0);
        EXPECT_EQ(fileBytes(configFile()), a.config);
    }
    EXPECT_FALSE(m_settings.AskBeforeSet);
    EXPECT_TRUE(m_composer->Infor().chkSetBgInfo->isChecked()) << "kept as the user left it";

    bool asked = false;
    whenModalOpens([&asked](QWidget* modal) {
        asked = true;
        static_cast<TInforFrm*>(modal)->btncancel->click();
    });
    EXPECT_EQ(click(), InstallOutcome::Installed);
    EXPECT_FALSE(asked);
    ComposerSettings nextRun;
    ReadConfigSetBg(nextRun);
    EXPECT_FALSE(nextRun.AskBeforeSet);
}

TEST_F(Installation, PassesTheCompositionThroughJpegAndInstallsMixBmp) {
    m_settings.AskBeforeSet = false;
    ASSERT_EQ(click(QString::fromUtf8("今天 A&B")), InstallOutcome::Installed);
    ASSERT_EQ(m_installed, QStringList{backgroundFile("Mix.bmp")})
        << "Mix.Bmp names the file written as Mix.bmp";
    EXPECT_EQ(m_composer->DeskBGSet().BackgroundFile, backgroundFile("b.bmp"));
    EXPECT_EQ(m_selection.BGIndex, 1);

    const QByteArray jpeg = fileBytes(backgroundFile("Mix.Jpg"));
    EXPECT_TRUE(jpeg.startsWith("\xFF\xD8\xFF"));
    EXPECT_TRUE(jpeg.contains("\xFF\xC0")) << "baseline";
    EXPECT_FALSE(jpeg.contains("\xFF\xC2"));
    EXPECT_EQ(static_cast<unsigned char>(jpeg[jpeg.indexOf("\xFF\xDB") + 5]), 3) << "quality 90";
    const QImage mix = ReadPicture(backgroundFile("Mix.bmp")).image;
    EXPECT_EQ(mix, DecodeJpeg(jpeg).image) << "Mix.bmp is the picture decoded from Mix.Jpg";
    EXPECT_EQ(static_cast<unsigned char>(fileBytes(backgroundFile("Mix.bmp"))[28]), 24);
    EXPECT_NE(mix.pixel(10, 10), mix.pixel(400 - 50 - 100, 100)) << "the note box is on it";

    // The next clicks go round the list: entry 1, then 2 again.
    ASSERT_EQ(click(), InstallOutcome::Installed);
    EXPECT_EQ(m_composer->DeskBGSet().BackgroundFile, backgroundFile("A1.bmp"));
    EXPECT_EQ(m_selection.BGIndex, 2);
}

TEST_F(Installation, EveryFailureIsToldAndLeavesBGIndexWhereItWas) {
    m_settings.AskBeforeSet = false;
    writeBackground("small.bmp", 357, 240, 0xFF000000);
    writeBytes(backgroundFile("broken.bmp"), "BM\x10\x00 broken");
    writeBytes(programFile("broken month.bmp"), "");
    const QString refused =
        QString::fromUtf8("设置桌面壁纸失败。壁纸图片已保存在：\n") + backgroundFile("Mix.bmp");
    const struct {
        const char* how;
        QString background, month;
        WallpaperResult backend;
        InstallOutcome outcome;
        QStringList messages;
    } cases[] = {
        {"too small",
         "small.bmp",
         {},
         {true, {}, {}},
         InstallOutcome::ComposeFailed,
         {kComposeFailedMessage}},
        {"unreadable",
         "broken.bmp",
         {},
         {true, {}, {}},
         InstallOutcome::ComposeFailed,
         {kComposeFailedMessage}},
        {"broken month picture",
         "A1.bmp",
         programFile("broken month.bmp"),
         {true, {}, {}},
         InstallOutcome::ComposeFailed,
         {kComposeFailedMessage}},
        {"desktop refuses",
         "A1.bmp",
         {},
         {false, refused, "exit code 1"},
         InstallOutcome::InstallFailed,
         {refused}},
    };
    // Mix.bmp holds the wallpaper installed before; a failed composition must leave it alone.
    writeBackground("Mix.bmp", 16, 16, 0xFF123456);
    const QByteArray installedBefore = fileBytes(backgroundFile("Mix.bmp"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        m_messages.clear();
        m_installed.clear();
        m_backendResult = c.backend;
        m_selection = {"A1.bmp", {{0, "A1.bmp"}, {1, c.background}}, 1};
        EXPECT_EQ(click("note", c.month), c.outcome);
        EXPECT_EQ(m_messages, c.messages);
        EXPECT_EQ(m_selection.BGIndex, 1);
        EXPECT_EQ(m_installed.size(), c.outcome == InstallOutcome::InstallFailed ? 1 : 0);
        if (c.outcome == InstallOutcome::ComposeFailed) {
            EXPECT_EQ(fileBytes(backgroundFile("Mix.bmp")), installedBefore);
        }
    }
    // A missing background: nothing is said, BGIndex moves one entry on.
    m_messages.clear();
    m_selection = {"A1.bmp", {{0, "A1.bmp"}, {1, "gone.bmp"}, {2, "b.bmp"}}, 1};
    EXPECT_EQ(click(), InstallOutcome::BackgroundMissing);
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(m_selection.BGIndex, 2);
}

TEST_F(Installation, WithAMonthPictureAndABlankNoteOnlyTheMonthPictureIsBlended) {
    m_settings.AskBeforeSet = false;
    ASSERT_TRUE(WriteBmp(Solid(100, 120, 0xFF000000), programFile("month.bmp")));
    QFile::remove(backgroundFile("Content.bmp"));
    ASSERT_EQ(click(" \r\n\r\n\t", programFile("month.bmp")), InstallOutcome::Installed);
    EXPECT_EQ(ReadPicture(backgroundFile("Content.bmp")).image.width(), 100)
        << "written, as wide as the month";
    const QImage mix = ReadPicture(backgroundFile("Mix.bmp")).image;
    const QImage background = Solid(1, 1, 0xFF804060);
    // Below the month picture (rows 150 on) the background shows, give or take JPEG.
    auto near = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) < 8 && std::abs(qGreen(a) - qGreen(b)) < 8 &&
               std::abs(qBlue(a) - qBlue(b)) < 8;
    };
    EXPECT_TRUE(near(mix.pixel(300, 200), background.pixel(0, 0)));
    EXPECT_FALSE(near(mix.pixel(300, 100), background.pixel(0, 0)));
}
