// The peer of the start-up benchmark: an empty Qt window of the main window's size that prints "painted"
// once it has been painted, as the program does with QUENDA_TEST_REPORT=1.
#include <QApplication>
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
    window.show();
    return app.exec();
}
