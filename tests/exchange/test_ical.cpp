// Notes in iCalendar files: an export that libical and an independent reader (python3's icalendar) read
// back note for note, the round trip into an empty store, the import's merge and preview, and bad files
// refused with nothing written.
#include "StoreFixture.h"

#include "IcsFile.h"
#include "NoteImport.h"
#include "RtfCodec.h"
#include "uDM.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTextCursor>
#include <QTextDocument>

using namespace quenda;
using namespace quenda::test;

namespace {

// Notes that test the writer: Chinese, iCalendar's special characters, a line long enough to be folded
// inside multi-byte characters, several paragraphs, bold text.
const std::map<QString, QString> kNotes = {
    {"20130102", "今天交电费，水费；还有 \\ 反斜杠\n第二段 Meeting"},
    {"20130103", QString(60, QChar(0x8BB0)) + " long 长行"},
    {"20991231", "  \n最后一天"},
};

QByteArray RichRtf(const QString& text) {
    QTextDocument document;
    document.setPlainText(text);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCursor(&document).insertText("粗体", bold);
    return writeRtf(document);
}

QString PlainOf(const QByteArray& rtf) {
    QTextDocument document;
    readRtf(rtf, document);
    return documentPlainText(document);
}

class IcalTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        MakeStore();
        for (const auto& [key, text] : kNotes)
            Exec("insert into UserCon values ('" + key + "', x'" + RichRtf(text).toHex() + "')");
        QTextDocument blank;
        blank.setPlainText(" \n ");
        Exec("insert into UserCon values ('20130104', x'" + writeRtf(blank).toHex() + "')");
        ASSERT_TRUE(m_dm.DataModuleCreate());
    }
    std::map<QString, QString> StoredTexts() {
        std::map<QString, QString> texts;
        for (const auto& [key, data] : Rows())
            texts[key] = PlainOf(data);
        return texts;
    }
    TDM m_dm;
};

QByteArray Calendar(const QByteArray& body) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n" + body + "END:VCALENDAR\r\n";
}

QByteArray Journal(const QByteArray& start, const QByteArray& texts) {
    return "BEGIN:VJOURNAL\r\nUID:" + start + "\r\nDTSTART" + start + "\r\n" + texts + "END:VJOURNAL\r\n";
}

} // namespace

TEST_F(IcalTest, AnExportReadBackByLibicalAndByPythonsIcalendarGivesEveryNote) {
    const ExportOutcome outcome = ExportNotes(m_dm, Path("all.ics"), {}, {});
    ASSERT_TRUE(outcome.ok) << outcome.message.toStdString();
    EXPECT_EQ(outcome.notes, 3); // the blank note is left out
    const IcsContent ours = ReadIcsFile(Path("all.ics"));
    ASSERT_EQ(ours.error, "");
    QProcess python;
    python.start("/usr/bin/python3", {"-c", "import sys, json, icalendar\n"
                                   "cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())\n"
                                   "print(json.dumps([[j.decoded('DTSTART').strftime('%Y%m%d'), str(j['UID']), "
                                   "str(j['SUMMARY']), str(j['DESCRIPTION']), str(j['X-ALT-DESC'])] "
                                   "for j in cal.walk('VJOURNAL')]))",
                             Path("all.ics")});
    ASSERT_TRUE(python.waitForFinished(30000));
    const QJsonArray independent = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
    ASSERT_EQ(independent.size(), 3) << python.readAllStandardError().toStdString();
    ASSERT_EQ(ours.notes.size(), 3u);
    int i = 0;
    for (const auto& [key, text] : kNotes) {
        const QString plain = "粗体" + text;
        EXPECT_EQ(ours.notes[i].key, key);
        EXPECT_EQ(ours.notes[i].plainText, plain);
        const QJsonArray theirs = independent[i++].toArray();
        EXPECT_EQ(theirs[0].toString(), key);
        EXPECT_EQ(theirs[1].toString(), key + "@quenda-calendar");
        EXPECT_EQ(theirs[2].toString(), SummaryOf(plain));
        EXPECT_EQ(theirs[3].toString(), plain);
        EXPECT_TRUE(theirs[4].toString().contains("font-weight:700")) << theirs[4].toString().toStdString();
    }
}

