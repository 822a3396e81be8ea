#pragma once
// The confirmation window shown before a wallpaper is installed, with its tick box "下次不再提示" (do not
// ask again), which turns the question off for this and later runs.

#include "WindowDrag.h"

#include <QDialog>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

namespace quenda {

struct ComposerSettings;

class TInforFrm : public QDialog {
    Q_OBJECT

public:
    explicit TInforFrm(ComposerSettings& settings, QWidget* parent = nullptr);

    // Shows the window modally, centred on `centreOn`; the answer is then in the settings' SetAnswer.
    void ShowConfirmation(QWidget* centreOn);

    void btnokClick();
    void btncancelClick();
    void btnCloseClick();

    // Any other way of closing the window (Escape, the window manager) answers "no" as Cancel does, so
    // that a dismissed question never installs a wallpaper.
    void reject() override;

    QFrame* shpBG;
    QLabel* imgques;
    QLabel* lblInfo;
    QCheckBox* chkSetBgInfo;
    QPushButton* btnok;
    QPushButton* btncancel;
    QPushButton* btnClose;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();

    ComposerSettings& m_settings;
    WindowDrag m_drag{*this, false};
};

} // namespace quenda
