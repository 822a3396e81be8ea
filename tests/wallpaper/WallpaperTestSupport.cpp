#include "WallpaperTestSupport.h"

#include "AppLook.h"
#include "Dialogs.h"
#include "LineListFile.h"
#include "PictureFile.h"
#include "ProgramFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace quenda::test {

namespace {} // namespace

QImage Solid(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

void ComposerTest::SetUp() {
    EnsureApplication();
    ASSERT_TRUE(QDir(m_root.path()).mkpath("Data"));
    ASSERT_TRUE(QDir(m_root.path()).mkpath("source/DeskTopBG"));
    SetProgramFolderForTesting(m_root.path());
    DialogSeams& seams = DialogSeamsForTesting();
    seams.showMessage = [this](const QString& text) { m_messages.append(text); };
    seams.openFileName = [this](const QString&, const QString&) { return m_chosenFile; };
    WallpaperSeamForTesting() = [this](const QString& path) {
        m_installed.append(path);
        return m_backendResult;
    };
}

void ComposerTest::TearDown() {
    m_modalTimer.reset();
    DialogSeamsForTesting() = DialogSeams{};
    WallpaperSeamForTesting() = nullptr;
    SetProgramFolderForTesting({});
}

QString ComposerTest::programFile(const QString& relative) const {
    return m_root.filePath(relative);
}

QString ComposerTest::backgroundFile(const QString& name) const {
    return m_root.filePath("source/DeskTopBG/" + name);
}

void ComposerTest::writeBackground(const QString& name, int width, int height, QRgb colour) const {
    ASSERT_TRUE(WriteBmp(Solid(width, height, colour), backgroundFile(name)));
}

void ComposerTest::writeListFile(const QStringList& lines) const {
    ASSERT_TRUE(WriteLineList(programFile("Data/BGPicList.ini"), lines));
}

QStringList ComposerTest::listFileLines() const {
    return ReadLineList(programFile("Data/BGPicList.ini")).value_or(QStringList{"<no file>"});
}

QByteArray ComposerTest::fileBytes(const QString& path) const {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void ComposerTest::writeBytes(const QString& path, const QByteArray& bytes) const {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void ComposerTest::whenModalOpens(std::function<void(QWidget* modal)> action) {
    m_modalTimer = std::make_unique<QTimer>();
    m_modalTimer->setInterval(5);
    QObject::connect(m_modalTimer.get(), &QTimer::timeout, [this, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return; // not open yet
        m_modalTimer->stop();
        action(modal);
    });
    m_modalTimer->start();
}

} // namespace quenda::test
