// The sync's settings file as a script writes it, the password kept where only the user reads it when no
// secret service answers, and the dialog's connection test against a real and a refusing server.
#include "CalendarServer.h"

#include "ProgramFolder.h"
#include "QtTestApplication.h"
#include "SyncDialog.h"
#include "SyncSettings.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quenda;
using namespace quenda::test;

namespace {

class SyncSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        QDir(m_folder.path()).mkpath("Data");
        SetDataFolder(m_folder.path());
        // No session bus: the password must go to the file.
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        qputenv("XDG_RUNTIME_DIR", m_folder.path().toLocal8Bit());
    }
    void TearDown() override { SetDataFolder({}); }
    void WriteIni(const QByteArray& text) {
        QFile file(SyncSettingsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QString Verdict(const QUrl& collection, const char* user) {
        WriteIni("url=" + collection.toEncoded() + "\nuser=" + user + "\n");
        SyncDialog dialog;
        QSignalSpy tested(&dialog, &SyncDialog::tested);
        dialog.TestConnection();
        EXPECT_TRUE(tested.wait(10000));
        return dialog.TestResult().text();
    }
    QTemporaryDir m_folder;
};

} // namespace

TEST_F(SyncSettingsTest, ReadsWhatAScriptWroteAndKeepsThePasswordPrivate) {
    WriteIni("url=https://host/dav/a,b/\r\nuser=me\r\nenabled=true\r\n");
    const SyncSettings settings = ReadSyncSettings();
    EXPECT_EQ(settings.url, "https://host/dav/a,b/");
    EXPECT_EQ(settings.user, "me");
    EXPECT_EQ(settings.intervalSeconds, 300);
    EXPECT_TRUE(SyncConfigured(settings));
    EXPECT_FALSE(SyncConfigured({"ftp://host/x/", "", true, 300}));

    EXPECT_EQ(StoreSyncPassword(settings, "密码 1"), PasswordPlace::File);
    EXPECT_EQ(QFile::permissions(m_folder.filePath("Data/SyncPassword")),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
    EXPECT_EQ(ReadSyncPassword(settings), "密码 1");
}

TEST_F(SyncSettingsTest, TheConnectionTestSaysWhatTheServerAnswered) {
    Radicale radicale;
    if (!radicale.Running()) GTEST_SKIP() << radicale.Problem().toStdString();
    EXPECT_EQ(Verdict(radicale.Collection(), Radicale::kUser), "连接成功。");
    EXPECT_EQ(Verdict(radicale.Collection().resolved(QUrl("..")), Radicale::kUser), "连接成功，但这个地址不是日历。");
    MisbehavingServer refusing("HTTP/1.1 401 Unauthorized\r\nContent-Length: 0\r\n\r\n");
    EXPECT_EQ(Verdict(refusing.Collection(), "me"), "连接失败：用户名或密码错误");
}
