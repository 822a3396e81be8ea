#include "ChnCalendarPicker.h"

#include "CalendarMenus.h"
#include "CalendarPainting.h"
#include "Clock.h"

#include <QAction>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>

namespace quenda {

namespace {

QFont LabelFont(const char* face, int points, bool bold = false, bool underline = false) {
    return MakeFont(QString::fromUtf8(face), points, bold, underline);
}

TLinkLabel* MakeLabel(QWidget* parent, const char* name, const QFont& font, const QString& text, QPoint pos) {
    auto* label = new TLinkLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    label->setText(text);
    label->move(pos);
    label->adjustSize();
    return label;
}

} // namespace

TChnCalendar::TChnCalendar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TChnCalendar"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_style.Font = font();
    m_style.FontDate = font();
    m_style.FontDate.setFamily(QStringLiteral("黑体"));
    m_style.FontDate.setPixelSize(PointsToPixels(9));
    m_style.FontDate.setBold(true);
    m_style.FontCnDate = font();
    m_style.FontCnDate.setFamily(QStringLiteral("宋体"));
    m_style.FontCnDate.setPixelSize(PointsToPixels(9));
    m_style.FontCnDate.setBold(false);
    m_style.TitleFont = LabelFont("宋体", 9);
    m_style.Locale = CalendarLocale();
    CreateChildren();
    ConnectChildren();
    DescribeParts();
    resize(kConstructedSize);
    SetShowTitle(m_showTitle);
}

TChnCalendar::~TChnCalendar() {
    m_dayGrid->DetachHost();
}

void TChnCalendar::CreateChildren() {
    m_monthLabel = MakeLabel(this, "MonthLabel", LabelFont("Arial", 24, true), {}, {0, kMonthLabelTop});
    m_monthUnitLabel =
        MakeLabel(this, "MonthUnitLabel", LabelFont("宋体", 9), QStringLiteral("月"), kMonthUnitLabelPos);
    m_yearLabel = MakeLabel(this, "YearLabel", LabelFont("Arial Black", 22), {}, kYearLabelPos);
    m_yearUnitLabel =
        MakeLabel(this, "YearUnitLabel", LabelFont("宋体", 9), QStringLiteral("年"), kYearUnitLabelPos);
    m_todayLabel = MakeLabel(this, "TodayLabel", LabelFont("宋体", 9, false, true), QStringLiteral("今天"),
                             kTodayLabelPos);
    m_selectedLabel = MakeLabel(this, "SelectedLabel", LabelFont("宋体", 9), {}, kSelectedLabelPos);
    m_selectedLabel->setCursor(Qt::ArrowCursor);
    m_monthSpin = new TSpinButton(this, 0, 13);
    m_monthSpin->setObjectName(QStringLiteral("MonthSpin"));
    m_monthSpin->move(kMonthSpinPos);
    m_yearSpin = new TSpinButton(this, 1, 2100);
    m_yearSpin->setObjectName(QStringLiteral("YearSpin"));
    m_yearSpin->move(kYearSpinPos);
    m_dayGrid = new TDayGrid(this, *this); // last, so it covers the labels when the title is hidden
    m_monthMenu = new QMenu(this);
    m_monthMenu->setObjectName(QStringLiteral("MonthMenu"));
    m_yearMenu = new QMenu(this);
    m_yearMenu->setObjectName(QStringLiteral("YearMenu"));
    CreateOptionsMenu();
    ApplyLabelColour(*m_monthLabel, m_colorTitleMonth);
    ApplyLabelColour(*m_yearLabel, m_colorTitleYear);
    ApplyLabelColour(*m_todayLabel, m_colorTitleToday);
    ApplyLabelColour(*m_selectedLabel, m_colorTitleSelected);
    ApplyLabelColour(*m_monthUnitLabel, 0);
    ApplyLabelColour(*m_yearUnitLabel, 0);
    m_dayGrid->SetColumnZeroWidth(kWeekColumnHidden);
    PlaceMonthLabel();
}

void TChnCalendar::ConnectChildren() {
    connect(m_todayLabel, &TLinkLabel::clicked, this, &TChnCalendar::GoToday);
    for (TLinkLabel* label : {m_monthLabel, m_monthUnitLabel}) {
        connect(label, &TLinkLabel::clicked, this, [this](QPoint at) { OpenMenu(*m_monthMenu, at); });
        connect(label, &TLinkLabel::menuRequested, this, [this](QPoint at) { OpenMenu(*m_monthMenu, at); });
    }
    for (TLinkLabel* label : {m_yearLabel, m_yearUnitLabel}) {
        connect(label, &TLinkLabel::clicked, this, [this](QPoint at) { OpenMenu(*m_yearMenu, at); });
        connect(label, &TLinkLabel::menuRequested, this, [this](QPoint at) { OpenMenu(*m_yearMenu, at); });
    }
    for (TLinkLabel* label :
         {m_todayLabel, m_monthLabel, m_monthUnitLabel, m_yearLabel, m_yearUnitLabel, m_selectedLabel})
        connect(label, &TLinkLabel::left, this, [this] { m_mousePressed = false; });
    connect(m_selectedLabel, &TLinkLabel::menuRequested, this,
            [this](QPoint at) { m_optionsMenu->popup(at); });
    for (TSpinButton* spin : {m_monthSpin, m_yearSpin})
        connect(spin, &TSpinButton::left, this, [this] { m_mousePressed = false; });
    connect(m_monthSpin, &TSpinButton::arrowClicked, this, &TChnCalendar::StepMonth);
    connect(m_yearSpin, &TSpinButton::arrowClicked, this, &TChnCalendar::StepYear);
}

