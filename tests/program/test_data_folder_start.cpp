// The real program on a data folder of its own (--data-dir, as an installed program's per-user folder):
// its first start sets the folder up, and a second start on it is the same one program.
#include "ProgramDriver.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quenda::test;

TEST(DataFolderStart, ASecondStartOnANewDataFolderBringsTheFirstForwardAndEnds) {
    if (!CanDriveDesktop()) GTEST_SKIP() << "needs Xvfb and xdotool";
    XServer server;
    ASSERT_FALSE(server.Display().isEmpty());
    QTemporaryDir home;
    const QString folder = home.filePath(QStringLiteral("notes/新用户"));
    ProgramRun first(QStringLiteral(QUENDA_APP_DIR), server.Display());
    ASSERT_TRUE(first.Start({QStringLiteral("--data-dir"), folder}));
    ASSERT_TRUE(first.WaitFor(QStringLiteral("painted"), 60000)) << first.Reports().join('\n').toStdString();
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/Data/UserData.db")).isFile());
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/source/DeskTopBG/A1.bmp")).isFile());

    ProgramRun second(QStringLiteral(QUENDA_APP_DIR), server.Display());
    ASSERT_TRUE(second.Start({QStringLiteral("--data-dir"), folder}));
    EXPECT_TRUE(second.WaitForCleanExit(30000)) << second.Reports().join('\n').toStdString();
    EXPECT_TRUE(first.Running());
}
