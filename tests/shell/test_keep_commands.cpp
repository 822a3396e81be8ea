// Finding and keeping the notes from the main window: Ctrl+F and the search window, the backup while
// typing goes on, the export and the import with its preview; and their command-line options.
#include "MainWindowFixture.h"

#include "ChnCalendarPicker.h"
#include "CommandLine.h"
#include "Dialogs.h"
#include "KeepDialogs.h"
#include "NoteImport.h"
#include "ProgramFolder.h"
#include "SearchWindow.h"
#include "SingleInstance.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTextEdit>

using namespace quenda;
using namespace quenda::test;

namespace {

class KeepTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        DialogSeamsForTesting().saveFileName = [this](const QString&, const QString&) { return m_saveAs; };
        DialogSeamsForTesting().openFileName = [this](const QString&, const QString&) { return m_saveAs; };
        DialogSeamsForTesting().runDialog = [this](QDialog& dialog) {
            if (auto* range = qobject_cast<TExportFrm*>(&dialog)) range->chkRange().setChecked(m_range);
            if (auto* preview = qobject_cast<TImportFrm*>(&dialog))
                m_preview = {preview->lblSummary().text(), preview->lstDays().count()};
            return QDialog::Accepted;
        };
    }
    QString m_saveAs;
    bool m_range = false;
    std::pair<QString, int> m_preview; // the import preview's summary and number of days
};

} // namespace

TEST_F(KeepTest, CtrlFFindsTheNotesAndEnterShowsTheDayWithTheHitSelected) {
    CreateAndShow();
    for (auto [day, text] : {std::pair{5, "交了电费"}, std::pair{9, "Paid 电费 again"}, std::pair{12, "别的"}}) {
        ClickDate(day);
        Commit(QString::fromUtf8(text));
        m_form->rdtAbcExit();
    }
    QTest::keyClick(m_form.get(), Qt::Key_F, Qt::ControlModifier);
    TSearchFrm* search = m_form->SearchWindow();
    ASSERT_TRUE(search && search->isVisible());
    search->edtSearch().setText("电费");
    search->Search();
    ASSERT_EQ(search->lstResults().count(), 2);
    EXPECT_EQ(search->lstResults().item(0)->text(), "2013年1月9日 星期三  农历冬月廿八");
    EXPECT_EQ(search->lblState().text(), "找到 2 天");
    QTest::keyClick(&search->edtSearch(), Qt::Key_Down);
    QTest::keyClick(&search->edtSearch(), Qt::Key_Return);
    EXPECT_EQ(DecodeDate(m_form->chnTavi().DateTime()).day, 5);
    EXPECT_FALSE(search->isVisible());
    EXPECT_EQ(m_form->rdtAbc().textCursor().selectedText(), "电费");
    EXPECT_EQ(ExcerptHtml("Paid 电费 again", "电费"),
              "Paid <span style=\"background-color:#ffe066; color:#000000; font-weight:bold\">电费</span> again");
}

TEST_F(KeepTest, TheBackupRunsWhileTypingGoesOnAndReportsThePath) {
    CreateAndShow();
    Commit("备份前");
    m_saveAs = Path("copy.db");
    m_form->N_BackupClick();
    EXPECT_TRUE(m_form->BackupRunning());
    Commit("备份时");
    QTRY_VERIFY_WITH_TIMEOUT(!m_messages.isEmpty(), 20000);
    EXPECT_TRUE(m_messages[0].startsWith("备份完成：" + Path("copy.db"))) << m_messages[0].toStdString();
    EXPECT_TRUE(QFile::exists(Path("copy.db")));
    EXPECT_EQ(StoredText("20130102"), "备份前备份时");
}

