// Where an installed program and a portable copy keep the user's data and find their own files, the
// first start of a user, and the autostart entry.
#include "Autostart.h"
#include "ProgramFolder.h"
#include "UserDataSetup.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quenda;

namespace {

void write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// A prefix with an installed tree (bin/, share/quenda-calendar/ with the store template and the default
// background) and a home of the test's own (XDG_DATA_HOME, XDG_CONFIG_HOME).
class InstalledTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(m_root.path()).mkpath("usr/bin"));
        write(share() + "/templates/UserData.db", "empty store");
        write(share() + "/source/DeskTopBG/A1.bmp", "default background");
        SetProgramFolderForTesting(m_root.filePath("usr/bin"));
        qputenv("XDG_DATA_HOME", m_root.filePath("home/data").toUtf8());
        qputenv("XDG_CONFIG_HOME", m_root.filePath("home/config").toUtf8());
    }
    void TearDown() override {
        SetProgramFolderForTesting({});
        SetDataFolder({});
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("XDG_CONFIG_HOME");
    }
    QString share() const { return m_root.filePath("usr/share/quenda-calendar"); }
    QString userFolder() const { return m_root.filePath("home/data/quenda-calendar"); }

    QTemporaryDir m_root;
};

} // namespace

TEST_F(InstalledTreeTest, TheProgramFolderDecidesWhereTheDataAndTheProgramFilesAre) {
    const QString bin = m_root.filePath("usr/bin");
    const QString other = m_root.filePath("elsewhere");
    struct Case {
        const char* name;
        bool dataBesideProgram;
        bool share;
        QString dataDir;
        QString data, files;
    };
    const Case cases[] = {
        {"installed", false, true, {}, userFolder(), share()},
        {"portable", true, true, {}, bin, bin},
        {"no Data and no share folder", false, false, {}, bin, bin},
        {"installed with --data-dir", false, true, other, other, share()},
        {"portable with --data-dir", true, true, other, other, bin},
    };
    for (const Case& c : cases) {
        if (c.dataBesideProgram) QDir(bin).mkdir("data"); // any spelling of Data
        if (!c.share) QDir().rename(share(), share() + ".away");
        SetDataFolder(c.dataDir);
        EXPECT_EQ(DataFolder(), c.data) << c.name;
        EXPECT_EQ(ProgramFilePath("pages\\help.html"), c.files + "/pages/help.html") << c.name;
        EXPECT_EQ(RunsInstalled(), !c.dataBesideProgram && c.share) << c.name;
        QDir(bin).rmdir("data");
        if (!c.share) QDir().rename(share() + ".away", share());
    }
}

TEST_F(InstalledTreeTest, TheFirstStartMakesAPrivateFolderWithTheEmptyStoreAndTheDefaultBackground) {
    EXPECT_EQ(PrepareDataFolder(), std::nullopt);
    EXPECT_EQ(read(userFolder() + "/Data/UserData.db"), "empty store");
    EXPECT_EQ(read(userFolder() + "/source/DeskTopBG/A1.bmp"), "default background");
    EXPECT_TRUE(QFileInfo(userFolder() + "/source/Month").isDir());
    EXPECT_EQ(QFile::permissions(userFolder()) & (QFile::ReadOther | QFile::ReadGroup), 0);
    EXPECT_TRUE(QFileInfo(userFolder() + "/Data/UserData.db").isWritable());
    EXPECT_EQ(QDir(userFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"Data", "source"})); // no staging folder left behind
}

TEST_F(InstalledTreeTest, AFolderThatHeldAStoreIsNeverGivenAnEmptyOne) {
    write(userFolder() + "/Data/FormSize.ini", "1\r\n");
    write(userFolder() + "/source/DeskTopBG/A1.bmp", "the user's own");
    EXPECT_EQ(PrepareDataFolder(), std::nullopt);
    EXPECT_FALSE(QFileInfo::exists(userFolder() + "/Data/UserData.db"));
    EXPECT_EQ(read(userFolder() + "/source/DeskTopBG/A1.bmp"), "the user's own");
}

TEST_F(InstalledTreeTest, AFolderThatCannotBeSetUpIsReportedAndLeftWithoutAStore) {
    write(m_root.filePath("home/data"), "a file where the data home should be");
    const auto noHome = PrepareDataFolder();
    EXPECT_TRUE(noHome && noHome->contains(userFolder())) << noHome.value_or("(no message)").toStdString();
    QFile::remove(m_root.filePath("home/data"));
    QFile::remove(share() + "/templates/UserData.db"); // a damaged installation
    const auto noTemplate = PrepareDataFolder();
    EXPECT_TRUE(noTemplate && noTemplate->contains("templates/UserData.db"));
    EXPECT_FALSE(QFileInfo::exists(userFolder() + "/Data"));
    EXPECT_EQ(PrepareDataFolder(), noTemplate); // and again at the next start, never half made
}

TEST(Autostart, ExecArgumentsAreQuotedAndEscapedAsDesktopEntriesAsk) {
    struct Case {
        const char* argument;
        const char* exec;
    };
    const Case cases[] = {
        {"/usr/bin/quenda-calendar", "/usr/bin/quenda-calendar"},
        {"--minimized", "--minimized"},
        {"/home/王/my notes", "\"/home/王/my notes\""},
        {"100%", "100%%"},
        {"a\"b$c`d", "\"a\\\\\"b\\\\$c\\\\`d\""},
        {"C:\\notes", "\"C:\\\\\\\\notes\""},
        {"", "\"\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DesktopExecArgument(QString::fromUtf8(c.argument)), QString::fromUtf8(c.exec))
            << c.argument;
}

// Writing, removing and failing to write go through the options menu (tests/shell); here what the entry is.
TEST_F(InstalledTreeTest, TheAutostartEntryIsValidAndTheDesktopCanSwitchItOff) {
    ASSERT_EQ(SetAutostart(true, {"/opt/日历/quenda-calendar", "--data-dir", "/home/me/my notes"}),
              std::nullopt);
    EXPECT_EQ(AutostartEntryPath(), m_root.filePath("home/config/autostart/org.quenda.calendar.desktop"));
    EXPECT_TRUE(read(AutostartEntryPath())
                    .contains("\nExec=/opt/日历/quenda-calendar --data-dir \"/home/me/my notes\"\n"));
    EXPECT_TRUE(AutostartEnabled());
    if (!QStandardPaths::findExecutable("desktop-file-validate").isEmpty()) {
        EXPECT_EQ(QProcess::execute("desktop-file-validate", {AutostartEntryPath()}), 0);
    }
    for (const char* off : {"Hidden=true", "X-GNOME-Autostart-enabled=false"}) {
        write(AutostartEntryPath(), QByteArray("[Desktop Entry]\nType=Application\nExec=x\n") + off + "\n");
        EXPECT_FALSE(AutostartEnabled()) << off;
    }
}
