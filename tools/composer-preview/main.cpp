// The wallpaper composer by hand, before the main window hosts it: a note, the "选择壁纸" picture that opens
// the selection window and the "添加到桌面" picture that installs the note as the wallpaper, wired as the
// main window wires them. Usage: composer-preview [PROGRAM_FOLDER] (default: the executable's folder);
// the folder needs Data/ and source/DeskTopBG/A1.bmp. Every outcome is printed.
#include "AppLook.h"
#include "Clock.h"
#include "Composer.h"
#include "Pictures.h"
#include "ProgramFolder.h"

#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QMouseEvent>
#include <QTextEdit>

#include <cstdio>

namespace {

// A picture that runs `onClick` when pressed.
class PictureButton : public QLabel {
public:
    PictureButton(const QString& picture, std::function<void()> onClick, QWidget* parent)
        : QLabel(parent), m_onClick(std::move(onClick)) {
        setPixmap(quenda::WindowPicture(picture, devicePixelRatioF()));
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (rect().contains(event->position().toPoint())) m_onClick();
    }

private:
    std::function<void()> m_onClick;
};

const char* outcomeName(quenda::InstallOutcome outcome) {
    switch (outcome) {
    case quenda::InstallOutcome::Declined:
        return "declined";
    case quenda::InstallOutcome::BackgroundMissing:
        return "background missing";
    case quenda::InstallOutcome::ComposeFailed:
        return "composition failed";
    case quenda::InstallOutcome::InstallFailed:
        return "installation failed";
    case quenda::InstallOutcome::Installed:
        return "installed";
    }
    return "?";
}

} // namespace

int main(int argc, char* argv[]) {
    quenda::InstallFontSubstitutions();
    QApplication app(argc, argv);
    quenda::InstallChineseTranslation(app);
    app.setApplicationDisplayName(QStringLiteral("Quenda桌面日历"));
    if (argc > 1) quenda::SetProgramFolderForTesting(QString::fromLocal8Bit(argv[1])); // a developer's folder

    // The main window's start-up steps for the composer, in its order.
    quenda::ComposerSettings settings;
    quenda::ReadConfigSetBg(settings);
    quenda::BackgroundSelection selection;
    quenda::LoadBGPicList(selection, false);
    const QString month = quenda::ProgramPath(
        "source\\Month\\" + quenda::FromDateTimeValue(quenda::Clock::Now()).toString("yyyyMM") + ".bmp");
    quenda::Composer composer(settings);

    QWidget window;
    window.setWindowTitle(QStringLiteral("桌面日历"));
    window.setStyleSheet(QStringLiteral("QWidget#window { background: rgb(216, 227, 243); }"));
    window.setObjectName(QStringLiteral("window"));
    window.setGeometry(370, 280, 540, 240);
    auto* note = new QTextEdit(&window);
    note->setGeometry(220, 10, 310, 220);
    note->setPlainText(QStringLiteral("今天 A&B\n√ 交电费\n× 去银行"));
    new PictureButton(
        QStringLiteral("add_to_desk"), [&] { composer.RunPictureSelection(&window, selection); }, &window);
    auto* install = new PictureButton(
        QStringLiteral("app_to_desk"),
        [&] {
            const QString text = note->toPlainText().replace('\n', QStringLiteral("\r\n"));
            const auto outcome = composer.InstallWallpaper(&window, selection, text, month);
            std::printf("%s, BGIndex %d\n", outcomeName(outcome), selection.BGIndex);
            std::fflush(stdout);
        },
        &window);
    install->move(60, 120);
    window.show();
    return app.exec();
}