void TChnCalendar::CreateWnd() {
    if (m_created) return;
    m_created = true;
    BuildMenus();
    SetDateTime(Clock::Now());
    SetShowTitle(true);
}

// Fills both menus once (unless on demand), then sizes the header row and the week-number column and
// spreads the grid.
void TChnCalendar::BuildMenus() {
    if (!m_menusOnDemand) FillMenus();
    m_dayGrid->SetColumnZeroWidth(m_style.ShowWeekNum ? kWeekColumnShown : kWeekColumnHidden);
    const QRect grid = m_dayGrid->geometry();
    m_dayGrid->SetSizes(SpreadGrid(grid.width(), grid.height(), m_dayGrid->Sizes().columnWidths[0]));
}

void TChnCalendar::FillMenus() {
    if (m_menusFilled) return;
    m_menusFilled = true;
    BuildMonthMenu(*m_monthMenu, CalendarLocale());
    BuildYearMenu(*m_yearMenu);
    for (QMenu* menu : {m_monthMenu, m_yearMenu})
        for (QAction* action : menu->findChildren<QAction*>()) {
            if (action->isSeparator() || action->menu() != nullptr) continue;
            const bool isMonth = menu == m_monthMenu;
            connect(action, &QAction::triggered, this, [this, action, isMonth] {
                if (!action->data().isValid()) return GoToday();
                isMonth ? ChooseMonth(action->data().toInt()) : ChooseYear(action->data().toInt());
            });
        }
}

void TChnCalendar::SetShowTitle(bool value) {
    m_showTitle = value;
    m_monthSpin->setVisible(value);
    m_yearSpin->setVisible(value);
    const QRect grid = DayGridRect(size(), value);
    m_dayGrid->setGeometry(grid);
    m_dayGrid->SetSizes(SpreadGrid(grid.width(), grid.height(), m_dayGrid->Sizes().columnWidths[0]));
    RenderBackground();
    m_dayGrid->RefreshAll();
}

void TChnCalendar::RenderBackground() {
    const CivilDate date = DecodeDate(m_dateTime);
    BackgroundParams params;
    params.size = size();
    params.devicePixelRatio = devicePixelRatioF();
    params.gridRect = m_dayGrid->geometry();
    params.font = font();
    params.showFrame = m_showFrame;
    params.colorShowFrame = m_colorShowFrame;
    params.showBackYearMonth = m_showBackYearMonth;
    params.colorBackYear = m_colorBackYear;
    params.colorBackMonth = m_colorBackMonth;
    params.year = date.year;
    params.month = date.month;
    params.picture = &m_backGround;
    params.center = m_center;
    params.stretch = m_stretch;
    params.alphaBlend = m_alphaBlend;
    quenda::RenderBackground(params, m_backBuffer, m_pictureLayer);
}

void TChnCalendar::RenderAndInvalidate() {
    RenderBackground();
    update();
    // The grid shows its part of the background through every cell.
    m_dayGrid->RefreshAll();
}

void TChnCalendar::PlaceMonthLabel() {
    // The month number keeps its right edge; an empty text measures as one blank.
    const QFontMetrics metrics(m_monthLabel->font());
    const int right = kMonthLabelRight + metrics.horizontalAdvance(QLatin1Char(' '));
    const QString text = m_monthLabel->text();
    const int width =
        text.isEmpty() ? metrics.horizontalAdvance(QLatin1Char(' ')) : metrics.horizontalAdvance(text);
    m_monthLabel->setGeometry(right - width, kMonthLabelTop, width, metrics.height());
}

void TChnCalendar::ApplyLabelColour(QLabel& label, TColor colour) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, ToQColor(colour));
    label.setPalette(palette);
}

void TChnCalendar::paintEvent(QPaintEvent* event) {
    EnsureBackBufferFitsScreen();
    QPainter painter(this);
    DrawBufferPart(painter, event->rect().topLeft(), m_backBuffer, event->rect());
}

// The background is drawn at the screen's pixel ratio. Whichever paints first after a move to a screen of
// another ratio, the control or a grid cell, renders it again.
void TChnCalendar::EnsureBackBufferFitsScreen() {
    if (!BufferFits(m_backBuffer, size(), devicePixelRatioF())) RenderBackground();
}

bool TChnCalendar::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    // Moved to another screen, or the screen's scale changed: every buffer is drawn again at the new ratio.
    bool newRatio = event->type() == QEvent::ScreenChangeInternal;
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    newRatio = newRatio || event->type() == QEvent::DevicePixelRatioChange;
#endif
    if (newRatio && !BufferFits(m_backBuffer, size(), devicePixelRatioF())) RenderAndInvalidate();
    return handled;
}

void TChnCalendar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    SetShowTitle(m_showTitle);
    update();
}

void TChnCalendar::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    CreateWnd();
}

void TChnCalendar::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::FontChange || m_dayGrid == nullptr) return;
    m_style.Font = font();
    update();
    m_dayGrid->RefreshAll(); // the week-day header is drawn in the control's font
}

void TChnCalendar::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    m_mousePressed = false;
}

const QImage& TChnCalendar::ComposeCell(int column, int row, const QRect& rect, bool selected, bool focused) {
    EnsureBackBufferFitsScreen();
    const CellContext context{m_style, m_table,         m_backBuffer,     m_dayGrid->pos(),
                              this,    &OnDrawDateCell, &OnDrawCnDateCell};
    try {
        PaintCell(context, {column, row, rect, selected, focused}, m_cellBitmap);
    } catch (...) {
        // A failing draw handler still leaves a whole cell: whatever was composed is copied.
    }
    return m_cellBitmap;
}

} // namespace quenda
