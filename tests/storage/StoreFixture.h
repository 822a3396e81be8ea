#pragma once
// A temporary program folder with a note store, the application object, and captured message boxes: what
// the storage and main-window tests start from.

#include "QtTestApplication.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <ostream>

namespace quenda::test {

// A small tmpfs of the test's own, for a full disk or a read-only one. Mounting needs root (with the
// capability to mount); Mounted() says whether it worked, so a test can skip with a clear message.
class ScratchMount {
public:
    explicit ScratchMount(const char* size = "1m");
    ~ScratchMount();
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;
    bool Mounted() const { return m_mounted; }
    QString Path() const { return m_dir.path(); }
    bool RemountReadOnly();

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

// A note of `text` as the program stores it: the RTF of the plain text.
QByteArray RtfOf(const QString& text);

// Copies the folder `from` with everything in it to `to`.
bool CopyFolder(const QString& from, const QString& to);

class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString Path(const QString& relative) const; // inside the program folder
    // Creates Data/UserData.db with the table UserCon (and `extraColumns` appended to its definition).
    void MakeStore(const QString& extraColumns = {});
    void WriteFile(const QString& relative, const QByteArray& bytes);
    QByteArray ReadFile(const QString& relative) const;
    // The rows of UserCon as key -> data, read through a connection of the test's own.
    std::map<QString, QByteArray> Rows() const;
    // Runs a statement on the store through a connection of the test's own.
    void Exec(const QString& statement) const;
    // Copies the program folder onto `disk`, makes the disk read-only and runs the program from there.
    void MoveToReadOnlyDisk(ScratchMount& disk);

    QTemporaryDir m_folder;
    QStringList m_messages; // every message box shown, in order
};

} // namespace quenda::test
