#include "uPicSel.h"

#include "Accessibility.h"
#include "ChromeButton.h"
#include "Dialogs.h"
#include "LineListFile.h"
#include "PictureFile.h"
#include "Pictures.h"
#include "uGlobal.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>

#include <memory>

namespace quenda {

namespace {

// Two blanks between the characters of a two-character caption, as on every button of the program. No
// button of the window is a default one: Return must not remove a picture or close the window.
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, QPoint at) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(at.x(), at.y(), 75, 25);
    button->setAutoDefault(false);
    return button;
}

QFont pixelFont(const QString& family, int pixels) {
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}

// The hint's three parts sit on lines of their own: the blanks between them fill the rest of each line.
QString hintText() {
    return QStringLiteral("注：可添加多个壁纸大 小1024*768/1400*900之间") + QString(36, QLatin1Char(' ')) +
           QStringLiteral("图像格式：") + QString(28, QLatin1Char(' ')) + QStringLiteral("BMP,JPG");
}

} // namespace

const QString TPicSelFrm::opgPicFilter = QStringLiteral("(*.Bmp; *.JPG; *Gif) (*.bmp *.jpg *.jpeg *.gif)");

AddedPicture AddBackgroundPicture(const QString& chosen, const QString& backgroundFolder) {
    QDir().mkpath(backgroundFolder);
    const QString dest = QDir(backgroundFolder).filePath(QFileInfo(chosen).fileName());
    ReplaceFileWithCopy(chosen, dest); // not examined: the steps below work on whatever file is there
    const BmpConversion converted = PicToBmp(dest);
    if (!converted.ok()) return {QString(), kAddFailedMessage};
    if (converted.BmpFile.isEmpty()) return {QString(), kAddPictureErrorMessage};
    const PictureResult picture = ReadPicture(converted.BmpFile);
    if (!picture.ok()) return {QString(), kAddPictureErrorMessage};
    if (picture.image.width() > kStoredWidth &&
        !TPicSelFrm::StretchPicture(converted.BmpFile, converted.BmpFile, kStoredWidth, kStoredHeight))
        return {QString(), kAddPictureErrorMessage};
    return {QFileInfo(converted.BmpFile).fileName(), QString()};
}

TPicSelFrm::TPicSelFrm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_listFile(BGPicListFile()),
      m_backgroundFolder(BackgroundFolder()) {
    setObjectName(QStringLiteral("TPicSelFrm"));
    setFixedSize(524, 286);
    setModal(true);
    buildControls();
    connect(btnAdd, &QPushButton::clicked, this, &TPicSelFrm::btnAddClick);
    connect(btnRemove, &QPushButton::clicked, this, &TPicSelFrm::btnRemoveClick);
    connect(btnOk, &QPushButton::clicked, this, &TPicSelFrm::btnOkClick);
    connect(closeButton, &TChromeButton::clicked, this, &TPicSelFrm::reject);
    // The row with the focus frame is the one the buttons work on: the current row is always selected.
    connect(LVpic, &QTreeWidget::currentItemChanged, this, [](QTreeWidgetItem* current) {
        if (current != nullptr) current->setSelected(true);
    });
}

TPicSelFrm::~TPicSelFrm() = default;

void TPicSelFrm::buildControls() {
    const qreal ratio = devicePixelRatioF();
    imgBG = new QLabel(this);
    imgBG->setObjectName(QStringLiteral("imgBG"));
    imgBG->setGeometry(rect());
    imgBG->setScaledContents(true);
    imgBG->setPixmap(WindowPicture(QStringLiteral("selection_background"), ratio));
    imgBG->setMouseTracking(true);
    imgBG->installEventFilter(this);

    closeButton =
        new TChromeButton(this, QStringLiteral("img_close"), QStringLiteral("close"), QRect(484, 0, 39, 20));

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setGeometry(5, 1, 200, 57);
    imgLogo->setPixmap(WindowPicture(QStringLiteral("selection_title"), ratio));

    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(8, 55, 321, 162);
    Shape1->setStyleSheet(
        QStringLiteral("#Shape1 { border: 1px solid rgb(64, 128, 128); background: white; }"));

    LVpic = new QTreeWidget(this);
    LVpic->setObjectName(QStringLiteral("LVpic"));
    LVpic->setGeometry(9, 56, 319, 160);
    LVpic->setColumnCount(1);
    LVpic->setHeaderLabels({QStringLiteral("默认图片")});
    LVpic->header()->setStretchLastSection(false);
    LVpic->setColumnWidth(0, 300);
    LVpic->header()->hide();
    LVpic->setRootIsDecorated(false);
    LVpic->setSelectionMode(QAbstractItemView::SingleSelection);
    LVpic->setSelectionBehavior(QAbstractItemView::SelectRows);
    LVpic->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LVpic->setFrameShape(QFrame::NoFrame);
    LVpic->setFont(pixelFont(QStringLiteral("宋体"), 12));
    // The list's 16 x 16 image list gives every row the height of a picture, though no row shows one.
    LVpic->setStyleSheet(QStringLiteral("QTreeWidget::item { height: 17px; }"));

    lblTishi = new QLabel(hintText(), this);
    lblTishi->setObjectName(QStringLiteral("lblTishi"));
    lblTishi->setGeometry(352, 64, 161, 153);
    lblTishi->setFont(pixelFont(QStringLiteral("幼圆"), 15));
    lblTishi->setWordWrap(true);
    lblTishi->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTishi->setAttribute(Qt::WA_TranslucentBackground);

    imgSel = new QLabel(this);
    imgSel->setObjectName(QStringLiteral("imgSel"));
    imgSel->move(408, 168);
    imgSel->hide();

    btnRemove = makeButton(this, "btnRemove", QStringLiteral("移  除"), {12, 240});
    btnAdd = makeButton(this, "btnAdd", QStringLiteral("添  加"), {108, 240});
    btnOk = makeButton(this, "btnOk", QStringLiteral("确  定"), {209, 240});
    describeControls();
}