TEST_F(IcalTest, ARangeExportedAndImportedIntoAnEmptyStoreGivesTheSameTexts) {
    ASSERT_TRUE(ExportNotes(m_dm, Path("range.ics"), QDate(2013, 1, 3), QDate(2099, 12, 31)).ok);
    const auto before = StoredTexts();
    Exec("delete from UserCon");
    Exec("delete from NoteText");
    TDM fresh;
    ASSERT_TRUE(fresh.DataModuleCreate());
    const std::optional<ImportPlan> done = ApplyImport(fresh, ReadIcsFile(Path("range.ics")));
    ASSERT_TRUE(done);
    EXPECT_EQ(done->newDays, (QStringList{"20130103", "20991231"}));
    const auto after = StoredTexts();
    EXPECT_EQ(after, (std::map<QString, QString>{{"20130103", before.at("20130103")}, {"20991231", before.at("20991231")}}));
    EXPECT_TRUE(Rows().at("20130103").contains("\\b")); // the bold survived
}

TEST_F(IcalTest, AnImportAppendsBelowASeparatorSkipsWhatIsThereAndSaysSoFirst) {
    WriteFile("in.ics", Calendar(Journal(";VALUE=DATE:20130102", "DESCRIPTION:导入的文字\r\n") +
                             Journal(";TZID=Asia/Shanghai:20130105T233000", "DESCRIPTION:一\r\n") +
                             Journal(":20130106T010000Z", "STYLED-DESCRIPTION;VALUE=TEXT;FMTTYPE=text/html:<b>二</b>\r\n") +
                             Journal(":20130106T020000Z", "X-ALT-DESC;FMTTYPE=text/html:<p>三</p>\r\n") +
                             Journal(";VALUE=DATE:20130103", "DESCRIPTION:" + QString(20, QChar(0x8BB0)).toUtf8() + "\r\n") +
                             "BEGIN:VJOURNAL\r\nDESCRIPTION:没有日期\r\nEND:VJOURNAL\r\n"
                             "BEGIN:VEVENT\r\nUID:e\r\nDTSTART:20130102T100000Z\r\nSUMMARY:会议\r\nEND:VEVENT\r\n"));
    const IcsContent content = ReadIcsFile(Path("in.ics"));
    ASSERT_EQ(content.error, "");
    EXPECT_EQ(content.events, 1);
    EXPECT_EQ(content.undated, 1);
    const auto before = StoredTexts();
    const std::optional<ImportPlan> plan = PlanImport(m_dm, content);
    ASSERT_TRUE(plan);
    EXPECT_EQ(ImportSummary(*plan, content).section('\n', 0, 0), "新建 2 天的记事，在 1 天已有的记事后面追加，跳过 1 天（已有相同内容）。");
    EXPECT_EQ(StoredTexts(), before); // the preview wrote nothing
    ASSERT_TRUE(ApplyImport(m_dm, content));
    const auto after = StoredTexts();
    EXPECT_EQ(after.at("20130102"), before.at("20130102") + "\n────────────\n导入的文字");
    EXPECT_EQ(after.at("20130105"), "一");
    EXPECT_EQ(after.at("20130106"), "二\n三");
    EXPECT_EQ(after.at("20130103"), before.at("20130103"));
    const std::optional<ImportPlan> again = ApplyImport(m_dm, content);
    EXPECT_EQ(again->skippedDays.size(), 4); // a second import adds nothing
    EXPECT_EQ(StoredTexts(), after);
}

TEST_F(IcalTest, ABadFileIsRefusedWithItsReasonAndNothingIsWritten) {
    QFile big(Path("big.ics"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(50 * 1024 * 1024));
    big.close();
    const QByteArray note = Journal(";VALUE=DATE:20130109", "DESCRIPTION:x\r\n");
    const struct {
        QByteArray bytes; // empty: big.ics
        const char* reason;
    } cases[] = {
        {"", "文件太大"},
        {"hello, world\n", "不是 iCalendar"},
        {Calendar(note).left(60), "不完整"},
        {Calendar(note + "BEGIN:VJOURNAL\r\n"), "不完整"},
        {Calendar(Journal(";VALUE=DATE:21010101", "DESCRIPTION:x\r\n")), "不在日历的范围内"},
        {Calendar(Journal(";VALUE=DATE:20131302", "DESCRIPTION:x\r\n")), "不在日历的范围内"},
        {Calendar(note).replace("x", "\xff\xfe"), "UTF-8"},
    };
    const auto before = Rows();
    for (const auto& c : cases) {
        if (!c.bytes.isEmpty()) WriteFile("bad.ics", c.bytes);
        const IcsContent content = ReadIcsFile(Path(c.bytes.isEmpty() ? "big.ics" : "bad.ics"));
        EXPECT_TRUE(content.error.contains(QString::fromUtf8(c.reason))) << c.reason << ": " << content.error.toStdString();
        EXPECT_TRUE(content.notes.empty());
    }
    EXPECT_EQ(Rows(), before);
}
