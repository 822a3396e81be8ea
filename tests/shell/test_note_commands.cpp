// The note editor's menu and tools on the real editor: marks, today's date, colour, clipboard and undo,
// each reaching the store as typing does.
#include "MainWindowFixture.h"

#include "ChnCalendarPicker.h"
#include "Clock.h"
#include "Dialogs.h"
#include "NoteCommands.h"
#include "RtfCodec.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>

#include <functional>

using namespace quenda;
using namespace quenda::test;

namespace {

class NoteCommandsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        CreateAndShow();
        Type("abcd");
    }
    QTextEdit& Editor() { return m_form->rdtAbc(); }
    // Puts the caret at `position`, or selects from `position` to `end`.
    void Place(int position, int end = -1) {
        QTextCursor cursor = Editor().textCursor();
        cursor.setPosition(position);
        if (end >= 0) cursor.setPosition(end, QTextCursor::KeepAnchor);
        Editor().setTextCursor(cursor);
    }
    QTextCharFormat FormatAt(int position) {
        QTextCursor cursor(Editor().document());
        cursor.setPosition(position + 1);
        return cursor.charFormat();
    }
};

} // namespace

TEST_F(NoteCommandsTest, MarksAndTheDateGoInAtTheCaretOrOverTheSelectionAndAreStored) {
    const struct {
        const char* name;
        int from, to;
        void (TMainFrm::*command)();
        QString text;
        int caret;
    } cases[] = {
        {"tick mid-word", 2, -1, &TMainFrm::btnGouClick, QStringLiteral("ab√cd"), 3},
        {"cross over a selection", 1, 3, &TMainFrm::btnXClick, QStringLiteral("a×d"), 2},
        {"tick from the menu", 4, -1, &TMainFrm::V1Click, QStringLiteral("abcd√"), 5},
        {"cross from the menu", 0, 4, &TMainFrm::X1Click, QStringLiteral("×"), 1},
        {"today's date", 2, -1, &TMainFrm::imgDateClick, QStringLiteral("ab 2013.01.02 (三)cd"), 17},
    };
    for (const auto& c : cases) {
        Editor().setPlainText("abcd");
        Place(c.from, c.to);
        (m_form.get()->*c.command)();
        EXPECT_EQ(Editor().toPlainText(), c.text) << c.name;
        EXPECT_EQ(Editor().textCursor().position(), c.caret) << c.name;
        EXPECT_EQ(StoredText("20130102"), c.text) << c.name;
    }
}

TEST_F(NoteCommandsTest, AnInsertedMarkTakesTheFormattingAtItsPlaceAndUndoTakesItBack) {
    Place(0, 2);
    Editor().setFontWeight(QFont::Bold);
    Place(2);
    m_form->btnGouClick();
    EXPECT_EQ(FormatAt(2).fontWeight(), QFont::Bold);
    m_form->CtrlZ1Click();
    EXPECT_EQ(Editor().toPlainText(), "abcd");
    EXPECT_EQ(StoredText("20130102"), "abcd");
}

TEST(InsertedDateText, WritesTheDateWithPointsAndTheWeekday) {
    EXPECT_EQ(InsertedDateText(EncodeDate(2013, 1, 2) + 0.9), QStringLiteral(" 2013.01.02 (三)"));
    EXPECT_EQ(InsertedDateText(EncodeDate(2026, 12, 13)), QStringLiteral(" 2026.12.13 (日)"));
    EXPECT_EQ(InsertedDateText(EncodeDate(2000, 1, 1)), QStringLiteral(" 2000.01.01 (六)"));
}

TEST_F(NoteCommandsTest, TheColourToolAsksOnlyWhileTheEditorHasTheFocus) {
    int asked = 0;
    std::optional<QColor> answer = QColor(255, 0, 0);
    DialogSeamsForTesting().chooseColor = [&](const QColor&) { return ++asked, answer; };
    m_form->chnTavi().DayGrid().setFocus();
    m_form->imgRedColorClick();
    EXPECT_EQ(asked, 0);

    Editor().setFocus();
    Place(1, 3);
    answer = std::nullopt; // cancelled
    m_form->imgRedColorClick();
    EXPECT_EQ(FormatAt(1).foreground().color(), QColor(Qt::black));
    answer = QColor(255, 0, 0);
    m_form->imgRedColorClick();
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(FormatAt(1).foreground().color(), QColor(255, 0, 0));
    EXPECT_NE(FormatAt(0).foreground().color(), QColor(255, 0, 0));
    EXPECT_TRUE(Rows().at("20130102").contains("\\red255\\green0\\blue0")); // stored with the change
}

