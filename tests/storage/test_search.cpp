// Finding notes: the full-text index made on first open and kept by every save, the scan for short texts,
// a read-only store searched without an index, and the excerpt a result shows.
#include "StoreFixture.h"

#include "DayNote.h"
#include "NoteSearch.h"
#include "ProgramFolder.h"
#include "RtfCodec.h"
#include "uDM.h"

#include <QTextDocument>

using namespace quenda;
using namespace quenda::test;

namespace {

class SearchTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        MakeStore();
        // A store an older program left: RTF notes and one plain GBK note, no copy and no index.
        Exec("insert into UserCon values ('20130102', x'" + RtfOf("今天交电费 Meeting with Bob").toHex() + "')");
        Exec("insert into UserCon values ('20130105', x'" + RtfOf("电费单 paid 100%").toHex() + "')");
        Exec("insert into UserCon values ('20140301', x'" + RtfOf("去银行\n第二行 meeting notes").toHex() + "')");
        Exec("insert into UserCon values ('20120101', x'" + QByteArray("\xb5\xe7\xbb\xb0\xb7\xd1").toHex() + "')");
    }
    static QStringList Keys(TDM& dm, const QString& text) {
        QStringList keys;
        for (const NoteHit& hit : dm.SearchNotes(text, 100).value_or(std::vector<NoteHit>{{"failed", {}}}))
            keys.append(hit.key);
        return keys;
    }
    void ExpectFinds(TDM& dm) {
        const struct {
            const char* text;
            QStringList keys;
        } cases[] = {
            {"电费", {"20130105", "20130102"}},             // two characters: the scan
            {"电", {"20130105", "20130102", "20120101"}},   // one character, the GBK note decoded
            {"交电费", {"20130102"}},                       // three: the index
            {"MEETING", {"20140301", "20130102"}},          // Latin in either case
            {"Me", {"20140301", "20130102"}},
            {" with bob ", {"20130102"}},                   // trimmed
            {"%", {"20130105"}},                            // LIKE's wildcards are plain characters
            {"_", {}},
            {"\"电费", {}},                                 // the index's quotes too
            {"不存在", {}},
            {"", {}},
        };
        for (const auto& c : cases)
            EXPECT_EQ(Keys(dm, QString::fromUtf8(c.text)), c.keys) << c.text;
    }
};

} // namespace

TEST_F(SearchTest, AnExistingStoreGetsItsIndexOnFirstOpenAndFindsTextsOfEveryLength) {
    TDM dm;
    ASSERT_TRUE(dm.DataModuleCreate());
    EXPECT_TRUE(dm.HasSearchIndex());
    ExpectFinds(dm);
}

TEST_F(SearchTest, EverySaveKeepsTheIndexInStep) {
    TDM dm;
    ASSERT_TRUE(dm.DataModuleCreate());
    QTextDocument editor;
    for (const char* text : {"新的电费单", "换了内容", "又换了内容", ""}) {
        editor.setPlainText(QString::fromUtf8(text));
        ASSERT_EQ(SaveDayNote(dm, EncodeDate(2013, 1, 7), editor), SaveOutcome::Stored);
        EXPECT_EQ(Keys(dm, QString::fromUtf8(text).left(3)).contains("20130107"), *text != '\0') << text;
    }
    Exec("update UserCon set data = x'" + RtfOf("外面改的").toHex() + "' where conIndex = '20130102'");
    // The index's own check compares it with the plain-text copy it indexes.
    Exec("insert into NoteSearch (NoteSearch) values ('integrity-check')");
    EXPECT_EQ(Keys(dm, "外面改的"), QStringList{"20130102"}); // decoded: the copy lost it
    EXPECT_EQ(Keys(dm, "交电费"), QStringList{});
}

TEST_F(SearchTest, AReadOnlyStoreIsSearchedWithoutAnIndex) {
    ScratchMount disk;
    if (!disk.Mounted()) GTEST_SKIP() << "mounting a read-only disk needs root";
    ASSERT_NO_FATAL_FAILURE(MoveToReadOnlyDisk(disk));
    TDM dm;
    ASSERT_TRUE(dm.DataModuleCreate());
    EXPECT_FALSE(dm.HasSearchIndex());
    ExpectFinds(dm);
}

TEST(NoteExcerpt, ShowsTheLineOfTheFirstHitCutAroundItWithEveryHitMarked) {
    const QString longLine = QString(100, 'x') + "电费" + QString(100, 'y');
    const struct {
        QString plain, text, excerpt;
        QList<std::pair<qsizetype, qsizetype>> marks;
    } cases[] = {
        {"第一行\n今天交电费，电费很贵\n电费", "电费", "今天交电费，电费很贵", {{3, 2}, {6, 2}}},
        {"Bob and BOB", "bob", "Bob and BOB", {{0, 3}, {8, 3}}},
        {longLine, "电费", "…" + QString(13, 'x') + "电费" + QString(25, 'y') + "…", {{14, 2}}},
        {"没有", "电费", "", {}},
    };
    for (const auto& c : cases) {
        const NoteExcerpt excerpt = ExcerptOf(c.plain, c.text, 40);
        EXPECT_EQ(excerpt.text, c.excerpt);
        EXPECT_EQ(excerpt.marks, c.marks) << c.excerpt.toStdString();
    }
}
