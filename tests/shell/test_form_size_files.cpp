// FormSize.ini's numbers from the line-list fuzzer's seeds and past crashes (the same files the platform
// tests decode): start-up's choice is always bounds it can write as five numbers and read back unchanged.
#include "FormSize.h"
#include "LineListFile.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace quenda;

TEST(FormSize, FuzzInputsGiveBoundsThatWriteAndReadBack) {
    const QList<QRect> screens = {QRect(0, 0, 1920, 1080), QRect(1920, -200, 1280, 1024)};
    const QDir seeds(QStringLiteral(QUENDA_FUZZ_SEED_DIR "/line-list"));
    const QDir regressions(QStringLiteral(QUENDA_TEST_DATA_DIR "/line-list/regressions"));
    ASSERT_TRUE(regressions.exists());
    QStringList paths;
    for (const QDir& dir : {seeds, regressions})
        for (const QString& name : dir.entryList(QDir::Files))
            paths << dir.filePath(name);
    EXPECT_GE(paths.size(), 5);
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        const std::optional<QStringList> lines = ReadLineList(path);
        ASSERT_TRUE(lines);
        const FormSize chosen = ChooseFormSize(&*lines, QSize(1920, 1080), screens);
        const QStringList written = FormSizeLines(chosen);
        EXPECT_TRUE(IsCompleteFormSize(written));
        EXPECT_EQ(ChooseFormSize(&written, QSize(1920, 1080), screens), chosen);
    }
}
