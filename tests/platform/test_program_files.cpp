// The program folder's paths and the GBK line-list files that hold the settings and the background list.
#include "LineListFile.h"
#include "ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quenda;

namespace {

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(ProgramFolder, ResolvesEachExistingComponentWithoutRegardToCase) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath("Data"));
    ASSERT_TRUE(QDir(root.path()).mkpath("source/DeskTopBG"));
    touch(root.filePath("source/DeskTopBG/Mix.bmp"));
    SetProgramFolderForTesting(root.path());

    struct Case {
        const char* relative;
        QString expected;
    };
    const Case cases[] = {
        {"data\\FormSize.ini", root.path() + "/Data/FormSize.ini"}, // the file does not exist yet
        {"Data\\UserData.db", root.path() + "/Data/UserData.db"},
        {"source\\DeskTopBG\\Mix.Bmp", root.path() + "/source/DeskTopBG/Mix.bmp"},
        {"SOURCE/desktopbg/mix.BMP", root.path() + "/source/DeskTopBG/Mix.bmp"},
        {"source\\Month\\201301.bmp", root.path() + "/source/Month/201301.bmp"}, // missing folder
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProgramPath(QString::fromUtf8(c.relative)), c.expected) << c.relative;
    SetProgramFolderForTesting({});
}

TEST(ProgramFolder, PrefersTheExactSpellingWhenTwoEntriesDifferOnlyInCase) {
    QTemporaryDir root;
    touch(root.filePath("Mix.bmp"));
    touch(root.filePath("mix.bmp"));
    EXPECT_EQ(ResolvePath(root.path(), "mix.bmp"), root.path() + "/mix.bmp");
    EXPECT_EQ(ResolvePath(root.path(), "Mix.bmp"), root.path() + "/Mix.bmp");
}

TEST(LineListFile, ReadsLinesTheWayATextListDoes) {
    struct Case {
        QByteArray bytes;
        QStringList lines;
    };
    const Case cases[] = {
        {"", {}},
        {"\r\n", {""}},
        {"1\r\n750\r\n", {"1", "750"}},
        {"1\r\n750", {"1", "750"}},                                    // no ending on the last line
        {"a\nb\rc\r\n", {"a", "b", "c"}},                              // lone LF and CR too
        {"\xB1\xB3\xBE\xB0.bmp\r\n", {QString::fromUtf8("背景.bmp")}}, // GBK bytes
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeLineList(c.bytes), c.lines) << c.bytes.toHex().constData();
}

TEST(LineListFile, WritesGbkWithCrLfAndKeepsNamesOutsideGbk) {
    QTemporaryDir root;
    const QString path = root.filePath("BGPicList.ini");
    const QStringList lines{"A1.bmp", QString::fromUtf8("背景.bmp"), QString::fromUtf8("😀 €.bmp")};
    ASSERT_TRUE(WriteLineList(path, lines));
    EXPECT_TRUE(bytesOf(path).startsWith("A1.bmp\r\n\xB1\xB3\xBE\xB0.bmp\r\n"));
    EXPECT_TRUE(bytesOf(path).endsWith("\r\n"));
    EXPECT_EQ(ReadLineList(path), lines);
}

TEST(LineListFile, MissingOversizedAndUnwritableFilesFail) {
    QTemporaryDir root;
    EXPECT_FALSE(ReadLineList(root.filePath("missing.ini")));

    const QString huge = root.filePath("huge.ini");
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(kMaxLineListBytes + 1));
    file.close();
    EXPECT_FALSE(ReadLineList(huge));

    EXPECT_FALSE(WriteLineList(root.filePath("no-such-folder/FormSize.ini"), {"1"}));
}

TEST(LineListFile, LineAsIntAcceptsOnlyWholeNumbers) {
    const QStringList lines{" 5 ", "-3", "x", "", "1.5", "99999999999"};
    EXPECT_EQ(LineAsInt(lines, 0), 5);
    EXPECT_EQ(LineAsInt(lines, 1), -3);
    for (int index : {2, 3, 4, 5, 6, -1})
        EXPECT_FALSE(LineAsInt(lines, index)) << index;
}