// What screen readers call the controls whose pictures carry the words.
void TPicSelFrm::describeControls() {
    setAccessibleName(QStringLiteral("选择壁纸")); // the window has no caption bar; it is that button's
    MarkDecorative(*imgBG);
    MarkDecorative(*Shape1); // the list's border
    closeButton->SetAccessibleName(QStringLiteral("关闭"));
    imgLogo->setAccessibleName(QStringLiteral("默认背景"));
    LVpic->setAccessibleName(QStringLiteral("背景图片"));
}

bool TPicSelFrm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == imgBG && event->type() == QEvent::MouseMove) {
        closeButton->ShowNormal();
    }
    // Dragged by its background with either button, as the main window is.
    if (watched == imgBG && m_drag.Handle(*event)) return true;
    return QDialog::eventFilter(watched, event);
}

bool TPicSelFrm::ShowSelection(QWidget* centreOn) {
    if (!FillPicList()) return false;
    selectCurrentPicture();
    closeButton->ShowNormal();
    if (centreOn != nullptr) move(centreOn->geometry().center() - QPoint(width() / 2, height() / 2));
    exec();
    return true;
}

bool TPicSelFrm::FillPicList() {
    if (!QFileInfo::exists(m_listFile)) {
        CurPic = kDefaultBackground;
        return WriteLineList(m_listFile, {kDefaultBackground, kDefaultBackground});
    }
    const std::optional<QStringList> lines = ReadLineList(m_listFile);
    if (!lines) return false;
    if (lines->isEmpty()) return true;
    CurPic = lines->first();
    LVpic->clear();
    for (qsizetype i = 1; i < lines->size(); ++i)
        addRow(lines->at(i));
    return true;
}

void TPicSelFrm::btnAddClick() {
    const QString chosen = AskOpenFileName(this, opgPicFilter, m_lastFolder);
    if (chosen.isEmpty()) return;
    m_lastFolder = QFileInfo(chosen).absolutePath();
    const AddedPicture added = AddBackgroundPicture(chosen, m_backgroundFolder);
    if (!added.message.isEmpty()) return ShowMessage(this, added.message);
    addRow(added.caption);
    // The row stays: the next write (another addition, a removal, OK) may still keep it.
    if (!writeListFile()) ShowMessage(this, kAddFailedMessage);
}

void TPicSelFrm::btnRemoveClick() {
    const int row = firstSelectedRow();
    if (row < 0) return;
    const QString caption = LVpic->topLevelItem(row)->text(0);
    if (caption == CurPic) CurPic = kDefaultBackground;
    if (caption != kDefaultBackground) {
        const std::unique_ptr<QTreeWidgetItem> removed(LVpic->takeTopLevelItem(row));
    }
    writeListFile(); // a failure is ignored: the next write tries again
}

void TPicSelFrm::btnOkClick() {
    const int row = firstSelectedRow();
    if (row >= 0 && LVpic->topLevelItem(row)->text(0) != CurPic) {
        CurPic = LVpic->topLevelItem(row)->text(0);
        writeListFile(); // the window closes all the same
    }
    accept();
}

bool TPicSelFrm::StretchPicture(const QString& Source, const QString& Dest, int Width, int Height) {
    const PictureResult source = ReadPicture(Source);
    if (!source.ok() || !FitsPictureLimits(Width, Height)) return false;
    // Nearest neighbour keeps whole source pixels, as the stretch mode COLORONCOLOR does.
    const QImage stretched =
        source.image.scaled(Width, Height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return !stretched.isNull() && WriteBmp(stretched, Dest);
}

QStringList TPicSelFrm::RowCaptions() const {
    QStringList captions;
    for (int i = 0; i < LVpic->topLevelItemCount(); ++i)
        captions.append(LVpic->topLevelItem(i)->text(0));
    return captions;
}

void TPicSelFrm::addRow(const QString& caption) {
    auto* row = new QTreeWidgetItem(LVpic, QStringList{caption}); // the list view owns its rows
    row->setToolTip(0, caption); // a name too long for the row is cut with "…"
}

// The window opens on the current picture's row (its first), or the first row when it is not listed.
void TPicSelFrm::selectCurrentPicture() {
    const QList<QTreeWidgetItem*> current =
        LVpic->findItems(CurPic, Qt::MatchExactly | Qt::MatchCaseSensitive);
    QTreeWidgetItem* row = current.isEmpty() ? LVpic->topLevelItem(0) : current.first();
    LVpic->clearSelection();
    LVpic->setCurrentItem(row);
    if (row != nullptr) row->setSelected(true);
}

int TPicSelFrm::firstSelectedRow() const {
    for (int i = 0; i < LVpic->topLevelItemCount(); ++i)
        if (LVpic->topLevelItem(i)->isSelected()) return i;
    return -1;
}

bool TPicSelFrm::writeListFile() const {
    return WriteLineList(m_listFile, QStringList{CurPic} + RowCaptions());
}

} // namespace quenda
