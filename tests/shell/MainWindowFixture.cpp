#include "MainWindowFixture.h"

#include "ChnCalendarPicker.h"
#include "Clock.h"
#include "RtfCodec.h"

#include <QInputMethodEvent>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>

namespace quenda::test {

const TDateTime kTestNow = EncodeDate(2013, 1, 2) + 10.0 / 24;

void MainWindowTest::SetUp() {
    ProgramFolderTest::SetUp();
    MakeStore();
    Clock::SetNowForTesting([] { return kTestNow; });
    SetScreensForTesting([this] { return ScreenLayout{m_screen, {QRect(QPoint(0, 0), m_screen)}}; });
}

void MainWindowTest::TearDown() {
    Destroy();
    SetScreensForTesting({});
    Clock::SetNowForTesting({});
    ProgramFolderTest::TearDown();
}

void MainWindowTest::Create() {
    m_dm = std::make_unique<TDM>();
    ASSERT_TRUE(m_dm->DataModuleCreate());
    m_form = std::make_unique<TMainFrm>(*m_dm);
    m_form->FinishStartUp(); // what the program does after the first paint, for the tests that look at it
}

void MainWindowTest::Show() {
    m_form->show();
    m_form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
}

void MainWindowTest::Destroy() {
    m_form.reset();
    m_dm.reset();
}

void MainWindowTest::Type(const QString& text) {
    m_form->rdtAbc().setFocus();
    QTest::keyClicks(&m_form->rdtAbc(), text);
}

void MainWindowTest::Commit(const QString& text) {
    m_form->rdtAbc().setFocus();
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(&m_form->rdtAbc(), &event);
}

void MainWindowTest::ClickDate(int day) {
    const TDayTable& cells = m_form->chnTavi().Cells();
    for (int cell = 1; cell <= kLastDayCell; ++cell) {
        if (!cells.Cells(cell).Valid || cells.Cells(cell).Day != day) continue;
        TDayGrid& grid = m_form->chnTavi().DayGrid();
        const CellPos pos = CellPosOf(cell);
        QTest::mouseClick(&grid, Qt::LeftButton, {}, CellRect(grid.Sizes(), pos.column, pos.row).center());
        return;
    }
    ADD_FAILURE() << "the month shows no day " << day;
}

std::optional<QString> MainWindowTest::StoredText(const QString& key) {
    const auto rows = Rows();
    const auto row = rows.find(key);
    if (row == rows.end()) return std::nullopt;
    QTextDocument document;
    readRtf(row->second, document);
    return document.toPlainText();
}

} // namespace quenda::test
