#pragma once
// The tray icon of a desktop that has a tray: today's day number on the program's calendar leaf, the date
// and the lunar date as its tooltip ("12月10日 星期四 农历冬月初二"), a click that shows or hides the main
// window, and a menu to show the window, install the wallpaper or end the program. It turns to the new day
// at midnight by the program's clock. While the window is hidden in the tray, closing another window (a
// message, the wallpaper question) does not end the program.

#include "DateTimeValue.h"

#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>

#include <memory>

class QMenu;

namespace quenda {

class TMainFrm;

// "12月10日 星期四 农历冬月初二": the tray icon's tooltip for the moment `now`.
QString TrayToolTip(TDateTime now);

class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(TMainFrm& window);
    ~TrayIcon() override;

    // True when the desktop has a tray to hold the icon.
    static bool DesktopHasTray();

    // Puts the icon into the tray.
    void Show();

    // The day of the month the icon shows, and its tooltip.
    int ShownDay() const { return m_day; }
    QString ToolTip() const { return m_icon.toolTip(); }
    QMenu& Menu() const { return *m_menu; }

    // A click on the icon: hides a window in view, else brings it to the front.
    void ToggleWindow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FollowWindow();
    void CreateMenu();
    void ShowToday();
    void ArmDayTimer();

    TMainFrm& m_window;
    std::unique_ptr<QMenu> m_menu; // a menu is a widget and takes no QObject parent
    QSystemTrayIcon m_icon;
    QTimer m_dayTimer;
    int m_day = 0;
};

} // namespace quenda
