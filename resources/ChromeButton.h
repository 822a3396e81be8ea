#pragma once
// A picture button of a borderless window, drawn in three looks (normal, highlighted, pressed) by three
// picture controls at one place of which one is shown: the pointer over the normal picture shows the
// highlighted one, a press on the highlighted one shows the pressed one, and a left press released inside
// the button is a click.

#include <QLabel>
#include <QObject>
#include <QRect>

namespace quenda {

class TChromeButton : public QObject {
    Q_OBJECT
public:
    // `name` gives the controls' names (img_close gives img_close_normal, img_close_highlight,
    // img_close_down); `picture` the window pictures (close gives close_normal, ...).
    // `activeRect` places the highlighted and pressed looks when they sit apart from the normal one.
    TChromeButton(QWidget* parent, const QString& name, const QString& picture, QRect rect,
                  QRect activeRect = {});

    QLabel& Normal() const { return *m_normal; }
    QLabel& Highlight() const { return *m_highlight; }
    QLabel& Down() const { return *m_down; }

    void ShowNormal();
    void ShowHighlight();
    void ShowDown();
    void SetGeometry(QRect rect, QRect activeRect = {});
    // What screen readers call the button; their press action clicks it.
    void SetAccessibleName(const QString& name);

signals:
    void clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Show(QLabel* look);
    void Released(QObject* watched, QEvent* event);
    bool PointerInside() const;

    QLabel* m_normal;
    QLabel* m_highlight;
    QLabel* m_down;
    bool m_pressed = false;
};

} // namespace quenda
