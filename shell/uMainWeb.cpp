// The web panel: a page about the program with today's date, its links opened in the user's browser.
#include "uMain.h"

#include "ChnCalendarUse.h"
#include "Clock.h"
#include "ProgramFolder.h"

#include <QFile>
#include <QTextBrowser>

namespace quenda {

namespace {

const char16_t* const kLongWeekdays[] = {u"星期日", u"星期一", u"星期二", u"星期三",
                                         u"星期四", u"星期五", u"星期六"};

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// The festival or solar term of the day, if it has one; else the star sign.
QString ExtraLine(const TChnCal& info) {
    QStringList parts;
    for (const std::string* text : {&info.HolidayText, &info.LunarHolidayText, &info.SolarTermText})
        if (!text->empty()) parts.append(FromUtf8(*text));
    if (parts.isEmpty()) parts.append(FromUtf8(info.ConstellationText));
    return parts.join(QStringLiteral("  "));
}

} // namespace

QString LongWeekdayText(TDateTime now) {
    return QString::fromUtf16(kLongWeekdays[DayOfWeek(now) - 1]);
}

QString AboutPageHtml(TDateTime now) {
    QFile file(QStringLiteral(":/pages/about.html"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QString html = QString::fromUtf8(file.readAll());
    TChnCal info;
    info.Fill(now);
    const CivilDate day = DecodeDate(now);
    html.replace(QStringLiteral("{{DAY}}"), QString::number(day.day));
    html.replace(QStringLiteral("{{MONTH_LINE}}"),
                 QStringLiteral("%1年%2月 %3").arg(day.year).arg(day.month).arg(LongWeekdayText(now)));
    html.replace(QStringLiteral("{{LUNAR_LINE}}"),
                 QStringLiteral("农历%1%2  %3年【%4】")
                     .arg(FromUtf8(info.LunarMonthText), FromUtf8(info.LunarDayText),
                          FromUtf8(info.YearStemBranchText), FromUtf8(info.AnimalText)));
    html.replace(QStringLiteral("{{EXTRA_LINE}}"), ExtraLine(info).toHtmlEscaped());
    return html;
}

void TMainFrm::ShowAboutPage() {
    // Relative links (help.html, feedback.html) name the pages shipped in the program folder.
    m_webLink->document()->setBaseUrl(QUrl::fromLocalFile(ProgramFilePath(QStringLiteral("pages")) + "/"));
    m_webLink->setHtml(AboutPageHtml(Clock::Now()));
}

} // namespace quenda
