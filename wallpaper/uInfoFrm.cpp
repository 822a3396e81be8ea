#include "uInfoFrm.h"

#include "Accessibility.h"
#include "LineListFile.h"
#include "Pictures.h"
#include "uGlobal.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace quenda {

namespace {

QFont pixelFont(const QString& family, int pixels, bool bold) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace

TInforFrm::TInforFrm(ComposerSettings& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_settings(settings) {
    setObjectName(QStringLiteral("TInforFrm"));
    setFixedSize(344, 156);
    setModal(true);
    buildControls();
    connect(btnok, &QPushButton::clicked, this, &TInforFrm::btnokClick);
    connect(btncancel, &QPushButton::clicked, this, &TInforFrm::btncancelClick);
    connect(btnClose, &QPushButton::clicked, this, &TInforFrm::btnCloseClick);
}

void TInforFrm::buildControls() {
    shpBG = new QFrame(this);
    shpBG->setObjectName(QStringLiteral("shpBG"));
    shpBG->setGeometry(rect());
    shpBG->setStyleSheet(
        QStringLiteral("#shpBG { border: 1px solid rgb(216, 227, 243); background: white; }"));
    shpBG->installEventFilter(this);

    imgques = new QLabel(this);
    imgques->setObjectName(QStringLiteral("imgques"));
    imgques->setGeometry(32, 24, 45, 46);
    imgques->setPixmap(WindowPicture(QStringLiteral("confirm_warning"), devicePixelRatioF()));

    lblInfo = new QLabel(QStringLiteral("您确定要更换壁纸？"), this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->move(112, 40);
    lblInfo->setFont(pixelFont(QStringLiteral("宋体"), 14, true));
    lblInfo->adjustSize();

    chkSetBgInfo = new QCheckBox(QStringLiteral("下次不再提示"), this);
    chkSetBgInfo->setObjectName(QStringLiteral("chkSetBgInfo"));
    chkSetBgInfo->setGeometry(120, 88, 97, 17);

    btnok = new QPushButton(QStringLiteral("确  定"), this);
    btnok->setObjectName(QStringLiteral("btnok"));
    btnok->setGeometry(176, 120, 75, 25);
    btncancel = new QPushButton(QStringLiteral("取  消"), this);
    btncancel->setObjectName(QStringLiteral("btncancel"));
    btncancel->setGeometry(256, 120, 75, 25);
    btnClose = new QPushButton(QStringLiteral("X"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setGeometry(321, 1, 20, 18);
    btnClose->setFont(pixelFont(QStringLiteral("Arial"), 12, true));
    btnClose->setFlat(true);
    btnok->setDefault(true);

    // What screen readers call the window without a caption bar, its picture and the close button's sign.
    setAccessibleName(QStringLiteral("更换壁纸"));
    MarkDecorative(*shpBG);
    imgques->setAccessibleName(QStringLiteral("提示"));
    btnClose->setAccessibleName(QStringLiteral("关闭"));
}

void TInforFrm::ShowConfirmation(QWidget* centreOn) {
    if (centreOn != nullptr) move(centreOn->geometry().center() - QPoint(width() / 2, height() / 2));
    exec();
}

void TInforFrm::btnokClick() {
    m_settings.SetAnswer = 1;
    if (chkSetBgInfo->isChecked()) {
        m_settings.AskBeforeSet = false;
        // A failure is not reported: the question then stays off for this run only.
        WriteLineList(m_settings.SetBgIniFile, {QStringLiteral("0")});
    }
    accept();
}

void TInforFrm::btncancelClick() {
    reject();
}

void TInforFrm::btnCloseClick() {
    reject();
}

void TInforFrm::reject() {
    m_settings.SetAnswer = 0;
    QDialog::reject();
}

bool TInforFrm::eventFilter(QObject* watched, QEvent* event) {
    // Dragged by its background with either button, as the main window is.
    if (watched == shpBG && m_drag.Handle(*event)) return true;
    return QDialog::eventFilter(watched, event);
}

} // namespace quenda
