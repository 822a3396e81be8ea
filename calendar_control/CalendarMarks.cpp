#include "CalendarMarks.h"

#include "CalendarLook.h"

#include <QFontMetrics>

#include <algorithm>
#include <map>

namespace quenda {

namespace {

constexpr QColor kRestGreen(22, 150, 62);
constexpr QColor kWorkRed(222, 38, 38);
constexpr QColor kNoteBlue(46, 110, 230);

// One font object for every badge of a size.
const QFont& BadgeFont(int pixelSize) {
    static std::map<int, QFont> fonts;
    auto found = fonts.find(pixelSize);
    if (found == fonts.end()) {
        QFont font = MakeFont(QStringLiteral("黑体"), 9);
        font.setPixelSize(pixelSize);
        found = fonts.emplace(pixelSize, font).first;
    }
    return found->second;
}

} // namespace

QRect HolidayMarkRect(const QRect& cell) {
    const int side = std::clamp(cell.height() / 2 - 1, 8, 12);
    return {cell.right() - side, cell.top() + 1, side, side};
}

// Digits have one width, so the number's extent needs no text layout.
int NumberWidth(const QFontMetrics& metrics, const QString& dayText) {
    return metrics.horizontalAdvance(QLatin1Char('0')) * int(dayText.size());
}

QRect DayNumberRect(const QRect& cell, const QFont& dayFont, const QString& dayText, bool badge) {
    QRect number(cell.left() + 2, cell.top(), cell.width() - 4, cell.height() / 2);
    if (!badge) return number;
    const int badgeLeft = HolidayMarkRect(cell).left();
    const int numberRight =
        number.left() + (number.width() + NumberWidth(QFontMetrics(dayFont), dayText)) / 2;
    if (numberRight + 2 > badgeLeft) number.setRight(badgeLeft - 2);
    return number;
}

QRect NoteMarkRect(const QRect& cell, const QFont& dayFont, const QString& dayText, bool badge) {
    const QRect number = DayNumberRect(cell, dayFont, dayText, badge);
    const QFontMetrics metrics(dayFont);
    const int left = number.left() + (number.width() - NumberWidth(metrics, dayText)) / 2;
    const int middle = number.top() + number.height() - (metrics.height() + 1) / 2;
    const int side = std::clamp(cell.height() / 5, 4, 6);
    return {left - side - 2, middle - side / 2, side, side};
}

void PaintHolidayMark(QPainter& painter, const QRect& cell, DayKind kind) {
    const QRect box = HolidayMarkRect(cell);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // A white rim keeps the badge apart from the selection's green.
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(kind == DayKind::Rest ? kRestGreen : kWorkRed);
    painter.drawRoundedRect(QRectF(box).adjusted(-0.5, -0.5, 0.5, 0.5), 2, 2);
    painter.setFont(BadgeFont(box.height() - 2));
    painter.setPen(Qt::white);
    const std::string_view text = DayKindText(kind);
    painter.drawText(box, Qt::AlignCenter,
                     QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    painter.restore();
}

void PaintNoteMark(QPainter& painter, const QRect& dot) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kNoteBlue);
    painter.drawEllipse(dot);
    painter.restore();
}

} // namespace quenda
