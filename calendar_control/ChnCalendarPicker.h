#pragma once
// TChnCalendar: a month calendar with the Chinese lunar calendar under every day. Its value is the selected
// date (DateTime); the host hears of every change through OnChange.

#include "CalendarCell.h"
#include "CalendarDayTable.h"
#include "CalendarLook.h"
#include "CalendarWidgets.h"
#include "ChnCalendarUse.h"
#include "DayNames.h"

#include <QDate>
#include <QImage>
#include <QSet>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QMenu;

namespace quenda {

using TNotifyEvent = std::function<void(TChnCalendar* Sender)>;

// Answers which days from `first` to `last` have a note with visible text; nothing when it cannot tell.
using NoteDaysProvider = std::function<std::optional<QSet<QDate>>(QDate first, QDate last)>;

// What the control shows of a day beside its texts, for a screen reader: "国庆节 休" and whether the day
// has a note. Empty and false while the matching mark is switched off.
struct DayMarks {
    QString holiday;
    bool hasNote = false;
};

class TChnCalendar : public QWidget, private DayGridHost {
    Q_OBJECT
public:
    explicit TChnCalendar(QWidget* parent = nullptr);
    ~TChnCalendar() override;

    // Window creation: fills the menus (unless on demand), spreads the grid, sets the date to now and shows
    // the title. Runs once, when the control is first shown or when called earlier.
    void CreateWnd();
    // A host that shows the control at once asks for the month and year menus (about 400 items) to be
    // filled on first use, or when it calls FillMenus, instead of in CreateWnd.
    void FillMenusOnDemand() { m_menusOnDemand = true; }
    void FillMenus();

    // ---- published properties, in declaration order ----
    bool ShowTitle() const { return m_showTitle; }
    void SetShowTitle(bool value); // the layout pass
    bool ShowWeekNum() const { return m_style.ShowWeekNum; }
    void SetShowWeekNum(bool value);
    bool ShowFrame() const { return m_showFrame; }
    void SetShowFrame(bool value);
    bool ShowBackYearMonth() const { return m_showBackYearMonth; }
    void SetShowBackYearMonth(bool value);
    bool ShowWeekNumLine() const { return m_style.ShowWeekNumLine; }
    void SetShowWeekNumLine(bool value);
    bool HideSelection() const { return m_style.HideSelection; }
    void SetHideSelection(bool value) { m_style.HideSelection = value; }
    const QFont& FontDate() const { return m_style.FontDate; }
    void SetFontDate(const QFont& font);
    const QFont& FontCnDate() const { return m_style.FontCnDate; }
    void SetFontCnDate(const QFont& font);
    TColor ColorTitleWeekLine() const { return m_style.ColorTitleWeekLine; }
    void SetColorTitleWeekLine(TColor value);
    TColor ColorTitleWeekEnd() const { return m_style.ColorTitleWeekEnd; }
    void SetColorTitleWeekEnd(TColor value);
    TColor ColorTitleWeek() const { return m_style.ColorTitleWeek; }
    void SetColorTitleWeek(TColor value);
    TColor ColorCnDate() const { return m_colours.ColorCnDate; }
    void SetColorCnDate(TColor value);
    TColor ColorDate() const { return m_colours.ColorDate; }
    void SetColorDate(TColor value);
    TColor ColorHoliday() const { return m_colours.ColorHoliday; }
    void SetColorHoliday(TColor value);
    TColor ColorLunarHolDay() const { return m_colours.ColorLunarHolDay; }
    void SetColorLunarHolDay(TColor value);
    TColor ColorCnHolDay() const { return m_colours.ColorCnHolDay; }
    void SetColorCnHolDay(TColor value);
    TColor ColorSelectedStart() const { return m_style.ColorSelectedStart; }
    void SetColorSelectedStart(TColor value);
    TColor ColorSelectedEnd() const { return m_style.ColorSelectedEnd; }
    void SetColorSelectedEnd(TColor value);
    TColor ColorSelectedFrame() const { return m_style.ColorSelectedFrame; }
    void SetColorSelectedFrame(TColor value);
    TColor ColorWeekNum() const { return m_style.ColorWeekNum; }
    void SetColorWeekNum(TColor value);
    TColor ColorShowFrame() const { return m_colorShowFrame; }
    void SetColorShowFrame(TColor value);
    TColor ColorBackYear() const { return m_colorBackYear; }
    void SetColorBackYear(TColor value);
    TColor ColorBackMonth() const { return m_colorBackMonth; }
    void SetColorBackMonth(TColor value);
    TColor ColorTitleToday() const { return m_colorTitleToday; }
    void SetColorTitleToday(TColor value);
    TColor ColorTitleMonth() const { return m_colorTitleMonth; }
    void SetColorTitleMonth(TColor value);
    TColor ColorTitleYear() const { return m_colorTitleYear; }
    void SetColorTitleYear(TColor value);
    TColor ColorTitleSelected() const { return m_colorTitleSelected; }
    void SetColorTitleSelected(TColor value);
    TColor ColorTitleConstellation() const { return m_style.ColorTitleConstellation; }
    void SetColorTitleConstellation(TColor value) { m_style.ColorTitleConstellation = value; }
    TColor ColorTitleAnimalsYear() const { return m_style.ColorTitleAnimalsYear; }
    void SetColorTitleAnimalsYear(TColor value) { m_style.ColorTitleAnimalsYear = value; }
    TDateTime DateTime() const { return m_dateTime; }
    void SetDateTime(TDateTime value); // the date routine
    const QString& CnDate() const { return m_cnDate; }
    void SetCnDate(const QString& text) { m_cnDate = text; }
    const QString& CnMonth() const { return m_cnMonth; }
    void SetCnMonth(const QString& text) { m_cnMonth = text; }
    const QString& CnDay() const { return m_cnDay; }
    void SetCnDay(const QString& text) { m_cnDay = text; }
    const QImage& BackGround() const { return m_backGround; }
    void SetBackGround(const QImage& picture);
    bool Center() const { return m_center; }
    void SetCenter(bool value);
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value); // kept for the form; the drawing ignores it
    std::uint8_t AlphaBlend() const { return m_alphaBlend; }
    void SetAlphaBlend(std::uint8_t value);

