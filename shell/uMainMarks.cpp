// The main window's side of the calendar's marks: the rest and work days read at start-up, the days with
// a note from the store's plain-text copy, the mark of the day being typed, and the switches remembered in
// Data/Settings.ini.
#include "uMain.h"

#include "ChnCalendarPicker.h"
#include "Dialogs.h"
#include "HolidayFiles.h"
#include "OurSettings.h"
#include "RtfCodec.h"
#include "uDM.h"

#include <QTextEdit>

namespace quenda {

namespace {

const QString kShowHolidays = QStringLiteral("calendar/showHolidays");
const QString kShowNoteMarks = QStringLiteral("calendar/showNoteMarks");
const QString kMondayFirst = QStringLiteral("calendar/mondayFirst");

QString KeyOf(QDate day) {
    return day.toString(QStringLiteral("yyyyMMdd"));
}

} // namespace

// Before the calendar is first filled, so the first month is drawn once, with its marks.
void TMainFrm::CreateCalendarMarks() {
    HolidayData holidays = LoadHolidays();
    m_holidaysMessage = SkippedHolidaysMessage(holidays.skipped);
    m_chnTavi->SetShowHolidays(ReadOurSetting(kShowHolidays, true).toBool());
    m_chnTavi->SetShowNoteMarks(ReadOurSetting(kShowNoteMarks, true).toBool());
    m_chnTavi->SetMondayFirst(ReadOurSetting(kMondayFirst, false).toBool());
    m_chnTavi->SetHolidays(std::move(holidays.table));
    m_chnTavi->SetNoteDaysProvider([this](QDate first, QDate last) -> std::optional<QSet<QDate>> {
        const auto keys = m_dm.KeysWithText(KeyOf(first), KeyOf(last));
        if (!keys) return std::nullopt;
        QSet<QDate> days;
        for (const QString& key : *keys)
            days.insert(QDate::fromString(key, QStringLiteral("yyyyMMdd")));
        return days;
    });
    connect(m_chnTavi, &TChnCalendar::optionsChanged, this, &TMainFrm::SaveCalendarOptions);
}

// A folder the settings cannot be written to keeps the switches for this run only.
void TMainFrm::SaveCalendarOptions() {
    WriteOurSetting(kShowHolidays, m_chnTavi->ShowHolidays());
    WriteOurSetting(kShowNoteMarks, m_chnTavi->ShowNoteMarks());
    WriteOurSetting(kMondayFirst, m_chnTavi->MondayFirst());
}

// The skipped holiday lines are told once, after the window first shows.
void TMainFrm::TellSkippedHolidays() {
    if (m_holidaysMessage.isEmpty()) return;
    ShowMessage(this, m_holidaysMessage);
    m_holidaysMessage.clear();
}

// The editor holds the selected day's note (its load succeeded): the mark follows what it shows.
void TMainFrm::UpdateNoteMark() {
    if (!m_dm.CanSave || m_dm.NoteLoadFailed) return;
    const CivilDate day = DecodeDate(m_chnTavi->DateTime());
    m_chnTavi->SetDayHasNote(QDate(day.year, day.month, day.day),
                             HasVisibleText(documentPlainText(*m_rdtAbc->document())));
}

} // namespace quenda
