// Every way the program ends stores the window's bounds, once; where the window system places windows
// itself (Wayland) only the size is applied and stored; a second start hands over its activation token.
#include "MainWindowFixture.h"

#include "SingleInstance.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QWindow>

#include <functional>

using namespace quenda;
using namespace quenda::test;

namespace {

// What the window system does when the user closes the window from the desktop (Alt+F4, the window list).
bool CloseFromDesktop(TMainFrm& form) {
    QCloseEvent close;
    QCoreApplication::sendEvent(form.windowHandle(), &close);
    return close.isAccepted();
}

} // namespace

TEST_F(MainWindowTest, EveryWayOfEndingStoresTheBoundsOnce) {
    const struct {
        const char* name;
        std::function<void(TMainFrm&)> end;
    } ways[] = {
        {"close button", [](TMainFrm& form) { EXPECT_TRUE(form.img_close_highlightClick()); }},
        {"desktop close", [](TMainFrm& form) { EXPECT_TRUE(CloseFromDesktop(form)); }},
        {"session end", [](TMainFrm& form) { form.SessionCommitData(); }},
        {"SIGTERM", [](TMainFrm& form) { form.EndOnSignal(); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        WriteFile("Data/FormSize.ini", "2\r\n800\r\n600\r\n10\r\n20\r\n");
        CreateAndShow();
        m_form->setGeometry(40, 50, 900, 650);
        way.end(*m_form);
        EXPECT_EQ(ReadFile("Data/FormSize.ini"), "2\r\n900\r\n650\r\n40\r\n50\r\n");
        // What follows on the way out (the window closing as the program quits, aboutToQuit) adds nothing.
        QFile::remove(Path("Data/FormSize.ini"));
        CloseFromDesktop(*m_form);
        m_form->StoreBounds();
        EXPECT_FALSE(QFile::exists(Path("Data/FormSize.ini")));
        Destroy();
    }
}

TEST_F(MainWindowTest, ADesktopCloseEndsWithAnUnwritableFormSizeButNotWithAnUnstoredNote) {
    CreateAndShow();
    ASSERT_TRUE(QFile::remove(Path("Data/FormSize.ini")) && QDir().mkpath(Path("Data/FormSize.ini")));
    Type("kept");
    Exec("create trigger refuse before update on UserCon begin select raise(abort, 'disk full'); end");
    Type("!");
    EXPECT_FALSE(CloseFromDesktop(*m_form));
    EXPECT_EQ(m_messages, QStringList{QStringLiteral("保存记事失败，请重试！")});
    Exec("drop trigger refuse");
    EXPECT_TRUE(CloseFromDesktop(*m_form));
    EXPECT_EQ(StoredText("20130102"), "kept!");
}

TEST_F(MainWindowTest, WhereTheWindowSystemPlacesWindowsOnlyTheSizeIsRestoredAndStored) {
    SetScreensForTesting([] { return ScreenLayout{{1920, 1080}, {QRect(0, 0, 1920, 1080)}, false}; });
    const struct {
        const char* name;
        QByteArray file; // empty: none
        QSize shown;
        QByteArray fileAtEnd;
    } cases[] = {
        {"remembered", "3\r\n900\r\n600\r\n10\r\n20\r\n", {900, 600}, "3\r\n820\r\n640\r\n10\r\n20\r\n"},
        {"off every screen", "1\r\n800\r\n600\r\n5000\r\n-3000\r\n", {800, 600},
         "1\r\n820\r\n640\r\n5000\r\n-3000\r\n"},
        {"first start", "", {750, 500}, "1\r\n820\r\n640\r\n585\r\n275\r\n"},
        {"impossible position", "1\r\n800\r\n600\r\n2147483647\r\n0\r\n", {800, 600},
         "1\r\n820\r\n640\r\n585\r\n275\r\n"},
        {"impossible size", "1\r\n99999\r\n600\r\n10\r\n20\r\n", {750, 500}, "1\r\n820\r\n640\r\n10\r\n20\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(Path("Data/FormSize.ini"));
        if (!c.file.isEmpty()) WriteFile("Data/FormSize.ini", c.file);
        Create();
        const QPoint unplaced = m_form->pos();
        Show();
        EXPECT_EQ(m_form->size(), c.shown);
        EXPECT_EQ(m_form->pos(), unplaced);
        m_form->setGeometry(40, 50, 820, 640); // the compositor's size, and a position only Qt believes
        EXPECT_TRUE(m_form->img_close_highlightClick());
        EXPECT_EQ(ReadFile("Data/FormSize.ini"), c.fileAtEnd);
        Destroy();
    }
}

TEST(SingleInstance, ASecondStartHandsOverItsActivationTokenAndOddLinesAreNoRequest) {
    const struct {
        QByteArray line;
        std::optional<QString> token;
    } cases[] = {
        {"show\n", ""},
        {"show gnome-shell/quenda/1234-5_TIME678\n", "gnome-shell/quenda/1234-5_TIME678"},
        {"show " + QByteArray(1024, 'a'), QString(1024, 'a')},
        {"show " + QByteArray(1025, 'a') + "\n", ""},
        {"show two words\n", ""},
        {"show caf\xC3\xA9\n", ""},
        {"show \x01\n", ""},
        {"showing\n", std::nullopt},
        {"quit\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SingleInstance::ParseRequest(c.line), c.token) << c.line.left(40).constData();

    test::EnsureApplication();
    QTemporaryDir folder;
    SingleInstance first(folder.path());
    ASSERT_TRUE(first.Listen());
    QSignalSpy shown(&first, &SingleInstance::showRequested);
    EXPECT_TRUE(SingleInstance(folder.path()).AskRunningProgramToShow(QStringLiteral("token-1")));
    ASSERT_TRUE(shown.wait(2000));
    EXPECT_EQ(shown.at(0).at(0).toString(), QStringLiteral("token-1"));
}