    TNotifyEvent OnChange;
    TNotifyEvent OnDateSelect;
    TNotifyEvent OnDateClick;
    TDrawDateCellEvent OnDrawDateCell;
    TDrawDateCellEvent OnDrawCnDateCell;

    // ---- marks: the statutory rest and work days, the days with a note, the week's first day ----
    void SetHolidays(std::shared_ptr<const HolidayTable> holidays);
    // Asked once for each month shown (not for each day), and at once for the month shown now.
    void SetNoteDaysProvider(NoteDaysProvider provider);
    // The host's word that a day's note now has or no longer has visible text, as the user types.
    void SetDayHasNote(QDate day, bool hasNote);
    bool ShowHolidays() const { return m_style.ShowHolidays; }
    void SetShowHolidays(bool value);
    bool ShowNoteMarks() const { return m_style.ShowNoteMarks; }
    void SetShowNoteMarks(bool value);
    bool MondayFirst() const { return m_style.MondayFirst; }
    void SetMondayFirst(bool value);
    // The marks of a day of the month shown; empty for other days.
    DayMarks MarksOf(QDate day) const;
    // The popup menu with the three switches above.
    QMenu& OptionsMenu() const { return *m_optionsMenu; }

    // ---- navigation ----
    void StepMonth();
    void StepYear();
    void GoToday();

    // ---- state the tests and the host may read ----
    const TDayTable& Cells() const { return m_table; }
    const TChnCal& DateInfo() const { return m_dateInfo; }
    bool MousePressed() const { return m_mousePressed; }
    const QImage& BackBuffer() const { return m_backBuffer; }
    const QImage& PictureLayer() const { return m_pictureLayer; }
    TDayGrid& DayGrid() const { return *m_dayGrid; }
    QMenu& MonthMenu() const { return *m_monthMenu; }
    QMenu& YearMenu() const { return *m_yearMenu; }
    TSpinButton& MonthSpin() const { return *m_monthSpin; }
    TSpinButton& YearSpin() const { return *m_yearSpin; }

