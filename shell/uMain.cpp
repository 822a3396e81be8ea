// The main window's controls and their places.
#include "uMain.h"

#include "Accessibility.h"
#include "CalendarLook.h"
#include "CalendarWidgets.h"
#include "ChnCalendarPicker.h"
#include "ChromeButton.h"
#include "Dialogs.h"
#include "NoteUndoSteps.h"
#include "Pictures.h"
#include "SyncScheduler.h"
#include "TestReport.h"
#include "uDM.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QTextBrowser>
#include <QTextEdit>
#include <QVBoxLayout>

namespace quenda {

namespace {

constexpr QColor kFrameBlue(216, 227, 243);
constexpr QColor kMaroon(128, 0, 0);
constexpr QColor kEditorDefault(192, 220, 192);
constexpr int kTypingPauseMs = 2000;
constexpr int kSettledMs = 100; // no window-system event on the window for this long: it is in place

QFont Font(const char* face, int points, bool bold = false) {
    return MakeFont(QString::fromUtf8(face), points, bold);
}

// A plain panel filled with one colour.
QWidget* Panel(QWidget* parent, const char* name, const QColor& fill) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, fill);
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
    return panel;
}

// The frame of the client area, one pixel in the window's light blue over the background picture.
class FrameShape : public QWidget {
public:
    explicit FrameShape(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("shpBG"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(kFrameBlue);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

// The day view's panel: a raised outer and a lowered inner bevel of one pixel each round white.
class BevelPanel : public QWidget {
public:
    explicit BevelPanel(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("pnlABC"));
        setAutoFillBackground(true);
        setPalette(QPalette(Qt::white));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QColor light(Qt::white), shadow(160, 160, 160);
        bevel(painter, rect(), light, shadow);
        bevel(painter, rect().adjusted(1, 1, -1, -1), shadow, light);
    }

private:
    static void bevel(QPainter& painter, QRect r, const QColor& topLeft, const QColor& bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    }
};

TLinkLabel* PictureLabel(QWidget* parent, const char* name, const QString& picture) {
    auto* label = new TLinkLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setPixmap(WindowPicture(picture, parent->devicePixelRatioF()));
    label->setScaledContents(true);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

} // namespace

TMainFrm::TMainFrm(TDM& dm, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_dm(dm) {
    setObjectName(QStringLiteral("MainFrm"));
    setAccessibleName(QStringLiteral("桌面日历")); // the caption; the taskbar shows the program's title
    setMinimumSize(750, 500);
    CreateChrome();
    CreateLeftColumn();
    CreateDayView();
    TraceStartupStep("controls");
    CreateMenus();
    CreateNoteTools();
    CreateNoteMenu();
    ConnectHandlers();
    DescribeControls();
    CreateCalendarMarks();
    TraceStartupStep("menus, tools, marks");
    resize(kDesignClientSize);
    FormCreate();
    TraceStartupStep("FormCreate");
    CreateSync();
}

TMainFrm::~TMainFrm() {
    qApp->removeEventFilter(this);
}

void TMainFrm::CreateChrome() {
    auto* background = new QLabel(this);
    background->setObjectName(QStringLiteral("imgBG"));
    background->setPixmap(WindowPicture(QStringLiteral("main_background"), devicePixelRatioF()));
    background->setScaledContents(true);
    background->setMouseTracking(true);
    m_imgBG = background;
    m_layout.Add(m_imgBG, QRect(QPoint(0, 0), kDesignClientSize), AnchorAll);
    auto* frame = new FrameShape(this);
    m_layout.Add(frame, QRect(QPoint(0, 0), kDesignClientSize), AnchorAll);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setPixmap(WindowPicture(QStringLiteral("logo"), devicePixelRatioF()));
    logo->setAccessibleName(QStringLiteral("桌面日历")); // the words on the picture
    m_layout.Add(logo, QRect(52, 13, 210, 56));

    m_close =
        new TChromeButton(this, QStringLiteral("img_close"), QStringLiteral("close"), QRect(702, 1, 39, 20));
    m_layout.Add([this](QRect r) { m_close->SetGeometry(r); }, QRect(702, 1, 39, 20), AnchorTopRight);
    m_mini = new TChromeButton(this, QStringLiteral("img_mini"), QStringLiteral("mini"),
                               QRect(673, 1, 28, 20), QRect(672, 1, 28, 20));
    m_layout.Add([this](QRect r) { m_mini->SetGeometry(r, r.translated(-1, 0)); }, QRect(673, 1, 28, 20),
                 AnchorTopRight);

    m_lblDateTime = new QLabel(this);
    m_lblDateTime->setObjectName(QStringLiteral("lblDateTime"));
    m_lblDateTime->setFont(Font("微软雅黑", 9, true));
    m_lblDateTime->setStyleSheet(QStringLiteral("color: rgb(128, 0, 0)"));
    m_lblDateTime->move(343, 19);

    m_lblSet = new TLinkLabel(this);
    m_lblSet->setObjectName(QStringLiteral("lblSet"));
    m_lblSet->setText(QStringLiteral("|  选项"));
    m_lblSet->setFont(Font("宋体", 9));
    m_lblSet->setCursor(Qt::PointingHandCursor);
    m_lblSet->adjustSize();
    m_layout.Add(m_lblSet, QRect(QPoint(595, 56), m_lblSet->size()), AnchorTopRight);

    m_imgAppToDesk = PictureLabel(this, "imgAppToDesk", QStringLiteral("app_to_desk"));
    m_layout.Add(m_imgAppToDesk, QRect(654, 45, 84, 29), AnchorTopRight);
}

void TMainFrm::CreateLeftColumn() {
    QWidget* left = Panel(this, "pnlLeft", kFrameBlue); // its fill is the shape shpLeft
    m_layout.Add(left, QRect(4, 80, 302, 441));
    QWidget* web = Panel(left, "pnlWeb", Qt::white);
    web->setGeometry(1, 1, 300, 250);
    m_webLink = new QTextBrowser(web);
    m_webLink->setObjectName(QStringLiteral("webLink"));
    // The page fills its frame; the browser's border and scroll bars stay out of sight.
    m_webLink->setGeometry(0, 0, 300, 250);
    m_webLink->setFrameShape(QFrame::NoFrame);
    m_webLink->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_webLink->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_webLink->setOpenLinks(false);
    m_webLink->setFocusPolicy(Qt::NoFocus);
    m_imgAddToDesk = PictureLabel(left, "imgAddToDesk", QStringLiteral("add_to_desk"));
    m_imgAddToDesk->setGeometry(54, 264, 200, 93);
}

void TMainFrm::CreateDayView() {
    QWidget* right = Panel(this, "pngRight", Qt::white);
    m_layout.Add(right, QRect(315, 80, 423, 381), AnchorAll);
    auto* dayView = new BevelPanel(right);
    auto* column = new QVBoxLayout(dayView);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(0);
    auto* fill = new QVBoxLayout(right);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(dayView);

    m_chnTavi = new TChnCalendar(dayView);
    m_chnTavi->setObjectName(QStringLiteral("chnTavi"));
    m_chnTavi->setFixedHeight(250);
    column->addWidget(m_chnTavi);

    // Shown only after a failed load, over the note it keeps read-only.
    m_lblNoteState = new QLabel(dayView);
    m_lblNoteState->setObjectName(QStringLiteral("lblNoteState"));
    m_lblNoteState->setWordWrap(true);
    m_lblNoteState->setFont(Font("宋体", 9));
    m_lblNoteState->setStyleSheet(QStringLiteral(
        "#lblNoteState { color: rgb(128, 0, 0); background: rgb(255, 244, 214); padding: 2px; }"));
    m_lblNoteState->hide();
    column->addWidget(m_lblNoteState);

    m_rdtAbc = new QTextEdit(dayView);
    m_rdtAbc->setObjectName(QStringLiteral("rdtAbc"));
    m_undoSteps = new NoteUndoSteps(*m_rdtAbc);
    m_rdtAbc->setFrameShape(QFrame::NoFrame);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(15);
    m_rdtAbc->setFont(font);
    m_rdtAbc->document()->setDefaultFont(font);
    QPalette palette = m_rdtAbc->palette();
    palette.setColor(QPalette::Base, kEditorDefault);
    m_rdtAbc->setPalette(palette);
    column->addWidget(m_rdtAbc, 1);
}

void TMainFrm::CreateMenus() {
    m_popSysset = new QMenu(this);
    m_popSysset->setObjectName(QStringLiteral("popSysset"));
    auto add = [this](const char* name, const char* caption, void (TMainFrm::*handler)()) {
        QAction* item = m_popSysset->addAction(QString::fromUtf8(caption));
        item->setObjectName(QString::fromLatin1(name));
        connect(item, &QAction::triggered, this, handler);
    };
    add("N_help", "帮助说明", &TMainFrm::N_helpClick);
    add("N_Submit", "意见反馈", &TMainFrm::N_SubmitClick);
    CreateKeepMenu();
    m_popSysset->addSeparator()->setObjectName(QStringLiteral("N_SyncGroup"));
    add("N_SyncSet", "同步设置…", &TMainFrm::N_SyncSetClick);
    add("N_SyncNow", "立即同步", &TMainFrm::N_SyncNowClick);
    CreateAutostartItem();
    m_popSysset->addSeparator()->setObjectName(QStringLiteral("N4"));
    add("N_ExitPrj", "退出程序", &TMainFrm::N_ExitPrjClick);

    m_pmEmpty = new QMenu(this);
    m_pmEmpty->setObjectName(QStringLiteral("pmEmpty"));
}

void TMainFrm::ConnectHandlers() {
    m_chnTavi->OnChange = [this](TChnCalendar*) { chnTaviChange(); };
    connect(m_rdtAbc, &QTextEdit::textChanged, this, &TMainFrm::rdtAbcChange);
    connect(m_close, &TChromeButton::clicked, this, [this] { img_close_highlightClick(); });
    connect(m_mini, &TChromeButton::clicked, this, &TMainFrm::img_mini_highlightClick);
    connect(m_lblSet, &TLinkLabel::clicked, this, &TMainFrm::lblSetClick);
    connect(m_imgAppToDesk, &TLinkLabel::clicked, this, &TMainFrm::imgAppToDeskClick);
    connect(m_imgAddToDesk, &TLinkLabel::clicked, this, &TMainFrm::imgAddToDeskClick);
    connect(m_webLink, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& url) { OpenPage(m_webLink->document()->baseUrl().resolved(url)); });
    m_idle.setSingleShot(true);
    m_idle.setInterval(kTypingPauseMs);
    connect(&m_idle, &QTimer::timeout, this, [this] { m_dm.Checkpoint(); });
    m_settled.setSingleShot(true);
    m_settled.setInterval(kSettledMs);
    connect(&m_settled, &QTimer::timeout, this, &TMainFrm::ContinueStartUp);
    qApp->installEventFilter(this); // sees the web panel's events and the window's first paint
}

// What screen readers call the controls; the pictures that work as buttons get a press action.
void TMainFrm::DescribeControls() {
    SetAccessibleRole(*this, QAccessible::Window); // a plain widget, though a top-level one
    MarkDecorative(*m_imgBG);
    m_close->SetAccessibleName(QStringLiteral("关闭"));
    m_mini->SetAccessibleName(QStringLiteral("最小化"));
    const auto openOptions = [this] { m_lblSet->Press(); };
    MakePressable(*m_lblSet, QStringLiteral("选项"), openOptions, QAccessible::ButtonMenu);
    // The words on the pictures.
    MakePressable(*m_imgAppToDesk, QStringLiteral("添加到桌面"), [this] { m_imgAppToDesk->Press(); });
    MakePressable(*m_imgAddToDesk, QStringLiteral("选择壁纸"), [this] { m_imgAddToDesk->Press(); });
    m_webLink->setAccessibleName(QStringLiteral("今日信息"));
    m_rdtAbc->setAccessibleName(QStringLiteral("记事"));
}

void TMainFrm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_layout.Apply(size());
}

} // namespace quenda
