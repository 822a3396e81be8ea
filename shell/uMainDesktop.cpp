// The main window's place on the desktop session: the options menu's item that starts the program at login.
#include "uMain.h"

#include "Autostart.h"
#include "Dialogs.h"
#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QMenu>

namespace quenda {

QStringList AutostartCommandLine() {
    QStringList command{QCoreApplication::applicationFilePath(), QStringLiteral("--minimized")};
    const QString usual = RunsInstalled() ? UserDataHome() : QDir::cleanPath(ProgramFolder());
    if (DataFolder() != usual) command << QStringLiteral("--data-dir") << DataFolder();
    return command;
}

void TMainFrm::CreateAutostartItem() {
    m_popSysset->addSeparator();
    m_autostart = m_popSysset->addAction(QStringLiteral("开机时自动启动"));
    m_autostart->setObjectName(QStringLiteral("N_Autostart"));
    m_autostart->setCheckable(true);
    connect(m_autostart, &QAction::triggered, this, &TMainFrm::N_AutostartClick);
    // The entry is the user's as much as ours (the desktop's settings may switch it off): read it anew.
    connect(m_popSysset, &QMenu::aboutToShow, this, [this] { m_autostart->setChecked(AutostartEnabled()); });
}

void TMainFrm::N_AutostartClick(bool checked) {
    if (const auto error = SetAutostart(checked, AutostartCommandLine())) {
        ShowMessage(this, *error);
        m_autostart->setChecked(AutostartEnabled());
    }
}

} // namespace quenda
