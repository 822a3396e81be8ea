#pragma once
// The close button of a borderless window, drawn by three pictures in one place: normal, highlighted
// (the mouse is over it; the only one that takes presses) and pressed. A press and a release on it
// close the window.

#include <QObject>
#include <QPoint>

class QLabel;
class QWidget;

namespace quenda {

class CloseButton : public QObject {
    Q_OBJECT

public:
    // Creates the three pictures as children of `window` at `topLeft`, named img_close_normal,
    // img_close_highlight and img_close_down.
    CloseButton(QWidget* window, QPoint topLeft);

    QLabel* normal() const { return m_normal; }
    QLabel* highlight() const { return m_highlight; }
    QLabel* down() const { return m_down; }

    // Back to the normal look (the mouse moved over the window's background).
    void ShowNormal();

signals:
    void clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show(QLabel* look);

    QLabel* m_normal;
    QLabel* m_highlight;
    QLabel* m_down;
};

} // namespace quenda
