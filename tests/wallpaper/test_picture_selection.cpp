// The selection window: adding BMP, JPEG and GIF pictures (and refusing the rest), removing, choosing,
// the close button's looks, and the main window's button that runs it and reads the list again.
#include "ChromeButton.h"
#include "Composer.h"
#include "Dialogs.h"
#include "PictureFile.h"
#include "PictureTestFiles.h"
#include "WallpaperTestSupport.h"
#include "uInfoFrm.h"
#include "uPicSel.h"

#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace quenda;
using namespace quenda::test;

namespace {

void selectRow(TPicSelFrm& window, int row) {
    window.LVpic->clearSelection();
    if (row >= 0) window.LVpic->topLevelItem(row)->setSelected(true);
}

} // namespace

class PictureSelection : public ComposerTest {
protected:
    void SetUp() override {
        ComposerTest::SetUp();
        ASSERT_TRUE(QDir(m_root.path()).mkpath("chosen"));
    }
    // A file the user picks in the file dialog, outside the program folder.
    QString chosen(const QString& name, const QByteArray& bytes) {
        const QString path = m_root.filePath("chosen/" + name);
        writeBytes(path, bytes);
        return path;
    }
    QString listFile() const { return programFile("Data/BGPicList.ini"); }
};

TEST_F(PictureSelection, AddsBmpJpegAndGifPicturesAndRefusesTheRestWithTheirMessages) {
    const QByteArray jpeg = EncodeJpeg(PatternImage(64, 48), 90);
    const QByteArray bmp = EncodeWithQt(PatternImage(40, 30), "bmp");
    const QByteArray gif = MakeGif(20, 10, {GifFrame{0, 0, 20, 10, std::vector<unsigned char>(200, 1)}});
    const QString chinese = QString::fromUtf8("背景 图");
    const QString failed = kAddFailedMessage, error = kAddPictureErrorMessage;
    const struct {
        QString name;
        QByteArray bytes;
        QString caption; // or the message
        QSize stored;
    } cases[] = {
        {"photo.JPG", jpeg, "photo.bmp", {64, 48}},
        {"anim.gif", gif, "anim.bmp", {20, 10}},
        {"plain.bmp", bmp, "plain.bmp", {40, 30}},
        {"wide.jpg", EncodeJpeg(PatternImage(1600, 1200), 90), "wide.bmp", {1280, 768}},
        {"tall.bmp", EncodeWithQt(PatternImage(1000, 2000), "bmp"), "tall.bmp", {1000, 2000}},
        {chinese + ".jpeg", jpeg, chinese + ".bmp", {64, 48}},
        {"picture.png", EncodeWithQt(PatternImage(8, 8), "png"), error, {}},
        {"broken.jpg", jpeg.left(jpeg.size() / 2), failed, {}},
        {"empty.gif", "", failed, {}},
        {"empty.bmp", "", error, {}},
        {"huge.jpg", WithForgedSize(jpeg, "jpg", 60000, 60000), failed, {}},
        {"huge.gif", WithForgedSize(gif, "gif", 60000, 60000), failed, {}},
        {"huge.bmp", WithForgedSize(bmp, "bmp", 60000, 60000), error, {}},
    };
    TPicSelFrm window;
    ASSERT_TRUE(window.FillPicList());
    QStringList rows;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        m_messages.clear();
        m_chosenFile = chosen(c.name, c.bytes);
        window.btnAddClick();
        if (c.stored.isEmpty()) {
            EXPECT_EQ(m_messages, QStringList{c.caption});
            continue;
        }
        EXPECT_TRUE(m_messages.isEmpty());
        rows.append(c.caption);
        EXPECT_EQ(window.RowCaptions(), rows);
        EXPECT_EQ(listFileLines(), QStringList{"A1.bmp"} + rows) << "written at once";
        EXPECT_TRUE(QFile::exists(backgroundFile(c.name))) << "the chosen file is copied too";
        EXPECT_EQ(ReadPicture(backgroundFile(c.caption)).image.size(), c.stored);
    }
    EXPECT_TRUE(fileBytes(listFile()).contains("\xB1\xB3\xBE\xB0 \xCD\xBC.bmp\r\n")) << "GBK";
    BackgroundSelection selection;
    ASSERT_TRUE(LoadBGPicList(selection, false));
    EXPECT_EQ(selection.PicBGList.back().PicName, chinese + ".bmp");
    EXPECT_EQ(selection.BGIndex, int(rows.size())) << "the last entry, the picture added last";
}