TEST_F(NoteCommandsTest, TheMenuHasItsCaptionsInOrderAndTheToolsTakeNoFocus) {
    QStringList captions;
    for (const QAction* item : m_form->pmDeskTopMonCal().actions()) {
        captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
        EXPECT_TRUE(item->shortcut().isEmpty()) << item->text().toStdString();
    }
    EXPECT_EQ(captions, (QStringList{"复制", "粘贴", "删除", "剪切", "-", "打V", "打X", "-", "撤销(Ctrl+Z)",
                                     "重做(Ctrl+Y)"}));

    Place(1, 3);
    for (const char* name : {"btnGou", "btnX", "imgDate", "imgRedColor"}) {
        QWidget* tool = m_form->findChild<QWidget*>(name);
        ASSERT_NE(tool, nullptr) << name;
        EXPECT_EQ(tool->focusPolicy(), Qt::NoFocus) << name;
    }
    QTest::mouseClick(m_form->findChild<QToolButton*>("btnGou"), Qt::LeftButton);
    EXPECT_TRUE(Editor().hasFocus());
    EXPECT_EQ(Editor().toPlainText(), QStringLiteral("a√d"));
}

TEST_F(NoteCommandsTest, ClipboardCommandsWorkOnTheSelection) {
    Place(0, 2);
    m_form->N3Click(); // cut "ab"
    EXPECT_EQ(Editor().toPlainText(), "cd");
    Place(2);
    m_form->N2Click(); // paste it behind "cd"
    EXPECT_EQ(Editor().toPlainText(), "cdab");
    Place(0, 1);
    m_form->N1Click(); // copy "c"
    EXPECT_EQ(QApplication::clipboard()->text(), "c");
    m_form->N9Click(); // delete "c"
    EXPECT_EQ(StoredText("20130102"), "dab");
}

TEST_F(NoteCommandsTest, UndoNeverBringsBackTheNoteOfTheDateBefore) {
    ClickDate(5);
    Editor().setFocus();
    m_form->CtrlZ1Click();
    QTest::keyClick(&Editor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Editor().toPlainText(), "");
    m_form->chnTavi().DayGrid().setFocus();
    EXPECT_EQ(StoredText("20130105"), std::nullopt); // the focus came and went: no row, not "abcd"
    EXPECT_EQ(StoredText("20130102"), "abcd");
}

TEST_F(NoteCommandsTest, UndoTakesBackOneStepAtATimeAndRedoBringsEachBack) {
    auto later = [](double seconds) { Clock::SetNowForTesting([=] { return kTestNow + seconds / 86400; }); };
    auto key = [&](Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(&Editor(), k, m); };
    const struct {
        const char* name;
        std::function<void()> edit;
        QStringList afterEachUndo; // from the whole text back to the empty note
    } cases[] = {
        {"words", [&] { Type("hello world"); }, {"hello ", ""}},
        {"a line", [&] { Type("ab"), key(Qt::Key_Return), Type("cd"); }, {"ab\n", "ab", ""}},
        {"tools",
         [&] { Type("ab"), m_form->btnGouClick(), m_form->X1Click(), m_form->imgDateClick(), Type("c"); },
         {QStringLiteral("ab√× 2013.01.02 (三)"), QStringLiteral("ab√×"), QStringLiteral("ab√"), "ab", ""}},
        {"a pause", [&] { Type("ab"), later(1.5), Type("cd"); }, {"ab", ""}},
        {"input method",
         [&] { Commit(QStringLiteral("你好")), Type("ab"), Commit(QStringLiteral("世界")); },
         {QStringLiteral("你好ab"), QStringLiteral("你好"), ""}},
        {"after an undo",
         [&] { Type("ab cd"), key(Qt::Key_Z, Qt::ControlModifier), Type("x"); },
         {"ab ", ""}},
    };
    int day = 10;
    for (const auto& c : cases) {
        later(0);
        ClickDate(++day);
        c.edit();
        const QString whole = Editor().toPlainText();
        for (const QString& text : c.afterEachUndo) {
            m_form->CtrlZ1Click();
            EXPECT_EQ(Editor().toPlainText(), text) << c.name;
        }
        EXPECT_EQ(StoredText(QStringLiteral("201301%1").arg(day)), "") << c.name; // stored at once
        m_form->CtrlY1Click();
        for (int step = 1; step < c.afterEachUndo.size(); ++step)
            key(Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(Editor().toPlainText(), whole) << c.name;
    }
}

TEST_F(NoteCommandsTest, APastedWebPageKeepsAllItsTextThroughTheStore) {
    auto* mime = new QMimeData;
    mime->setHtml(QStringLiteral(
        "<h1>标题</h1><p>段落 <b>粗体</b> <a href='x'>链接</a></p>"
        "<ul><li>一</li><li>二<ol><li>二点一</li></ol></li></ul>"
        "<table><tr><td>格1</td><td>格2</td></tr><tr><td><table><tr><td>内</td></tr></table></td>"
        "<td>格4</td></tr></table><p><img src='data:,x' alt='图'>图后</p><pre>code  line</pre>"));
    QApplication::clipboard()->setMimeData(mime);
    Editor().clear();
    m_form->N2Click();
    QString typed = Editor().toPlainText();
    typed.remove(QChar(0xFFFC)); // the picture itself is not kept

    Destroy();
    CreateAndShow();
    EXPECT_EQ(m_form->rdtAbc().toPlainText(), typed);
    for (const char* word :
         {"标题", "粗体", "链接", "二点一", "格1", "格2", "内", "格4", "图后", "code  line"})
        EXPECT_TRUE(typed.contains(QString::fromUtf8(word))) << word;
}
