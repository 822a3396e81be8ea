// The wallpaper backends: the desktop family from XDG_CURRENT_DESKTOP, each Linux family's commands as
// fake programs on PATH record them, failures that name the picture's file, and real gsettings on a
// private key file.
#include "QtTestApplication.h"
#include "WallpaperBackend.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quenda;

namespace {

QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "platform_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    return app ? *app : *QCoreApplication::instance();
}

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const QByteArray& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedVariable() { m_had ? qputenv(m_name, m_old) : qunsetenv(m_name); }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

// Fake desktop tools in a folder of their own: each records its name and arguments (NUL between the
// fields, 0x1E after each call), fails when an argument equals $FAKE_FAIL_ON, and xfconf-query -l lists
// two monitors.
class FakeCommands {
public:
    FakeCommands() {
        application();
        for (const char* program : {"gsettings", "dbus-send", "xfconf-query", "feh"})
            write(program);
    }
    QString folder() const { return m_dir.path(); }
    QString log() const { return m_dir.filePath("calls.log"); }
    void remove(const char* program) { QFile::remove(m_dir.filePath(program)); }

    // Each call as "program arg arg ...", the arguments joined by blanks.
    QStringList calls() const {
        QFile file(log());
        if (!file.open(QIODevice::ReadOnly)) return {};
        QStringList calls;
        for (const QByteArray& record : file.readAll().split('\x1e')) {
            if (record.isEmpty()) continue;
            QList<QByteArray> fields = record.split('\0');
            fields.removeLast(); // after the last NUL
            QStringList words;
            for (const QByteArray& field : fields)
                words.append(QString::fromUtf8(field));
            calls.append(words.join(' '));
        }
        return calls;
    }

private:
    void write(const char* program) {
        QFile file(m_dir.filePath(program));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            "#!/bin/sh\n"
            "printf '%s\\0' \"${0##*/}\" \"$@\" >> \"$FAKE_LOG\"\n"
            "printf '\\036' >> \"$FAKE_LOG\"\n"
            "for a in \"$@\"; do [ -n \"$FAKE_FAIL_ON\" ] && [ \"$a\" = \"$FAKE_FAIL_ON\" ] && exit 1; done\n"
            "if [ \"${0##*/}\" = xfconf-query ] && [ \"$3\" = -l ]; then\n"
            "  echo /backdrop/screen0/monitorVGA-1/workspace0/last-image\n"
            "  echo /backdrop/screen0/monitorVGA-1/workspace0/image-style\n"
            "  echo /backdrop/screen0/monitorHDMI-1/workspace1/last-image\n"
            "fi\n"
            "exit 0\n");
        file.setPermissions(file.permissions() | QFile::ExeOwner);
    }
    QTemporaryDir m_dir;
};

QString plasmaCall(const QString& image) {
    return "dbus-send --session --dest=org.kde.plasmashell --type=method_call --print-reply /PlasmaShell "
           "org.kde.PlasmaShell.evaluateScript string:var all = desktops();\n"
           "for (var i = 0; i < all.length; i++) {\n"
           "    var d = all[i];\n"
           "    d.wallpaperPlugin = \"org.kde.image\";\n"
           "    d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", \"General\"];\n"
           "    d.writeConfig(\"Image\", \"" +
           image +
           "\");\n"
           "    d.writeConfig(\"FillMode\", 0);\n"
           "}\n";
}

const QString kPath = QString::fromUtf8("/home/用户/日历/source/DeskTopBG/Mix.bmp");
const QString kUri = "file:///home/%E7%94%A8%E6%88%B7/%E6%97%A5%E5%8E%86/source/DeskTopBG/Mix.bmp";

} // namespace