TEST_F(KeepTest, TheExportAndTheImportWithItsPreviewWorkFromTheMenu) {
    CreateAndShow();
    Commit("今天的记事");
    m_saveAs = Path("notes.ics");
    m_range = true; // from the first of January to today
    m_form->N_ExportClick();
    ASSERT_EQ(m_messages.value(0), "已导出 1 天的记事：" + Path("notes.ics"));
    // Two calendars in one file: today's note as it is (skipped), and the same moved to the next day.
    const QByteArray today = ReadFile("notes.ics");
    WriteFile("notes.ics", today + QByteArray(today).replace("VALUE=DATE:20130102", "VALUE=DATE:20130103"));
    m_form->N_ImportClick();
    EXPECT_TRUE(m_preview.first.startsWith("新建 1 天的记事，在 0 天已有的记事后面追加，跳过 1 天"));
    EXPECT_EQ(m_preview.second, 2);
    EXPECT_TRUE(m_messages.value(1).startsWith("导入完成。"));
    EXPECT_EQ(StoredText("20130103"), "今天的记事");
}

TEST_F(KeepTest, AnImportFromTheCommandLineReachesTheShownNoteSoTheNextKeyKeepsIt) {
    CreateAndShow();
    Commit("写着");
    WriteFile("in.ics", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//EN\r\nBEGIN:VJOURNAL\r\nDTSTART;VALUE=DATE:"
                        "20130102\r\nDESCRIPTION:导入的\r\nEND:VJOURNAL\r\nEND:VCALENDAR\r\n");
    {
        TDM command; // the command line's own connection
        ASSERT_TRUE(command.DataModuleCreate());
        ASSERT_TRUE(ApplyImport(command, ReadIcsFile(Path("in.ics"))));
    }
    SingleInstance running(DataFolder());
    ASSERT_TRUE(running.Listen());
    QObject::connect(&running, &SingleInstance::notesChanged, m_form.get(), &TMainFrm::NotesChangedElsewhere);
    ASSERT_TRUE(SingleInstance(DataFolder()).TellRunningProgramNotesChanged());
    QTRY_COMPARE_WITH_TIMEOUT(m_form->rdtAbc().toPlainText(), QString("写着\n────────────\n导入的"), 10000);
    Commit("了");
    EXPECT_EQ(StoredText("20130102"), "写着了\n────────────\n导入的");
}

TEST(CommandLine, ReadsTheBatchOptionsAndRefusesTheirWrongUse) {
    const auto parse = [](QStringList arguments) {
        arguments.prepend("quenda-calendar");
        return ParseCommandLine(arguments);
    };
    const auto exported = parse({"--export", "a.ics", "--from", "2013-01-01", "--to", "2013-12-31"});
    ASSERT_TRUE(std::holds_alternative<CommandLine>(exported));
    const CommandLine& options = std::get<CommandLine>(exported);
    EXPECT_EQ(options.exportFile, "a.ics");
    EXPECT_EQ(options.from, QDate(2013, 1, 1));
    EXPECT_EQ(options.to, QDate(2013, 12, 31));
    EXPECT_TRUE(options.HasBatchCommand());
    const QStringList wrong[] = {{"--from", "2013-01-01"},          {"--export", "a", "--from", "2013-13-01"},
                                 {"--export", "a", "--to", "2101-01-01"}, {"--export", "a", "--from", "2014-01-01", "--to", "2013-01-01"},
                                 {"--backup", "a", "--import", "b"}, {"--yes"}};
    for (const QStringList& arguments : wrong) {
        const auto parsed = parse(arguments);
        ASSERT_TRUE(std::holds_alternative<CommandLineExit>(parsed)) << arguments.join(' ').toStdString();
        EXPECT_EQ(std::get<CommandLineExit>(parsed).status, 2);
    }
    EXPECT_TRUE(RunsWithoutWindow({"quenda-calendar", "--backup", "x.db"}));
    EXPECT_TRUE(RunsWithoutWindow({"quenda-calendar", "--import=x.ics"}));
    EXPECT_FALSE(RunsWithoutWindow({"quenda-calendar", "--data-dir", "x"}));
}