TEST_F(PictureSelection, CancellingAddingInPlaceAndAListFileThatCannotBeWritten) {
    TPicSelFrm window;
    ASSERT_TRUE(window.FillPicList());
    const QByteArray list = fileBytes(listFile());
    m_chosenFile.clear();
    window.btnAddClick();
    EXPECT_TRUE(window.RowCaptions().isEmpty());
    EXPECT_EQ(fileBytes(listFile()), list);

    // A picture chosen in the background folder itself is not lost by copying it onto itself.
    writeBackground("in place.bmp", 30, 20, 0xFF00FF00);
    m_chosenFile = backgroundFile("in place.bmp");
    window.btnAddClick();
    EXPECT_EQ(window.RowCaptions(), QStringList{"in place.bmp"});
    EXPECT_EQ(ReadPicture(backgroundFile("in place.bmp")).image, Solid(30, 20, 0xFF00FF00));

    // The list file cannot be replaced (a folder took its name): the row stays, the user is told.
    QFile::remove(listFile());
    ASSERT_TRUE(QDir(m_root.path()).mkpath("Data/BGPicList.ini"));
    m_chosenFile = chosen("more.bmp", EncodeWithQt(PatternImage(8, 8), "bmp"));
    window.btnAddClick();
    EXPECT_EQ(window.RowCaptions(), QStringList({"in place.bmp", "more.bmp"}));
    EXPECT_EQ(m_messages, QStringList{kAddFailedMessage});
    EXPECT_FALSE(window.FillPicList());
}

TEST_F(PictureSelection, RemoveAndOkWriteTheListOnlyWhenSomethingChanged) {
    // LF line ends: any rewrite shows as CR LF.
    const QByteArray original = "b.bmp\nA1.bmp\nb.bmp\nc.bmp\n";
    writeBytes(listFile(), original);
    TPicSelFrm window;
    ASSERT_TRUE(window.FillPicList());
    EXPECT_EQ(window.CurPic, "b.bmp");
    EXPECT_EQ(window.RowCaptions(), QStringList({"A1.bmp", "b.bmp", "c.bmp"}));

    selectRow(window, -1);
    window.btnRemoveClick();
    EXPECT_EQ(fileBytes(listFile()), original) << "no selection: nothing written";
    selectRow(window, 0);
    window.btnRemoveClick();
    EXPECT_EQ(window.RowCaptions(), QStringList({"A1.bmp", "b.bmp", "c.bmp"})) << "the row A1.bmp stays";
    EXPECT_EQ(fileBytes(listFile()), "b.bmp\r\nA1.bmp\r\nb.bmp\r\nc.bmp\r\n") << "but the file is rewritten";
    selectRow(window, 1);
    window.btnRemoveClick();
    EXPECT_EQ(window.CurPic, "A1.bmp") << "removing the current picture makes A1.bmp current";
    EXPECT_EQ(listFileLines(), QStringList({"A1.bmp", "A1.bmp", "c.bmp"}));

    const QByteArray beforeOk = "A1.bmp\nA1.bmp\nc.bmp\n";
    writeBytes(listFile(), beforeOk);
    for (int row : {-1, 0}) { // nothing chosen, or the current picture: closes without writing
        selectRow(window, row);
        window.btnOkClick();
        EXPECT_EQ(window.result(), QDialog::Accepted);
        EXPECT_EQ(fileBytes(listFile()), beforeOk) << row;
    }
    selectRow(window, 1);
    window.btnOkClick();
    EXPECT_EQ(window.CurPic, "c.bmp");
    EXPECT_EQ(listFileLines(), QStringList({"c.bmp", "A1.bmp", "c.bmp"}));

    writeBytes(listFile(), "only.bmp\r\n");
    ASSERT_TRUE(window.FillPicList());
    EXPECT_EQ(window.CurPic, "only.bmp");
    EXPECT_TRUE(window.RowCaptions().isEmpty());
    QFile::remove(listFile());
    window.CurPic = "x.bmp";
    ASSERT_TRUE(window.FillPicList());
    EXPECT_EQ(window.CurPic, "A1.bmp");
    EXPECT_EQ(listFileLines(), QStringList({"A1.bmp", "A1.bmp"}));
}