TEST(WallpaperBackend, TellsTheDesktopFamilyFromItsIdentity) {
    // clang-format off
    const struct { const char* desktop; bool x11, wayland; DesktopFamily family; } cases[] = {
        {"GNOME", false, true, DesktopFamily::Gnome},        {"ubuntu:GNOME", true, false, DesktopFamily::Gnome},
        {"Budgie:GNOME", true, false, DesktopFamily::Gnome},  {"Unity", true, false, DesktopFamily::Gnome},
        {"X-Cinnamon", true, false, DesktopFamily::Cinnamon}, {"MATE", true, false, DesktopFamily::Mate},
        {"KDE", false, true, DesktopFamily::Kde},             {"XFCE", true, false, DesktopFamily::Xfce},
        {"LXQt", true, false, DesktopFamily::OtherX11},       {"", true, false, DesktopFamily::OtherX11},
        {"sway", false, true, DesktopFamily::Unknown},        {"", false, false, DesktopFamily::Unknown},
        {"", true, true, DesktopFamily::Unknown},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(DesktopFamilyOf({c.desktop, c.x11, c.wayland}), c.family)
            << c.desktop << c.x11 << c.wayland;
}

TEST(WallpaperBackend, EachLinuxFamilyRunsItsCommandsSettingAnotherValueFirst) {
    const QString gs = "gsettings set ";
    const QString xfconf = "xfconf-query -c xfce4-desktop ";
    const QString vga = "/backdrop/screen0/monitorVGA-1/workspace0/",
                  hdmi = "/backdrop/screen0/monitorHDMI-1/workspace1/";
    const struct {
        DesktopFamily family;
        QStringList calls;
    } cases[] = {
        {DesktopFamily::Gnome,
         {gs + "org.gnome.desktop.background picture-options 'stretched'",
          gs + "org.gnome.desktop.background picture-uri ''",
          gs + "org.gnome.desktop.background picture-uri '" + kUri + "'",
          gs + "org.gnome.desktop.background picture-uri-dark ''",
          gs + "org.gnome.desktop.background picture-uri-dark '" + kUri + "'"}},
        {DesktopFamily::Cinnamon,
         {gs + "org.cinnamon.desktop.background picture-options 'stretched'",
          gs + "org.cinnamon.desktop.background picture-uri ''",
          gs + "org.cinnamon.desktop.background picture-uri '" + kUri + "'"}},
        {DesktopFamily::Mate,
         {gs + "org.mate.background picture-options 'stretched'",
          gs + "org.mate.background picture-filename ''",
          gs + "org.mate.background picture-filename '" + kPath + "'"}},
        {DesktopFamily::Kde, {plasmaCall(""), plasmaCall(kUri)}},
        {DesktopFamily::Xfce,
         {xfconf + "-l", xfconf + "-p " + vga + "image-style -n -t int -s 3",
          xfconf + "-p " + vga + "last-image -s ", xfconf + "-p " + vga + "last-image -s " + kPath,
          xfconf + "-p " + hdmi + "image-style -n -t int -s 3", xfconf + "-p " + hdmi + "last-image -s ",
          xfconf + "-p " + hdmi + "last-image -s " + kPath}},
        {DesktopFamily::OtherX11, {"feh --bg-scale " + kPath}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.family));
        FakeCommands fakes;
        ScopedVariable path("PATH", fakes.folder().toLocal8Bit());
        ScopedVariable log("FAKE_LOG", fakes.log().toLocal8Bit());
        const WallpaperResult result = SetWallpaperOn(c.family, kPath);
        EXPECT_TRUE(result.ok) << result.detail.toStdString();
        EXPECT_EQ(fakes.calls(), c.calls);
    }
}