    // The parts screen readers see, in reading order.
    QList<QWidget*> AccessibleParts() const;

    // Rebuilds the background buffer (RenderBackground) and repaints every grid cell.
    void RenderBackground();
    void RefreshGrid() { m_dayGrid->RefreshAll(); }

signals:
    // The user switched a mark or the week's first day from the options menu; the host remembers them.
    void optionsChanged();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void CreateChildren();
    void BuildMenus();
    void PlaceMonthLabel();
    void ApplyLabelColour(QLabel& label, TColor colour);
    void ApplyDate(TDateTime value);
    bool FillDays(int year, int month, int day);
    void RaiseChange();
    void RenderAndInvalidate();
    void EnsureBackBufferFitsScreen();
    void SyncSpinsToDate();
    void ChooseMonth(int month);
    void ChooseYear(int year);
    void OpenMenu(QMenu& menu, QPoint globalPos);
    void ConnectChildren();
    void CreateOptionsMenu();
    void UpdateFooter();
    void MarkNoteDays(int year, int month);
    int ShownCellOf(QDate day) const;

    bool CanSelectCell(int column, int row) override;
    const QImage& ComposeCell(int column, int row, const QRect& rect, bool selected, bool focused) override;
    void GridPressed() override { m_mousePressed = true; }
    void GridLeft() override { m_mousePressed = false; }
    void GridClicked() override;
    bool GridMenuRequested(QPoint globalPos) override;
    CellDescription DescribeCell(int column, int row) override;
    QString DescribeColumn(int column) override;
    void DescribeParts();
    void NameDateParts(const CivilDate& date);

    CellStyle m_style;
    DayColours m_colours;
    bool m_showTitle = false;
    bool m_showFrame = true;
    bool m_showBackYearMonth = true;
    TColor m_colorShowFrame = 8421504;
    TColor m_colorBackYear = RGB(255, 232, 221);
    TColor m_colorBackMonth = RGB(235, 235, 235);
    TColor m_colorTitleToday = RGB(0, 0, 255);
    TColor m_colorTitleMonth = RGB(128, 128, 192);
    TColor m_colorTitleYear = RGB(0, 0, 255);
    TColor m_colorTitleSelected = 8421504;
    TDateTime m_dateTime = 0;
    QString m_cnDate, m_cnMonth, m_cnDay;
    QImage m_backGround;
    bool m_center = false;
    bool m_stretch = false;
    bool m_transparent = false;
    std::uint8_t m_alphaBlend = 50;

    TDayTable m_table;
    TChnCal m_dateInfo;
    bool m_mousePressed = false;
    bool m_syncingSelection = false;
    bool m_created = false;
    bool m_menusOnDemand = false;
    bool m_menusFilled = false;
    QImage m_backBuffer;
    QImage m_pictureLayer;
    QImage m_cellBitmap;

    TDayGrid* m_dayGrid = nullptr;
    TLinkLabel* m_todayLabel = nullptr;
    TLinkLabel* m_monthLabel = nullptr;
    TLinkLabel* m_monthUnitLabel = nullptr;
    TLinkLabel* m_yearLabel = nullptr;
    TLinkLabel* m_yearUnitLabel = nullptr;
    TLinkLabel* m_selectedLabel = nullptr;
    TSpinButton* m_monthSpin = nullptr;
    TSpinButton* m_yearSpin = nullptr;
    QMenu* m_monthMenu = nullptr;
    QMenu* m_yearMenu = nullptr;
    QMenu* m_optionsMenu = nullptr;

    std::shared_ptr<const HolidayTable> m_holidays;
    NoteDaysProvider m_noteDaysProvider;
    QSet<QDate> m_noteDays;  // of the month the last query was for
    int m_noteDaysMonth = 0; // year * 12 + month of the last query, 0 before the first
    QString m_footerDate;    // the footer without the holiday: the date and its lunar date
    bool m_monthFilled = false;
};

} // namespace quenda
