#include "PreviewWindow.h"

#include <QPalette>

namespace quenda {

TPreviewWindow::TPreviewWindow() {
    setWindowTitle(QStringLiteral("桌面日历"));
    // A white window palette, not a style sheet: a style sheet cascades into the control's menus and
    // labels, and palettes do not reach menus, which are windows of their own.
    QPalette ground = palette();
    ground.setColor(QPalette::Window, Qt::white);
    setPalette(ground);
    setAutoFillBackground(true);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    m_calendar = new TChnCalendar(this);
    m_calendar->setObjectName(QStringLiteral("chnTavi"));
    m_calendar->setGeometry(2, 2, 419, 250);
    resize(423, 254);
}

} // namespace quenda