TEST_F(PictureSelection, TheCloseButtonShowsItsThreeLooksAndClosesWithoutWriting) {
    writeListFile({"A1.bmp", "A1.bmp", "b.bmp"});
    TPicSelFrm window;
    ASSERT_TRUE(window.FillPicList());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QByteArray list = fileBytes(listFile());
    TChromeButton& close = *window.closeButton;
    auto looks = [&] {
        return QString("%1%2%3")
            .arg(!close.Normal().isHidden())
            .arg(!close.Highlight().isHidden())
            .arg(!close.Down().isHidden());
    };
    EXPECT_EQ(looks(), "100");
    QTest::mouseMove(&close.Normal(), QPoint(10, 10));
    EXPECT_EQ(looks(), "010");
    QTest::mouseMove(window.imgBG, QPoint(450, 250)); // clear of the other controls
    EXPECT_EQ(looks(), "100");
    QTest::mouseMove(&close.Normal(), QPoint(10, 10));
    QTest::mousePress(&close.Highlight(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(looks(), "001");
    EXPECT_TRUE(window.isVisible());
    QTest::mouseRelease(&close.Down(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(looks(), "100");
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Rejected);
    EXPECT_EQ(fileBytes(listFile()), list);
}

TEST_F(PictureSelection, TheWindowsHaveTheirControlsWhereTheyBelong) {
    ComposerSettings settings;
    TPicSelFrm selection;
    TInforFrm confirmation(settings);
    const struct {
        QWidget* window;
        const char* name;
        QRect geometry; // an empty size: only the position is fixed
        QString text;
    } controls[] = {
        {&selection, "imgBG", {0, 0, 524, 286}, {}},
        {&selection, "img_close_normal", {484, 0, 39, 20}, {}},
        {&selection, "img_close_highlight", {484, 0, 39, 20}, {}},
        {&selection, "img_close_down", {484, 0, 39, 20}, {}},
        {&selection, "imgLogo", {5, 1, 200, 57}, {}},
        {&selection, "Shape1", {8, 55, 321, 162}, {}},
        {&selection, "LVpic", {9, 56, 319, 160}, {}},
        {&selection,
         "lblTishi",
         {352, 64, 161, 153},
         QString::fromUtf8("注：可添加多个壁纸大 小1024*768/1400*900之间") + QString(36, ' ') +
             QString::fromUtf8("图像格式：") + QString(28, ' ') + "BMP,JPG"},
        {&selection, "btnRemove", {12, 240, 75, 25}, QString::fromUtf8("移  除")},
        {&selection, "btnAdd", {108, 240, 75, 25}, QString::fromUtf8("添  加")},
        {&selection, "btnOk", {209, 240, 75, 25}, QString::fromUtf8("确  定")},
        {&confirmation, "shpBG", {0, 0, 344, 156}, {}},
        {&confirmation, "imgques", {32, 24, 45, 46}, {}},
        {&confirmation, "lblInfo", {112, 40, 0, 0}, QString::fromUtf8("您确定要更换壁纸？")},
        {&confirmation, "chkSetBgInfo", {120, 88, 97, 17}, QString::fromUtf8("下次不再提示")},
        {&confirmation, "btnok", {176, 120, 75, 25}, QString::fromUtf8("确  定")},
        {&confirmation, "btncancel", {256, 120, 75, 25}, QString::fromUtf8("取  消")},
        {&confirmation, "btnClose", {321, 1, 20, 18}, "X"},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.name);
        auto* widget = c.window->findChild<QWidget*>(c.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(c.geometry.size().isEmpty() ? QRect(widget->pos(), QSize(0, 0)) : widget->geometry(),
                  c.geometry);
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            EXPECT_EQ(label->text(), c.text);
            EXPECT_EQ(label->pixmap().isNull(), !c.text.isEmpty()) << "a picture or a text";
        }
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            EXPECT_EQ(button->text(), c.text);
        }
    }
    EXPECT_EQ(selection.size(), QSize(524, 286));
    EXPECT_TRUE(selection.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(selection.LVpic->header()->isHidden());
    EXPECT_EQ(selection.LVpic->headerItem()->text(0), QString::fromUtf8("默认图片"));
    EXPECT_EQ(selection.LVpic->columnWidth(0), 300);
    EXPECT_EQ(selection.LVpic->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(selection.LVpic->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(confirmation.size(), QSize(344, 156));
    const QImage look = confirmation.grab().toImage();
    for (QPoint frame : {QPoint(0, 50), QPoint(343, 50), QPoint(100, 0), QPoint(100, 155)})
        EXPECT_EQ(look.pixel(frame), qRgb(216, 227, 243)) << frame.x() << "," << frame.y();
    EXPECT_EQ(look.pixel(100, 100), qRgb(255, 255, 255)) << "white inside";
    EXPECT_FALSE(confirmation.chkSetBgInfo->isChecked());
}

using SelectionButton = PictureSelection;

TEST_F(SelectionButton, ReadsTheListAgainAfterTheWindowHasClosed) {
    writeListFile({"A1.bmp", "A1.bmp", "b.bmp", "c.bmp"});
    ComposerSettings settings;
    Composer composer(settings);
    BackgroundSelection selection;
    ASSERT_TRUE(LoadBGPicList(selection, false));
    ASSERT_EQ(selection.BGIndex, 3);

    // Choosing b.bmp makes it current; the next installation uses its (last) entry.
    whenModalOpens([](QWidget* modal) {
        auto& window = static_cast<TPicSelFrm&>(*modal);
        selectRow(window, 1);
        window.btnOk->click();
    });
    composer.RunPictureSelection(nullptr, selection);
    EXPECT_EQ(selection.CurBGPic, "b.bmp");
    EXPECT_EQ(selection.BGIndex, 2);

    // Adding a picture and closing with the close button keeps it and puts BGIndex on it.
    m_chosenFile = chosen("new.bmp", EncodeWithQt(PatternImage(8, 8), "bmp"));
    whenModalOpens([](QWidget* modal) {
        auto& window = static_cast<TPicSelFrm&>(*modal);
        window.btnAdd->click();
        emit window.closeButton->clicked();
    });
    composer.RunPictureSelection(nullptr, selection);
    EXPECT_EQ(selection.CurBGPic, "b.bmp");
    EXPECT_EQ(selection.PicBGList.back().PicName, "new.bmp");
    EXPECT_EQ(selection.BGIndex, 4);

    // A list file that cannot be read: the user is told and the window does not open.
    QFile::remove(listFile());
    ASSERT_TRUE(QDir(m_root.path()).mkpath("Data/BGPicList.ini"));
    composer.RunPictureSelection(nullptr, selection);
    EXPECT_EQ(m_messages, QStringList{kListFileFailedMessage});
    EXPECT_EQ(selection.BGIndex, 4);
}

TEST_F(SelectionButton, OpensOnTheCurrentRowSelectedIgnoresReturnShowsLongNamesAndRemembersTheFolder) {
    const QString longName = QString(60, QLatin1Char('n')) + ".bmp";
    writeListFile({"b.bmp", "A1.bmp", "b.bmp", longName});
    QStringList folders;
    DialogSeamsForTesting().openFileName = [&](const QString&, const QString& folder) {
        return folders << folder, m_chosenFile;
    };
    ASSERT_TRUE(QDir(m_root.path()).mkpath("chosen/more"));
    whenModalOpens([&](QWidget* modal) {
        auto& window = static_cast<TPicSelFrm&>(*modal);
        const QTreeWidgetItem* current = window.LVpic->currentItem();
        EXPECT_EQ(current ? current->text(0) : QString(), "b.bmp");
        EXPECT_EQ(window.LVpic->selectedItems(), QList<QTreeWidgetItem*>{window.LVpic->currentItem()});
        EXPECT_EQ(window.LVpic->topLevelItem(2)->toolTip(0), longName);
        selectRow(window, 2);
        QTest::keyClick(window.LVpic, Qt::Key_Return);
        EXPECT_EQ(window.RowCaptions().size(), 3);
        for (const char* name : {"more/x.bmp", "y.bmp"}) {
            m_chosenFile = chosen(name, EncodeWithQt(PatternImage(8, 8), "bmp"));
            window.btnAdd->click();
        }
        emit window.closeButton->clicked();
    });
    ComposerSettings settings;
    BackgroundSelection selection;
    Composer(settings).RunPictureSelection(nullptr, selection);
    EXPECT_EQ(folders, QStringList({QString(), m_root.filePath("chosen/more")}));
}

// The two borderless windows follow a drag on their background with either button while the platform
// moves nothing itself, and stop following when the button is released.
TEST_F(PictureSelection, BothWindowsAreDraggedByTheirBackgroundWithEitherButtonUntilTheRelease) {
    ComposerSettings settings;
    TPicSelFrm selection;
    TInforFrm confirmation(settings);
    const struct {
        QDialog* window;
        QWidget* background;
    } windows[] = {{&selection, selection.imgBG}, {&confirmation, confirmation.shpBG}};
    for (const auto& w : windows) {
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
            SCOPED_TRACE(QString("%1 button %2").arg(w.window->metaObject()->className()).arg(int(button)).toStdString());
            w.window->move(100, 100);
            w.window->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(w.window));
            const QPoint start = w.window->pos();
            QTest::mousePress(w.background, button, {}, QPoint(150, 100));
            QTest::mouseMove(w.background, QPoint(190, 130));
            EXPECT_EQ(w.window->pos(), start + QPoint(40, 30));
            QTest::mouseRelease(w.background, button, {}, QPoint(190, 130));
            QTest::mouseMove(w.background, QPoint(220, 150));
            EXPECT_EQ(w.window->pos(), start + QPoint(40, 30)) << "no longer following";
            w.window->hide();
        }
    }
}
