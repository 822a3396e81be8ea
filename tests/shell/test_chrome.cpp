// The window's chrome: the three looks of the close and minimise buttons, the options menu, the web
// panel's right click, the pages it opens.
#include "MainWindowFixture.h"

#include "ChromeButton.h"
#include "Dialogs.h"

#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTextBrowser>

using namespace quenda;
using namespace quenda::test;

namespace {

// Which of the six looks show: close normal, highlight, down, then minimise normal, highlight, down.
std::string Looks(const TMainFrm& form) {
    std::string looks;
    for (const TChromeButton* button : {&form.CloseButton(), &form.MiniButton()})
        for (const QLabel* look : {&button->Normal(), &button->Highlight(), &button->Down()})
            looks += look->isVisible() ? '+' : '-';
    return looks;
}

void Send(QWidget& widget, QEvent::Type type, Qt::MouseButton button = Qt::NoButton) {
    const QPoint at(widget.width() / 2, widget.height() / 2);
    QMouseEvent event(type, at, widget.mapToGlobal(at), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button), {});
    QApplication::sendEvent(&widget, &event);
}

} // namespace

TEST_F(MainWindowTest, ChromeButtonsShowTheirLookForEachEvent) {
    CreateAndShow();
    TChromeButton& close = m_form->CloseButton();
    TChromeButton& mini = m_form->MiniButton();
    QWidget& background = *m_form->findChild<QWidget*>("imgBG");
    EXPECT_EQ(Looks(*m_form), "+--+--");
    Send(close.Normal(), QEvent::MouseMove);
    EXPECT_EQ(Looks(*m_form), "-+-+--");
    Send(close.Highlight(), QEvent::MouseButtonPress, Qt::RightButton);
    EXPECT_EQ(Looks(*m_form), "--++--");
    Send(background, QEvent::MouseMove);
    EXPECT_EQ(Looks(*m_form), "+--+--");
    Send(mini.Normal(), QEvent::MouseMove);
    EXPECT_EQ(Looks(*m_form), "+---+-");
    Send(mini.Highlight(), QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_EQ(Looks(*m_form), "+----+");
    Send(mini.Down(), QEvent::MouseButtonRelease, Qt::LeftButton); // the click: minimise
    EXPECT_EQ(Looks(*m_form), "+--+--");
    EXPECT_TRUE(m_form->isMinimized());
    EXPECT_EQ(close.Highlight().geometry(), QRect(710, 1, 39, 20)); // kept at the top-right corner
    EXPECT_EQ(mini.Normal().geometry(), QRect(681, 1, 28, 20));
    EXPECT_EQ(mini.Highlight().geometry(), QRect(680, 1, 28, 20));
}

TEST_F(MainWindowTest, TheOptionsMenuHasItsCaptionsAndOpensTheLocalPages) {
    std::vector<QUrl> opened;
    DialogSeamsForTesting().openPage = [&](const QUrl& url) { opened.push_back(url); };
    CreateAndShow();
    QStringList captions;
    for (const QAction* item : m_form->popSysset().actions())
        captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
    EXPECT_EQ(captions, (QStringList{"帮助说明", "意见反馈", "-", "查找记事…", "备份记事…", "导出记事…", "导入记事…",
                                     "-", "同步设置…", "立即同步", "-", "开机时自动启动", "-", "退出程序"}));

    m_form->lblSetClick();
    EXPECT_TRUE(m_form->popSysset().isVisible());
    // Under the label's bottom-left corner (moved left only as far as the screen's edge asks).
    const QPoint corner = m_form->lblSet().mapToGlobal(QPoint(0, m_form->lblSet().height()));
    EXPECT_EQ(m_form->popSysset().pos().y(), corner.y());
    EXPECT_LE(m_form->popSysset().pos().x(), corner.x());
    m_form->popSysset().close();
    EXPECT_EQ(m_form->lblSet().contextMenuPolicy(), Qt::CustomContextMenu);

    m_form->N_helpClick();
    m_form->N_SubmitClick();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(Path("pages/help.html")));
    EXPECT_EQ(opened[1], QUrl::fromLocalFile(Path("pages/feedback.html")));
}

TEST_F(MainWindowTest, ARightClickInTheWebPanelShowsNoPageMenu) {
    CreateAndShow();
    QWidget& page = *m_form->webLink().viewport();
    QMouseEvent right(QEvent::MouseButtonPress, {5, 5}, page.mapToGlobal(QPoint(5, 5)), Qt::RightButton,
                      Qt::RightButton, {});
    QMouseEvent left(QEvent::MouseButtonPress, {5, 5}, page.mapToGlobal(QPoint(5, 5)), Qt::LeftButton,
                     Qt::LeftButton, {});
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, {5, 5}, page.mapToGlobal(QPoint(5, 5)));
    EXPECT_TRUE(m_form->AppEvent1Message(&page, &right));
    EXPECT_TRUE(m_form->AppEvent1Message(&page, &menu));
    EXPECT_FALSE(m_form->AppEvent1Message(&page, &left));
    EXPECT_FALSE(m_form->AppEvent1Message(&m_form->rdtAbc(), &right)); // elsewhere as usual
    EXPECT_TRUE(m_form->webLink().toPlainText().contains(QStringLiteral("2013年1月 星期三")));
}
