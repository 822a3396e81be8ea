// The real program right after start, under a real window manager (openbox) and without one: drags by
// either button move the window with the pointer and end with the release, an edge drag resizes, menus and
// dialogs open over the window, and a fast pointer lights only the chrome button it is on.
#include "ProgramDriver.h"
#include "StoreFixture.h"

#include <QDir>

using namespace quenda::test;

// Places and bounds in failure messages, found by argument-dependent lookup beside Qt's types.
static std::ostream& operator<<(std::ostream& out, QPoint p) {
    return out << "(" << p.x() << ", " << p.y() << ")";
}
static std::ostream& operator<<(std::ostream& out, const QRect& r) {
    return out << r.size().width() << "x" << r.size().height() << " at " << r.topLeft();
}

namespace {

constexpr QPoint kPlace(120, 100); // away from the origin, where a window with a stale position thinks it is
constexpr QSize kSize(750, 500);

QStringList PointerTo(QPoint at) {
    return {"mousemove", QString::number(at.x()), QString::number(at.y())};
}

class DesktopTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        EnsureApplication();
        if (!CanDriveDesktop() || !CanRunWindowManager())
            GTEST_SKIP() << "Xvfb, xdotool, openbox and ImageMagick are needed to drive the program";
        m_server = std::make_unique<XServer>();
        ASSERT_FALSE(Display().isEmpty()) << "Xvfb did not start";
        if (GetParam()) {
            m_manager = std::make_unique<WindowManager>(Display());
            ASSERT_TRUE(m_manager->Running()) << "openbox did not start";
        }
        ASSERT_TRUE(CopyFolder(QStringLiteral(QUENDA_APP_DIR), Folder()));
    }

    QString Display() const { return m_server->Display(); }
    QString Folder() const { return m_root.filePath(QStringLiteral("app")); }
    QPoint At(int x, int y) const { return kPlace + QPoint(x, y); } // a point of the window where it starts
    void Do(const QStringList& xdotool) { m_run->Xdotool(xdotool); }
    QRect Main() const { return Shown(0).value_or(ShownWindow{}).bounds; }
    std::optional<ShownWindow> Shown(std::size_t index) const {
        const std::vector<ShownWindow> windows = ShownWindows(Display());
        return index < windows.size() ? std::optional(windows[index]) : std::nullopt;
    }
    QImage Look(QPoint at) const { return ScreenPicture(Display()).copy(QRect(at, QSize(12, 12))); }

    void Start() {
        PlaceWindowAt(Folder(), kPlace);
        m_run = std::make_unique<ProgramRun>(Folder(), Display());
        ASSERT_TRUE(m_run->Start());
        ASSERT_TRUE(m_run->WaitFor(QStringLiteral("painted"), 20000));
        ASSERT_TRUE(Eventually([&] { return Main() == QRect(kPlace, kSize); })) << "shown at " << Main();
    }

    // Presses `button` at `from`, takes the pointer `by` further, and releases once the window is `expected`.
    void Drag(QPoint from, QPoint by, const char* button, QRect expected) {
        Do(PointerTo(from) << "mousedown" << button);
        // A window manager takes over once the program has asked it to: step until the window follows.
        const QRect before = Main();
        for (int step = 1; step <= 10 && Main() == before; ++step)
            Do(PointerTo(from + by * step / 10));
        Do(PointerTo(from + by));
        Eventually([&] { return Main() == expected; });
        Do({"mouseup", button});
        EXPECT_EQ(Main(), expected);
    }

    // Waits for a window besides the main one and returns it, after pressing `keys` in it to close it.
    std::optional<ShownWindow> OpenedAndClosed(const QStringList& keys) {
        std::optional<ShownWindow> opened;
        if (!Eventually([&] { return (opened = Shown(1)).has_value(); })) return std::nullopt;
        Do(QStringList{"windowfocus", opened->id, "key"} + keys);
        EXPECT_TRUE(Eventually([&] { return !Shown(1); })) << "the window did not close";
        return opened;
    }

    QTemporaryDir m_root;
    std::unique_ptr<XServer> m_server;
    std::unique_ptr<WindowManager> m_manager;
    std::unique_ptr<ProgramRun> m_run;
};

} // namespace

