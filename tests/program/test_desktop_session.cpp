// The real program on a desktop: ended by SIGTERM (the session's end) or from the desktop, it stores where
// its window really is and exits cleanly; a second start brings the first window forward and ends. On X11
// (Xvfb with openbox) and on Wayland (a headless Weston). Weston's headless backend has no input seat, so
// what needs a key or a click (Alt+F4, the close button, the menu) is driven on X11 only, and through the
// window's own handlers in the main-window tests.
#include "ProgramDriver.h"
#include "StoreFixture.h"

#include <QFile>

#include <functional>

using namespace quenda::test;

namespace {

// The program's main window once the window manager shows it.
QString MainWindowOnceShown(ProgramRun& run) {
    QString window;
    Eventually([&] { return !(window = run.MainWindowId()).isEmpty(); });
    return window;
}

class DesktopSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        ASSERT_TRUE(CopyFolder(QStringLiteral(QUENDA_APP_DIR), m_folder));
    }
    void WriteFormSize(const QByteArray& lines) {
        QFile file(m_folder + QStringLiteral("/Data/FormSize.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(lines) == lines.size());
    }
    QByteArray FormSize() const {
        QFile file(m_folder + QStringLiteral("/Data/FormSize.ini"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QTemporaryDir m_root;
    const QString m_folder = m_root.filePath(QStringLiteral("app"));
};

class X11SessionTest : public DesktopSessionTest {
protected:
    void SetUp() override {
        DesktopSessionTest::SetUp();
        if (!CanDriveDesktop()) GTEST_SKIP() << "Xvfb and xdotool are needed to drive the program";
        ASSERT_FALSE(m_display.Display().isEmpty()) << "Xvfb did not start";
        m_windowManager = std::make_unique<WindowManager>(m_display.Display());
        if (!m_windowManager->Running()) GTEST_SKIP() << "openbox is needed as the desktop's window manager";
    }
    XServer m_display;
    std::unique_ptr<WindowManager> m_windowManager;
};

class WaylandSessionTest : public DesktopSessionTest {
protected:
    void SetUp() override {
        DesktopSessionTest::SetUp();
        if (m_weston.Socket().isEmpty()) GTEST_SKIP() << "weston and qt6-wayland are needed";
    }
    WestonServer m_weston;
};

} // namespace

TEST_F(X11SessionTest, SigtermAndTheDesktopsCloseStoreWhereTheWindowWasMoved) {
    const struct {
        const char* name;
        std::function<void(ProgramRun&)> end;
    } ways[] = {
        {"SIGTERM", [](ProgramRun& run) { run.Terminate(); }},
        {"Alt+F4", [](ProgramRun& run) { run.Xdotool({"key", "alt+F4"}); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        WriteFormSize("1\r\n750\r\n500\r\n0\r\n0\r\n");
        ProgramRun run(m_folder, m_display.Display());
        ASSERT_TRUE(run.Start());
        ASSERT_TRUE(run.WaitFor(QStringLiteral("painted"), 20000));
        const QString window = MainWindowOnceShown(run);
        // The key comes after the move's news, so once its save is reported the program knows where it is.
        run.Xdotool({"windowmove", "--sync", window, "100", "120", "windowactivate", "--sync", window, "type",
                     "x"});
        ASSERT_TRUE(run.WaitFor(QStringLiteral("saved "), 10000)) << run.Reports().join('\n').toStdString();
        way.end(run);
        EXPECT_TRUE(run.WaitForCleanExit(10000)) << run.Reports().join('\n').toStdString();
        EXPECT_EQ(FormSize(), "1\r\n750\r\n500\r\n100\r\n120\r\n");
    }
}

TEST_F(X11SessionTest, ASecondStartBringsBackTheMinimisedWindowAndEnds) {
    ProgramRun first(m_folder, m_display.Display());
    ASSERT_TRUE(first.Start());
    ASSERT_TRUE(first.WaitFor(QStringLiteral("painted"), 20000));
    const QString window = MainWindowOnceShown(first);
    first.Xdotool({"windowminimize", "--sync", window});
    ASSERT_TRUE(Eventually([&] { return first.MainWindowId().isEmpty(); }));

    ProgramRun second(m_folder, m_display.Display());
    second.SetVariable(QStringLiteral("XDG_ACTIVATION_TOKEN"), QStringLiteral("launch-1"));
    ASSERT_TRUE(second.Start());
    EXPECT_TRUE(second.WaitForCleanExit(10000));
    EXPECT_TRUE(first.WaitFor(QStringLiteral("front launch-1"), 5000));
    EXPECT_TRUE(Eventually([&] { return first.XdotoolOutput({"getactivewindow"}) == window; }));
}

TEST_F(WaylandSessionTest, OnlyTheSizeIsRestoredASecondStartPassesItsTokenAndSigtermStoresTheSize) {
    // Smaller than the window can be, and off Weston's only screen: X11 would have started at the defaults.
    WriteFormSize("1\r\n600\r\n400\r\n5000\r\n5000\r\n");
    ProgramRun first(m_folder, QString());
    first.UseWayland(m_weston);
    ASSERT_TRUE(first.Start());
    ASSERT_TRUE(first.WaitFor(QStringLiteral("painted"), 20000)) << first.Reports().join('\n').toStdString();

    ProgramRun second(m_folder, QString());
    second.UseWayland(m_weston);
    second.SetVariable(QStringLiteral("XDG_ACTIVATION_TOKEN"), QStringLiteral("launch-2"));
    ASSERT_TRUE(second.Start());
    EXPECT_TRUE(second.WaitForCleanExit(10000));
    EXPECT_TRUE(first.WaitFor(QStringLiteral("front launch-2"), 5000));
    // Weston 10 has no xdg-activation, and without a seat no window is ever active.
    EXPECT_TRUE(first.WaitFor(QStringLiteral("attention"), 5000));

    first.Terminate();
    EXPECT_TRUE(first.WaitForCleanExit(10000)) << first.Reports().join('\n').toStdString();
    EXPECT_EQ(FormSize(), "1\r\n750\r\n500\r\n5000\r\n5000\r\n");
}