TEST(WallpaperBackend, FailuresNameThePicturesFileAndOnlyTheDarkKeyMayFail) {
    const struct {
        DesktopFamily family;
        const char* failOn;  // the argument that makes a fake fail
        const char* missing; // a fake that is not installed
        bool ok;
        const char* messageStart;
    } cases[] = {
        {DesktopFamily::Gnome, "picture-uri-dark", "", true, ""}, // GNOME before 42 has no such key
        {DesktopFamily::Gnome, "picture-uri", "", false, "设置桌面壁纸失败"},
        {DesktopFamily::Mate, "picture-options", "", false, "设置桌面壁纸失败"},
        {DesktopFamily::Xfce, "3", "", false, "设置桌面壁纸失败"},
        {DesktopFamily::Kde, "", "dbus-send", false, "无法自动更换"},
        {DesktopFamily::OtherX11, "", "feh", false, "无法自动更换"},
        {DesktopFamily::Unknown, "", "", false, "无法自动更换"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(int(c.family)) + " " + c.failOn + c.missing);
        FakeCommands fakes;
        fakes.remove(c.missing);
        ScopedVariable path("PATH", fakes.folder().toLocal8Bit());
        ScopedVariable log("FAKE_LOG", fakes.log().toLocal8Bit());
        ScopedVariable fail("FAKE_FAIL_ON", c.failOn);
        const WallpaperResult result = SetWallpaperOn(c.family, kPath);
        EXPECT_EQ(result.ok, c.ok) << result.detail.toStdString();
        if (c.ok) continue;
        EXPECT_TRUE(result.message.startsWith(QString::fromUtf8(c.messageStart)))
            << result.message.toStdString();
        EXPECT_TRUE(result.message.contains(kPath)) << result.message.toStdString();
        EXPECT_FALSE(result.detail.isEmpty());
    }
}

TEST(WallpaperBackend, AnUnknownWaylandDesktopIsToldTheSupportedDesktopsAndWhereThePictureIs) {
    FakeCommands fakes; // feh among them: an X11 tool must not be tried on Wayland
    ScopedVariable path("PATH", fakes.folder().toLocal8Bit());
    ScopedVariable log("FAKE_LOG", fakes.log().toLocal8Bit());
    const WallpaperResult result = SetWallpaperOn(DesktopFamilyOf({"sway", true, true}), kPath);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(fakes.calls(), QStringList());
    for (const char* desktop : {"GNOME", "Cinnamon", "MATE", "KDE Plasma", "XFCE"})
        EXPECT_TRUE(result.message.contains(QLatin1String(desktop))) << desktop;
    EXPECT_TRUE(result.message.contains(kPath));
    EXPECT_FALSE(result.message.contains(QLatin1String("feh")));
}

TEST(WallpaperBackend, TheSeamReplacesTheDesktopsBackend) {
    QStringList installed;
    WallpaperSeamForTesting() = [&](const QString& path) {
        installed.append(path);
        return WallpaperResult{true, {}, {}};
    };
    EXPECT_TRUE(InstallDesktopWallpaper(kPath).ok);
    WallpaperSeamForTesting() = nullptr;
    EXPECT_EQ(installed, QStringList{kPath});
}

TEST(WallpaperBackend, RealGsettingsStoresTheGnomeWallpaperInAKeyFile) {
    application();
    if (QStandardPaths::findExecutable("gsettings").isEmpty())
        GTEST_SKIP() << "gsettings is not installed (Debian package libglib2.0-bin)";
    QTemporaryDir home;
    ScopedVariable backend("GSETTINGS_BACKEND", "keyfile");
    ScopedVariable homeDir("HOME", home.path().toLocal8Bit());
    ScopedVariable config("XDG_CONFIG_HOME", home.filePath(".config").toLocal8Bit());
    auto get = [](const char* key) {
        QProcess process;
        process.start("gsettings", {"get", "org.gnome.desktop.background", key});
        process.waitForFinished();
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    };
    if (get("picture-options").isEmpty())
        GTEST_SKIP() << "the GNOME desktop schemas are not installed (gsettings-desktop-schemas)";

    for (int run = 0; run < 2; ++run) { // the second installation of the same file works the same
        const WallpaperResult result = SetWallpaperOn(DesktopFamily::Gnome, kPath);
        ASSERT_TRUE(result.ok) << result.detail.toStdString();
        EXPECT_EQ(get("picture-uri"), "'" + kUri + "'");
        EXPECT_EQ(get("picture-uri-dark"), "'" + kUri + "'");
        EXPECT_EQ(get("picture-options"), "'stretched'");
    }
    EXPECT_TRUE(QFile::exists(home.filePath(".config/glib-2.0/settings/keyfile")));
}