TEST_P(DesktopTest, DragsByEitherButtonMoveTheWindowWithThePointerUntilTheRelease) {
    for (const char* button : {"1", "3"}) {
        SCOPED_TRACE(std::string("button ") + button);
        Start();
        // Background whose screen point, read as a point of the window, would lie on its right edge.
        const QPoint grip = At(640, 40), by(60, 40);
        Drag(grip, by, button, QRect(kPlace + by, kSize));
        Do(PointerTo(grip + by + QPoint(90, 0)));
        EXPECT_FALSE(Eventually([&] { return Main() != QRect(kPlace + by, kSize); }, 500)) << "still following";
        m_run->Kill();
    }
}

TEST_P(DesktopTest, ADragOnTheRightEdgeResizesTheWindow) {
    Start();
    Drag(At(747, 250), QPoint(40, 0), "1", QRect(kPlace, kSize + QSize(40, 0)));
}

TEST_P(DesktopTest, TheOptionsMenuAndTheNotesMenuOpenAtThePointer) {
    Start();
    const QPoint options = At(605, 62), note = At(530, 380);
    Do(PointerTo(options) << "click" << "1");
    const std::optional<ShownWindow> menu = OpenedAndClosed({"Escape"});
    ASSERT_TRUE(menu);
    // Under the label's bottom-left corner: a little left of the click, a little below it.
    EXPECT_TRUE(QRect(options - QPoint(30, 0), QSize(31, 20)).contains(menu->bounds.topLeft())) << menu->bounds;
    Do(PointerTo(note) << "click" << "3");
    const std::optional<ShownWindow> noteMenu = OpenedAndClosed({"Escape"});
    ASSERT_TRUE(noteMenu);
    EXPECT_EQ(noteMenu->bounds.topLeft(), note);
}

TEST_P(DesktopTest, TheColourDialogAndAMessageBoxOpenOverTheWindow) {
    // An unreadable background list: the background-picture button answers with a message box.
    ASSERT_TRUE(QDir().mkpath(Folder() + QStringLiteral("/Data/BGPicList.ini")));
    Start();
    Do(PointerTo(At(530, 380)) << "click" << "1"); // the colour tool colours the note it has the focus
    for (const QPoint button : {At(451, 66), At(158, 390)}) { // the note's colour, the background pictures
        Do(PointerTo(button) << "click" << "1");
        const std::optional<ShownWindow> dialog = OpenedAndClosed({"Escape"});
        ASSERT_TRUE(dialog) << "nothing opened at " << button;
        // Centred on the window; a window manager's title bar moves it down a little.
        EXPECT_LT((dialog->bounds.center() - QRect(kPlace, kSize).center()).manhattanLength(), 50) << dialog->bounds;
    }
}

TEST_P(DesktopTest, AFastMoveFromMinimiseOntoCloseLightsOnlyClose) {
    Start();
    const QPoint mini = At(683, 6), close = At(716, 6);
    Do(PointerTo(At(400, 40)));
    const QImage miniAtRest = Look(mini), closeAtRest = Look(close);
    Do(PointerTo(mini));
    ASSERT_TRUE(Eventually([&] { return Look(mini) != miniAtRest; })) << "minimise did not light up";
    Do(PointerTo(close));
    ASSERT_TRUE(Eventually([&] { return Look(close) != closeAtRest; })) << "close did not light up";
    EXPECT_TRUE(Eventually([&] { return Look(mini) == miniAtRest; }, 3000)) << "minimise stayed lit";
}

INSTANTIATE_TEST_SUITE_P(Desktop, DesktopTest, ::testing::Bool(), [](const auto& info) {
    return info.param ? "UnderOpenbox" : "WithoutWindowManager";
});
