#pragma once
// The selection window: the user adds background pictures (BMP, JPEG, GIF), removes them and chooses the
// current one. Every change is written to the background list file at once.

#include "WindowDrag.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class QFrame;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace quenda {

class TChromeButton;

// Pictures wider than this are stretched to kStoredWidth x kStoredHeight when they are added.
inline constexpr int kStoredWidth = 1280, kStoredHeight = 768;

// What adding a chosen file came to: the row to add, or the message to show.
struct AddedPicture {
    QString caption;
    QString message;
};
// Copies `chosen` into `backgroundFolder` (replacing a file of that name), converts it to BMP and
// stretches a picture wider than 1280 pixels to 1280 x 768.
AddedPicture AddBackgroundPicture(const QString& chosen, const QString& backgroundFolder);

class TPicSelFrm : public QDialog {
    Q_OBJECT

public:
    // The file dialog's filter.
    static const QString opgPicFilter;

    explicit TPicSelFrm(QWidget* parent = nullptr);
    ~TPicSelFrm() override;

    // The current picture as the window knows it: set before each showing, read back after it.
    QString CurPic;

    // Fills the rows and CurPic from the list file (creating a missing one), then shows the window modally,
    // centred on `centreOn`. False, without showing, when the list file exists but cannot be read.
    bool ShowSelection(QWidget* centreOn);

    // Reads the list file into CurPic and the rows. False when it exists but cannot be read, or cannot be
    // created.
    bool FillPicList();
    void btnAddClick();
    void btnRemoveClick();
    void btnOkClick();

    // Stretches the picture in `Source` to `Width` x `Height`, keeping whole source pixels, and writes it
    // as BMP to `Dest`.
    static bool StretchPicture(const QString& Source, const QString& Dest, int Width, int Height);

    // The rows' captions from top to bottom.
    QStringList RowCaptions() const;

    QLabel* imgBG;
    TChromeButton* closeButton;
    QLabel* imgLogo;
    QFrame* Shape1;
    QTreeWidget* LVpic;
    QLabel* lblTishi;
    QLabel* imgSel;
    QPushButton* btnRemove;
    QPushButton* btnAdd;
    QPushButton* btnOk;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void describeControls();
    void addRow(const QString& caption);
    void selectCurrentPicture();
    int firstSelectedRow() const;
    bool writeListFile() const;

    QString m_listFile;
    QString m_backgroundFolder;
    QString m_lastFolder; // where the file dialog chose a picture last
    WindowDrag m_drag{*this, false};
};

} // namespace quenda
