// A second opinion on the writer: LibreOffice converts what we write to plain text, which must be the text
// we wrote. Skipped where LibreOffice is not installed.
#include "RtfTestSupport.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace quenda;
using namespace quenda::test;

namespace {

TEST(RtfLibreOffice, ReadsOurWriterOutputToTheSameText) {
    const QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());

    QTextDocument document;
    readRtf(readFixture("rtf/lo_c05_marks_date_symbols.rtf"), document);
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock();
    cursor.insertText(QString::fromUtf8("한국어 日本語 € 𠀀 ①"));
    QFile note(folder.filePath("note.rtf"));
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    note.write(writeRtf(document));
    note.close();

    QProcess convert;
    convert.setWorkingDirectory(folder.path());
    convert.start(soffice,
                  {"-env:UserInstallation=file://" + folder.filePath("profile"), "--headless", "--convert-to",
                   "txt:Text (encoded):UTF8", "--outdir", folder.path(), note.fileName()});
    ASSERT_TRUE(convert.waitForFinished(120000));
    QFile text(folder.filePath("note.txt"));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly)) << convert.readAllStandardError().toStdString();
    QString converted = QString::fromUtf8(text.readAll());
    converted.remove(QChar(0xFEFF));
    converted.replace("\r\n", "\n");
    while (converted.endsWith(u'\n'))
        converted.chop(1);
    EXPECT_EQ(converted, documentPlainText(document));
}

} // namespace
