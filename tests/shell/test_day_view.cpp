// The day view: which note the editor shows and when what is typed reaches the store.
#include "MainWindowFixture.h"

#include "ChnCalendarPicker.h"
#include "RtfCodec.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMenu>
#include <QTextDocument>
#include <QTextEdit>

using namespace quenda;
using namespace quenda::test;

namespace {

class DayViewTest : public MainWindowTest {
protected:
    void StartOnPage(int page) {
        WriteFile("Data/FormSize.ini", QByteArray::number(page) + "\r\n750\r\n500\r\n0\r\n0\r\n");
        CreateAndShow();
    }
    void Seed(const QString& key, const QString& text) {
        QTextDocument document;
        document.setPlainText(text);
        const QByteArray rtf = writeRtf(document);
        Exec(QStringLiteral("insert into UserCon values ('%1', x'%2')")
                 .arg(key, QString::fromLatin1(rtf.toHex())));
    }
};

} // namespace

TEST_F(DayViewTest, EveryKeystrokeIsStoredAtOnce) {
    StartOnPage(1);
    Type("ab");
    EXPECT_EQ(StoredText("20130102"), "ab");
    Commit(QStringLiteral("记事"));
    EXPECT_EQ(StoredText("20130102"), QStringLiteral("ab记事"));
    EXPECT_EQ(Rows().size(), 1u);
}

TEST_F(DayViewTest, OnPageZeroTheNoteIsStoredWhenTheEditorLosesTheFocus) {
    StartOnPage(0);
    Type("later");
    EXPECT_EQ(StoredText("20130102"), std::nullopt);
    m_form->chnTavi().DayGrid().setFocus();
    EXPECT_EQ(StoredText("20130102"), "later");
}

TEST_F(DayViewTest, LeavingTheEditorWithoutTypingWritesNoRow) {
    StartOnPage(1);
    m_form->rdtAbc().setFocus();
    m_form->chnTavi().DayGrid().setFocus();
    EXPECT_EQ(StoredText("20130102"), std::nullopt);
}

TEST_F(DayViewTest, OnlyANoteThatChangedIsWritten) {
    StartOnPage(1);
    auto logged = [&] { return QFileInfo(Path("Data/UserData.db-wal")).size(); }; // each write adds to it
    const qint64 before = logged();
    // An input method's unfinished syllable changes no text; its commit does.
    for (const char* syllable : {"n", "ni", "nih", "niha", "nihao"}) {
        QInputMethodEvent preedit(QString::fromLatin1(syllable), {});
        QCoreApplication::sendEvent(&m_form->rdtAbc(), &preedit);
    }
    EXPECT_EQ(logged(), before);
    Commit(QStringLiteral("你好"));
    EXPECT_GT(logged(), before);
    // A popup menu takes the focus from the note: a day never typed into gets no row.
    ClickDate(9);
    m_form->rdtAbc().setFocus();
    m_form->pmDeskTopMonCal().popup(m_form->mapToGlobal(QPoint(400, 400)));
    m_form->pmDeskTopMonCal().close();
    EXPECT_EQ(StoredText("20130109"), std::nullopt);
}

TEST_F(DayViewTest, TypingThenClickingAnotherDateStoresUnderTheFirstAndShowsTheSecond) {
    Seed("20130105", QStringLiteral("五号的记事"));
    for (int page : {1, 0}) {
        StartOnPage(page);
        Type("second");
        ClickDate(5);
        EXPECT_EQ(StoredText("20130102"), "second") << "page " << page;
        EXPECT_EQ(m_form->rdtAbc().toPlainText(), QStringLiteral("五号的记事"));
        ClickDate(9);
        EXPECT_EQ(m_form->rdtAbc().toPlainText(), "");
        EXPECT_EQ(StoredText("20130109"), std::nullopt); // nothing typed, the editor never had the focus
        Exec("delete from UserCon where conIndex = '20130102'");
        Destroy();
    }
}

TEST_F(DayViewTest, APlainTextNoteLoadsAsText) {
    Exec(QStringLiteral("insert into UserCon values ('20130102', 'plain words')"));
    StartOnPage(1);
    EXPECT_EQ(m_form->rdtAbc().toPlainText(), "plain words");
}

TEST_F(DayViewTest, AfterAFailedLoadNothingIsStoredUnderTheNewDate) {
    Seed("20130102", QStringLiteral("second of January"));
    StartOnPage(1);
    Exec("alter table UserCon rename to Hidden");
    ClickDate(3);
    EXPECT_EQ(m_messages, QStringList{QStringLiteral("加载记事内容失败！")});
    EXPECT_TRUE(m_form->rdtAbc().isReadOnly());
    m_form->rdtAbc().setFocus();
    m_form->chnTavi().DayGrid().setFocus();
    EXPECT_TRUE(m_form->img_close_highlightClick()); // nothing to store, so nothing fails
    Exec("alter table Hidden rename to UserCon");
    EXPECT_EQ(StoredText("20130103"), std::nullopt);
    EXPECT_EQ(StoredText("20130102"), QStringLiteral("second of January"));
}

TEST_F(DayViewTest, AfterAFailedLoadTheNoteAreaSaysWhyUntilALoadSucceeds) {
    StartOnPage(1);
    const QLabel& state = m_form->lblNoteState();
    Exec("alter table UserCon rename to Hidden");
    ClickDate(3);
    EXPECT_FALSE(state.isHidden());
    EXPECT_TRUE(state.text().contains(QStringLiteral("记事库里没有记事表"))) << state.text().toStdString();
    Exec("alter table Hidden rename to UserCon");
    ClickDate(4);
    EXPECT_TRUE(state.isHidden());
    EXPECT_FALSE(m_form->rdtAbc().isReadOnly());
}
