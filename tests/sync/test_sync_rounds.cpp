// Two computers syncing their notes through a real Radicale on 127.0.0.1: an edit on one is seen on the
// other, edits on both sides keep both texts, an outage loses nothing, and the server's own changes
// (another client's edit, a deletion) are taken the way the user expects.
#include "CalendarServer.h"
#include "SyncMachine.h"

#include "DavXml.h"
#include "NoteResource.h"
#include "QtTestApplication.h"

#include <gtest/gtest.h>

using namespace quenda;
using namespace quenda::test;

namespace {

// Each case runs once with the sync-collection report and once comparing every ETag.
class SyncRoundTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        EnsureApplication();
        m_server = std::make_unique<Radicale>();
        if (!m_server->Running()) GTEST_SKIP() << m_server->Problem().toStdString();
        m_a = std::make_unique<SyncMachine>(m_server->Collection(), GetParam(), Radicale::kUser);
        m_b = std::make_unique<SyncMachine>(m_server->Collection(), GetParam(), Radicale::kUser);
    }
    void InStep(SyncMachine& machine) {
        const SyncOutcome outcome = machine.Sync();
        EXPECT_TRUE(outcome.ok) << outcome.failure.toStdString();
        EXPECT_TRUE(outcome.inStep);
    }
    std::unique_ptr<Radicale> m_server;
    std::unique_ptr<SyncMachine> m_a, m_b;
};

} // namespace

TEST_P(SyncRoundTest, AnEditOnOneIsSeenOnTheOtherByteForByte) {
    m_a->Write("20261210", "冬至前 buy tea");
    InStep(*m_a);
    InStep(*m_b);
    EXPECT_EQ(m_b->Bytes("20261210"), m_a->Bytes("20261210"));
    m_b->Write("20261210", "冬至前 buy tea\n已买");
    InStep(*m_b);
    InStep(*m_a);
    EXPECT_EQ(m_a->Text("20261210"), "冬至前 buy tea\n已买");
}

TEST_P(SyncRoundTest, BothSidesEditedKeepsBothTexts) {
    m_a->Write("20261210", "start");
    InStep(*m_a);
    InStep(*m_b);
    m_a->Write("20261210", "from A");
    m_b->Write("20261210", "from B");
    InStep(*m_a);
    InStep(*m_b); // the pull finds the day changed on both sides

    for (SyncMachine* machine : {m_a.get(), m_b.get()}) {
        InStep(*machine);
        const QString text = machine->Text("20261210");
        EXPECT_TRUE(text.startsWith("from A\n—— 本机的版本 ")) << text.toStdString();
        EXPECT_TRUE(text.endsWith(" ——\nfrom B")) << text.toStdString();
    }
}

TEST_P(SyncRoundTest, NewBytesOfTheSameTextThereAreNoConflictWithAnEditHere) {
    m_a->Write("20261214", "同一段文字");
    InStep(*m_a);
    InStep(*m_b);
    ASSERT_TRUE(m_a->Store().WriteNote("20261214", QString("同一段文字").toUtf8(), "同一段文字")); // plain bytes
    InStep(*m_a);
    m_b->Write("20261214", "同一段文字\n加一句");
    InStep(*m_b);
    InStep(*m_a);
    EXPECT_EQ(m_a->Text("20261214"), "同一段文字\n加一句");
}

TEST_P(SyncRoundTest, APushRefusedBecauseTheServerChangedMergesToo) {
    m_a->Write("20261211", "one");
    InStep(*m_a);
    InStep(*m_b);
    m_a->Write("20261211", "A's");
    InStep(*m_a);
    m_b->Write("20261211", "B's");
    const SyncOutcome pushed = m_b->Sync(false); // a typing pause pushes without pulling: 412
    EXPECT_TRUE(pushed.ok) << pushed.failure.toStdString();
    EXPECT_TRUE(m_b->Text("20261211").contains("A's"));
    EXPECT_TRUE(m_b->Text("20261211").contains("B's"));
}

TEST_P(SyncRoundTest, AnOutageLosesNothingAndTheNoteFollowsLater) {
    m_server->Stop();
    m_a->Write("20261212", "typed offline");
    const SyncOutcome offline = m_a->Sync();
    EXPECT_FALSE(offline.ok);
    EXPECT_EQ(offline.failure, "无法连接服务器");
    EXPECT_EQ(m_a->Text("20261212"), "typed offline");
    ASSERT_TRUE(m_server->Start());
    InStep(*m_a);
    InStep(*m_b);
    EXPECT_EQ(m_b->Text("20261212"), "typed offline");
}

TEST_P(SyncRoundTest, AnotherClientsDescriptionWinsAndADeletionDeletesNothing) {
    m_a->Write("20261213", "ours");
    InStep(*m_a);
    const QUrl resource = m_server->Collection().resolved(QUrl("20261213.ics"));
    Answer served = Request("GET", resource);
    served.body.replace("DESCRIPTION:ours", "DESCRIPTION:edited elsewhere");
    ASSERT_LT(Request("PUT", resource, served.body, {{"If-Match", served.etag}}).status, 300);
    InStep(*m_a);
    EXPECT_EQ(m_a->Text("20261213"), "edited elsewhere");

    ASSERT_LT(Request("DELETE", resource).status, 300);
    InStep(*m_a);
    EXPECT_EQ(m_a->Text("20261213"), "edited elsewhere");
}

INSTANTIATE_TEST_SUITE_P(Listing, SyncRoundTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "SyncCollection" : "Etags"; });
