#pragma once
// Shared fixtures of the composer's tests: the application, a program folder of its own in a temporary
// directory, pictures of one colour, the message boxes and wallpaper installations the code asked for.

#include "QtTestApplication.h"
#include "WallpaperBackend.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

class QWidget;

namespace quenda::test {

// A picture of one colour.
QImage Solid(int width, int height, QRgb colour);

// Each test runs in a program folder of its own (Data/ and source/DeskTopBG/ exist), with the message
// boxes, file dialog and wallpaper backend replaced by recorders.
class ComposerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString programFile(const QString& relative) const; // "Data/BGPicList.ini"
    QString backgroundFile(const QString& name) const;  // in source/DeskTopBG
    void writeBackground(const QString& name, int width, int height, QRgb colour) const;
    void writeListFile(const QStringList& lines) const;
    QStringList listFileLines() const;
    QByteArray fileBytes(const QString& path) const;
    void writeBytes(const QString& path, const QByteArray& bytes) const;
    // Runs `action` on the next modal window once it is open (from inside its event loop). Pending until
    // the end of the test.
    void whenModalOpens(std::function<void(QWidget* modal)> action);

    QTemporaryDir m_root;
    QStringList m_messages;  // texts of the message boxes shown
    QStringList m_installed; // paths handed to the wallpaper backend
    QString m_chosenFile;    // what the file dialog answers
    WallpaperResult m_backendResult{true, {}, {}};
    std::unique_ptr<QTimer> m_modalTimer;
};

} // namespace quenda::test
