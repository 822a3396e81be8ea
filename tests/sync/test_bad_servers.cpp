// Servers that answer garbage, errors or nothing, and the multi-status answers a server may send: every
// one ends the round with a clear reason, never with a crash or a lost note.
#include "CalendarServer.h"
#include "SyncMachine.h"

#include "DavXml.h"
#include "QtTestApplication.h"
#include "SyncScheduler.h"

#include <gtest/gtest.h>

using namespace quenda;
using namespace quenda::test;

namespace {

struct BadServerCase {
    const char* name;
    QByteArray reply;
    const char* failure;
};

class BadServerTest : public ::testing::TestWithParam<BadServerCase> {};

} // namespace

TEST_P(BadServerTest, EndsTheRoundWithAReasonAndKeepsTheNote) {
    EnsureApplication();
    MisbehavingServer server(GetParam().reply);
    SyncMachine machine(server.Collection());
    machine.Engine().Client().SetTimeoutMs(500);
    machine.Write("20261210", "keep me");
    const SyncOutcome outcome = machine.Sync();
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.failure, QString::fromUtf8(GetParam().failure));
    EXPECT_EQ(machine.Text("20261210"), "keep me");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Answers, BadServerTest, ::testing::Values(
    BadServerCase{"Garbage", "\x01\x02 not http at all\r\n\r\n", "无法连接服务器"},
    BadServerCase{"ServerError", "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 0\r\n\r\n", "服务器出错（HTTP 500）"},
    BadServerCase{"WrongPassword", "HTTP/1.1 401 Unauthorized\r\nContent-Length: 0\r\n\r\n", "用户名或密码错误"},
    BadServerCase{"NotXml", "HTTP/1.1 207 Multi-Status\r\nContent-Length: 9\r\n\r\n<<garbage", "服务器的回答无法识别"},
    BadServerCase{"Silence", "", "服务器没有响应"}),
    [](const auto& info) { return info.param.name; });
// clang-format on

TEST(Multistatus, ReadsMembersTokensAndDeletions) {
    const QByteArray report = R"(<?xml version="1.0"?><d:multistatus xmlns:d="DAV:">
        <d:response><d:href>/c/20261210.ics</d:href><d:propstat><d:prop><d:getetag>"e1"</d:getetag></d:prop>
          <d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>
        <d:response><d:href>/c/20261211.ics</d:href><d:status>HTTP/1.1 404 Not Found</d:status></d:response>
        <d:response><d:href>/c/%32%30261212.ics</d:href><d:propstat><d:prop><d:getetag>"e3"</d:getetag></d:prop>
          <d:status>HTTP/1.1 200 OK</d:status></d:propstat><d:propstat><d:prop><d:getetag/></d:prop>
          <d:status>HTTP/1.1 404 Not Found</d:status></d:propstat></d:response>
        <d:sync-token>tok-2</d:sync-token></d:multistatus>)";
    const auto parsed = ParseMultistatus(report);
    ASSERT_TRUE(parsed);
    ASSERT_EQ(parsed->resources.size(), 3);
    EXPECT_EQ(parsed->syncToken, "tok-2");
    EXPECT_EQ(parsed->resources[0].etag, "\"e1\"");
    EXPECT_FALSE(parsed->resources[0].gone);
    EXPECT_TRUE(parsed->resources[1].gone);
    EXPECT_EQ(parsed->resources[2].etag, "\"e3\"");
    EXPECT_FALSE(parsed->resources[2].gone);
    EXPECT_EQ(DayKeyOfHref(parsed->resources[2].href), "20261212");
}

TEST(Multistatus, RefusesWhatIsNoMultistatus) {
    for (const QByteArray& body : {QByteArray(), QByteArray("<html>502</html>"),
                                   QByteArray("<d:multistatus xmlns:d=\"DAV:\"><d:response><d:href>/x"),
                                   QByteArray("<multistatus xmlns=\"other\"/>")})
        EXPECT_FALSE(ParseMultistatus(body)) << body.constData();
}

TEST(Multistatus, NamesOnlyDayResources) {
    const std::pair<const char*, const char*> cases[] = {
        {"/cal/20261210.ics", "20261210"}, {"https://h/cal/20261210.ics", "20261210"},
        {"/cal/", ""}, {"/cal/event-1.ics", ""}, {"/cal/2026121.ics", ""}, {"/cal/20261210.ics.bak", ""}};
    for (const auto& [href, key] : cases)
        EXPECT_EQ(DayKeyOfHref(href), key) << href;
}

TEST(Retry, WaitsLongerAfterEveryFailureUpToAQuarterHour) {
    const std::pair<int, int> cases[] = {{1, 30}, {2, 60}, {3, 120}, {6, 900}, {40, 900}};
    for (const auto& [failures, seconds] : cases)
        EXPECT_EQ(RetryDelaySeconds(failures), seconds) << failures;
}
