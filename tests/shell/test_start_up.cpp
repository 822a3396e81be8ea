// Start-up and end: FormSize.ini with its defaults and fallbacks, the date label, what waits for the first
// paint, the window's icon, the close button and the menu's exit, one program per folder.
#include "MainWindowFixture.h"

#include "AppIcon.h"
#include "ChnCalendarPicker.h"
#include "LineListFile.h"
#include "ProgramFolder.h"
#include "SingleInstance.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QTextEdit>

#include <cctype>

using namespace quenda;
using namespace quenda::test;

namespace {

struct FormSizeCase {
    const char* name;
    QSize screen;
    std::optional<QByteArray> file; // nothing: no FormSize.ini
    QRect bounds;
    int curPage;
    QByteArray fileAfterShow;
};

void PrintTo(const FormSizeCase& c, std::ostream* out) {
    *out << c.name;
}

class FormSizeTest : public MainWindowTest, public ::testing::WithParamInterface<FormSizeCase> {};

} // namespace

TEST_P(FormSizeTest, PlacesTheWindowAndWritesTheFileOnlyWhenMissing) {
    const FormSizeCase& c = GetParam();
    m_screen = c.screen;
    if (c.file) WriteFile("Data/FormSize.ini", *c.file);
    CreateAndShow();
    EXPECT_EQ(m_form->geometry(), c.bounds);
    EXPECT_EQ(m_form->CurPage, c.curPage);
    EXPECT_EQ(ReadFile("Data/FormSize.ini"), c.fileAfterShow);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, FormSizeTest,
    ::testing::Values(
        FormSizeCase{"first start on 1920x1080",
                     {1920, 1080},
                     std::nullopt,
                     {585, 275, 750, 500},
                     1,
                     "1\r\n750\r\n500\r\n585\r\n275\r\n"},
        FormSizeCase{"first start on a 640-pixel screen",
                     {640, 480},
                     std::nullopt,
                     {-55, -25, 750, 500},
                     1,
                     "1\r\n750\r\n500\r\n-55\r\n-25\r\n"},
        FormSizeCase{"remembered bounds",
                     {1920, 1080},
                     "3\r\n900\r\n600\r\n10\r\n20\r\n",
                     {10, 20, 900, 600},
                     3,
                     "3\r\n900\r\n600\r\n10\r\n20\r\n"},
        FormSizeCase{"narrower than the minimum",
                     {1920, 1080},
                     "1\r\n600\r\n400\r\n10\r\n20\r\n",
                     {10, 20, 750, 500},
                     1,
                     "1\r\n600\r\n400\r\n10\r\n20\r\n"},
        FormSizeCase{"on a monitor that was removed",
                     {1920, 1080},
                     "2\r\n800\r\n600\r\n2500\r\n100\r\n",
                     {585, 275, 750, 500},
                     2,
                     "2\r\n800\r\n600\r\n2500\r\n100\r\n"},
        FormSizeCase{"partly visible",
                     {1920, 1080},
                     "1\r\n750\r\n500\r\n1800\r\n-100\r\n",
                     {1800, -100, 750, 500},
                     1,
                     "1\r\n750\r\n500\r\n1800\r\n-100\r\n"},
        FormSizeCase{"short file", {1920, 1080}, "3\r\n900\r\n", {585, 275, 750, 500}, 1, "3\r\n900\r\n"},
        FormSizeCase{"not numbers",
                     {1920, 1080},
                     "a\r\nb\r\nc\r\nd\r\ne\r\n",
                     {585, 275, 750, 500},
                     1,
                     "a\r\nb\r\nc\r\nd\r\ne\r\n"},
        FormSizeCase{"binary",
                     {1920, 1080},
                     QByteArray("\x00\xFF\x10\r\n\x80", 6),
                     {585, 275, 750, 500},
                     1,
                     QByteArray("\x00\xFF\x10\r\n\x80", 6)},
        FormSizeCase{"larger than any screen",
                     {1920, 1080},
                     "1\r\n99999\r\n500\r\n0\r\n0\r\n",
                     {585, 275, 750, 500},
                     1,
                     "1\r\n99999\r\n500\r\n0\r\n0\r\n"},
        // Numbers whose rectangle would have edges beyond an int: read as impossible, not wrapped around.
        FormSizeCase{"placed at the largest int",
                     {1920, 1080},
                     "1\r\n750\r\n500\r\n2147483647\r\n2147483647\r\n",
                     {585, 275, 750, 500},
                     1,
                     "1\r\n750\r\n500\r\n2147483647\r\n2147483647\r\n"},
        FormSizeCase{"sizes at the smallest int",
                     {1920, 1080},
                     "1\r\n-2147483648\r\n-2147483648\r\n0\r\n0\r\n",
                     {585, 275, 750, 500},
                     1,
                     "1\r\n-2147483648\r\n-2147483648\r\n0\r\n0\r\n"}),
    [](const ::testing::TestParamInfo<FormSizeCase>& info) {
        std::string name = info.param.name;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

TEST_F(MainWindowTest, ColoursTheEditorByThePageNumber) {
    const struct {
        int page;
        QColor colour;
    } cases[] = {{1, {250, 252, 225}}, {2, {251, 240, 252}}, {3, {224, 255, 227}},
                 {0, {192, 220, 192}}, {4, {192, 220, 192}}, {-7, {192, 220, 192}}};
    for (const auto& c : cases) {
        WriteFile("Data/FormSize.ini", QByteArray::number(c.page) + "\r\n750\r\n500\r\n0\r\n0\r\n");
        CreateAndShow();
        EXPECT_EQ(m_form->rdtAbc().palette().color(QPalette::Base), c.colour) << c.page;
        Destroy();
    }
}

TEST_F(MainWindowTest, ShowsTodaysDateAndComputesTheMonthPicture) {
    Create();
    EXPECT_EQ(m_form->lblDateTime().text(), QStringLiteral("今天是 2013年1月2日(三)"));
    EXPECT_EQ(DateLabelText(EncodeDate(2026, 12, 13)), QStringLiteral("今天是 2026年12月13日(日)"));
    EXPECT_EQ(m_form->MonthPicture, ProgramPath("source/Month/201301.bmp"));
    EXPECT_TRUE(m_form->MonthPicture.endsWith("/source/Month/201301.bmp"));
    EXPECT_EQ(m_form->CurPage, 0); // until the window is shown
}

// The first picture has today's note and the calendar; the web page, the calendar's menus and the
// background list come right after it, and a wallpaper picture clicked before then finds them too.
TEST_F(MainWindowTest, WhatTheFirstPictureDoesNotNeedComesAfterTheFirstPaint) {
    Exec(QStringLiteral("insert into UserCon values ('20130102', 'plain words')"));
    WriteFile("Data/BGPicList.ini", "A1.bmp\r\n");
    for (const bool clickFirst : {false, true}) {
        m_dm = std::make_unique<TDM>();
        ASSERT_TRUE(m_dm->DataModuleCreate());
        m_form = std::make_unique<TMainFrm>(*m_dm);
        EXPECT_EQ(m_form->rdtAbc().toPlainText(), QStringLiteral("plain words"));
        EXPECT_TRUE(m_form->webLink().toPlainText().isEmpty());
        EXPECT_TRUE(m_form->chnTavi().YearMenu().actions().isEmpty());
        if (clickFirst) {
            m_form->WallpaperComposer(); // what a wallpaper picture's click asks for first
        } else {
            Show();
            // The menus come last but one (the sync settings, the last, show nothing without a server).
            EXPECT_TRUE(QTest::qWaitFor([&] { return !m_form->chnTavi().YearMenu().actions().isEmpty(); }, 5000));
        }
        EXPECT_TRUE(m_form->webLink().toPlainText().contains(QStringLiteral("2013年1月 星期三")));
        EXPECT_FALSE(m_form->chnTavi().YearMenu().actions().isEmpty());
        EXPECT_EQ(m_form->Backgrounds.CurBGPic, QStringLiteral("A1.bmp")) << clickFirst;
        Destroy();
    }
}

// The windows show the hicolor pictures the desktop's menu shows; the tray draws the same icon with
// today's day, each size when it is asked for.
TEST(ProgramIcon, IsTheDrawingAtEverySize) {
    test::EnsureApplication();
    for (const int pixels : {16, 22, 24, 32, 48, 64}) {
        const QSize size(pixels, pixels);
        EXPECT_EQ(ProgramIcon().pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  AppIconImage(pixels, kAppIconDay))
            << pixels;
        const QString day = QStringLiteral("28");
        EXPECT_EQ(AppIconSet(day).pixmap(size).toImage(), AppIconImage(pixels, day)) << pixels;
    }
}

TEST_F(MainWindowTest, TheCloseButtonStoresTheNoteAndTheBounds) {
    CreateAndShow();
    Type("bye");
    m_form->move(40, 50);
    EXPECT_TRUE(m_form->img_close_highlightClick());
    EXPECT_EQ(ReadFile("Data/FormSize.ini"), "1\r\n750\r\n500\r\n40\r\n50\r\n");
    EXPECT_EQ(StoredText("20130102"), "bye");
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(MainWindowTest, TheMenuExitStoresTheBoundsAsTheCloseButtonDoes) {
    WriteFile("Data/FormSize.ini", "2\r\n800\r\n600\r\n10\r\n20\r\n");
    CreateAndShow();
    m_form->move(300, 300);
    m_form->N_ExitPrjClick();
    EXPECT_EQ(ReadFile("Data/FormSize.ini"), "2\r\n800\r\n600\r\n300\r\n300\r\n");
}

TEST_F(MainWindowTest, ADamagedFormSizeIsRewrittenAtClose) {
    WriteFile("Data/FormSize.ini", "garbage");
    CreateAndShow();
    EXPECT_TRUE(m_form->img_close_highlightClick());
    EXPECT_EQ(ReadFile("Data/FormSize.ini"), "1\r\n750\r\n500\r\n585\r\n275\r\n");
}

TEST_F(MainWindowTest, AFailedSaveAtTheCloseButtonSaysSoAndKeepsTheWindow) {
    CreateAndShow();
    Type("precious");
    Exec("create trigger refuse before update on UserCon begin select raise(abort, 'disk full'); end");
    Type("!");
    EXPECT_FALSE(m_form->img_close_highlightClick());
    EXPECT_EQ(m_messages, QStringList{QStringLiteral("保存记事失败，请重试！")});
    EXPECT_EQ(StoredText("20130102"), "precious"); // what was stored before stays
    Exec("drop trigger refuse");
    EXPECT_TRUE(m_form->img_close_highlightClick());
    EXPECT_EQ(StoredText("20130102"), "precious!");
}

TEST(SingleInstance, ASecondStartOfTheSameFolderBringsTheFirstForward) {
    test::EnsureApplication();
    QTemporaryDir one, two;
    SingleInstance first(one.path());
    ASSERT_FALSE(first.AskRunningProgramToShow());
    ASSERT_TRUE(first.Listen());
    QSignalSpy shown(&first, &SingleInstance::showRequested);

    SingleInstance second(one.path());
    EXPECT_TRUE(second.AskRunningProgramToShow());
    EXPECT_TRUE(shown.wait(2000));

    SingleInstance otherCopy(two.path());
    EXPECT_NE(otherCopy.ServerName(), first.ServerName());
    EXPECT_FALSE(otherCopy.AskRunningProgramToShow());
}
