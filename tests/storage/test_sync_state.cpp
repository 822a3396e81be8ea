// The per-day sync state beside the notes: raised by every change of a note, whoever writes it, and
// settled only against the revision a sync step read.
#include "StoreFixture.h"

#include "SyncState.h"
#include "uDM.h"

using namespace quenda;
using namespace quenda::test;

namespace {

class SyncStateTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        MakeStore();
        Exec("insert into UserCon values ('20261001', x'6f6c64')"); // a note from before sync existed
        ASSERT_TRUE(m_dm.DataModuleCreate());
        ASSERT_TRUE(m_dm.HasSyncState());
    }
    DaySyncState State(const QString& key) { return m_state.StateOf(key).value_or(DaySyncState{"failed", {}, {}, false, -1, {}}); }

    TDM m_dm;
    SyncStateStore m_state{m_dm};
};

} // namespace

TEST_F(SyncStateTest, EveryChangeOfANoteRaisesItsFlagButTheSameBytesDoNot) {
    EXPECT_TRUE(State("20261001").changedHere); // notes already there wait for their first push
    ASSERT_TRUE(m_state.RecordServerCopy("20261001", "/c/20261001.ics", "\"e1\"", State("20261001").revision, "b"));
    EXPECT_FALSE(State("20261001").changedHere);

    ASSERT_TRUE(m_dm.WriteNote("20261001", "old", "old"));
    EXPECT_FALSE(State("20261001").changedHere) << "storing the same bytes on leaving the editor";
    Exec("update UserCon set data = x'6e6577' where conIndex = '20261001'"); // another program
    EXPECT_TRUE(State("20261001").changedHere);
    ASSERT_TRUE(m_dm.WriteNote("20261002", "new day", "new day"));
    EXPECT_TRUE(State("20261002").changedHere);
    EXPECT_EQ(State("20261001").etag, "\"e1\"");
}

TEST_F(SyncStateTest, ANoteTypedDuringASyncStepStaysChanged) {
    const DaySyncState read = State("20261001");
    ASSERT_TRUE(m_dm.WriteNote("20261001", "typed meanwhile", "typed meanwhile"));
    ASSERT_TRUE(m_state.RecordServerCopy("20261001", "/c/20261001.ics", "\"e2\"", read.revision, "b"));
    EXPECT_TRUE(State("20261001").changedHere);
    EXPECT_EQ(State("20261001").etag, "\"e2\"");

    DaySyncState pulled = read;
    pulled.etag = "\"e3\"";
    pulled.changedHere = false; // a plain pull, no merge
    EXPECT_EQ(m_state.StoreFromServer(pulled, "server", "server"), SyncStoreOutcome::ChangedMeanwhile);
    EXPECT_EQ(Rows()["20261001"], "typed meanwhile");
    pulled.revision = State("20261001").revision;
    EXPECT_EQ(m_state.StoreFromServer(pulled, "server", "server"), SyncStoreOutcome::Stored);
    EXPECT_EQ(Rows()["20261001"], "server");
    EXPECT_FALSE(State("20261001").changedHere);
}

TEST_F(SyncStateTest, AnotherCollectionStartsAfresh) {
    ASSERT_TRUE(m_state.UseCollection("http://a/cal/"));
    ASSERT_TRUE(m_state.RecordServerCopy("20261001", "/cal/20261001.ics", "\"e1\"", State("20261001").revision, "b"));
    ASSERT_TRUE(m_state.SetSyncToken("t1"));
    ASSERT_TRUE(m_state.UseCollection("http://a/cal/"));
    EXPECT_EQ(m_state.SyncToken(), "t1");
    ASSERT_TRUE(m_state.UseCollection("http://b/cal/"));
    EXPECT_EQ(m_state.SyncToken(), "");
    EXPECT_EQ(State("20261001").etag, "");
    EXPECT_TRUE(State("20261001").changedHere);
}
