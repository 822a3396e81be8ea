// The peers of the start-up benchmark: an empty Qt window of the main window's size that prints "painted"
// once it has been painted, as the program does with QUENDA_TEST_REPORT=1; with the argument "label" the
// window shows one line of Chinese, which costs the font set-up that any Chinese window pays.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

class Window : public QWidget {
protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::UpdateRequest && !m_painted) {
            m_painted = true;
            QTimer::singleShot(0, [] { std::puts("painted"), std::fflush(stdout); });
        }
        return QWidget::event(event);
    }

private:
    bool m_painted = false;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    Window window;
    window.resize(750, 500);
    if (argc > 1 && QByteArray(argv[1]) == "label") {
        auto* label = new QLabel(QString::fromUtf8("今天是 2013年1月2日(三)"), &window);
        label->setFont(QFont(QString::fromUtf8("Noto Sans CJK SC"), 12));
        label->move(20, 20);
    }
    window.show();
    return app.exec();
}
