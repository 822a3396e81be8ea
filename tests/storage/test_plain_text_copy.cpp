// The store's plain-text copy behind the calendar's note marks, and the settings file of ours.
#include "StoreFixture.h"

#include "DateTimeValue.h"
#include "DayNote.h"
#include "OurSettings.h"
#include "ProgramFolder.h"
#include "RtfCodec.h"
#include "uDM.h"

#include <QFile>
#include <QTextDocument>

using namespace quenda;
using namespace quenda::test;

namespace {

class PlainTextCopyTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        MakeStore();
        // Notes as an older program left them: RTF, plain GBK text, blanks only, empty.
        Exec("insert into UserCon values ('20261001', x'" + RtfOf("国庆 holiday").toHex() + "')");
        Exec("insert into UserCon values ('20261002', x'" + QByteArray("\xb5\xe7\xb7\xd1").toHex() + "')");
        Exec("insert into UserCon values ('20261003', x'" + RtfOf(" \n\u3000 ").toHex() + "')");
        Exec("insert into UserCon values ('20261004', x'')");
        Exec("insert into UserCon values ('20261105', x'" + RtfOf("next month").toHex() + "')");
    }
    QSet<QString> October(TDM& dm) {
        return dm.KeysWithText("20261001", "20261031").value_or(QSet<QString>{"failed"});
    }
};

} // namespace

TEST_F(PlainTextCopyTest, MarksOnlyNotesWithVisibleTextAndFollowsEverySave) {
    TDM dm;
    ASSERT_TRUE(dm.DataModuleCreate());
    ASSERT_TRUE(dm.HasPlainTextCopy());
    EXPECT_EQ(October(dm), (QSet<QString>{"20261001", "20261002"}));

    QTextDocument editor;
    editor.setPlainText("写了");
    ASSERT_EQ(SaveDayNote(dm, EncodeDate(2026, 10, 3), editor), SaveOutcome::Stored);
    editor.clear();
    ASSERT_EQ(SaveDayNote(dm, EncodeDate(2026, 10, 1), editor), SaveOutcome::Stored);
    EXPECT_EQ(October(dm), (QSet<QString>{"20261002", "20261003"}));
}

TEST_F(PlainTextCopyTest, ANoteChangedBehindTheProgramsBackIsReadFromItsNote) {
    {
        TDM first;
        ASSERT_TRUE(first.DataModuleCreate());
    }
    Exec("update UserCon set data = x'" + RtfOf(" ").toHex() + "' where conIndex = '20261001'");
    Exec("insert into UserCon values ('20261020', x'" + RtfOf("新的").toHex() + "')");
    TDM dm;
    ASSERT_TRUE(dm.DataModuleCreate());
    EXPECT_EQ(October(dm), (QSet<QString>{"20261002", "20261020"}));
}

TEST_F(PlainTextCopyTest, AStoreOnAReadOnlyDiskIsMarkedWithoutBeingWritten) {
    ScratchMount disk;
    if (!disk.Mounted()) GTEST_SKIP() << "mounting a read-only disk needs root";
    ASSERT_NO_FATAL_FAILURE(MoveToReadOnlyDisk(disk));
    TDM dm;
    ASSERT_TRUE(dm.DataModuleCreate());
    EXPECT_FALSE(dm.HasPlainTextCopy());
    EXPECT_EQ(October(dm), (QSet<QString>{"20261001", "20261002"}));
}

TEST_F(PlainTextCopyTest, OurSettingsReadTheirDefaultsFromADamagedFileAndWriteOverIt) {
    EXPECT_EQ(ReadOurSetting("calendar/mondayFirst", false).toBool(), false);
    static const char kDamaged[] = "\xff\xfe[calendar\x00\nmondayFirst=\x01";
    WriteFile("Data/Settings.ini", QByteArray(kDamaged, sizeof kDamaged - 1));
    EXPECT_EQ(ReadOurSetting("calendar/mondayFirst", false).toBool(), false);
    EXPECT_TRUE(WriteOurSetting("calendar/mondayFirst", true));
    EXPECT_EQ(ReadOurSetting("calendar/mondayFirst", false).toBool(), true);
}
