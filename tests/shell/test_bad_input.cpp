// Bad input of every kind the program reads: the note store, the three line-list files, the background,
// month and added pictures. Each case gets the exact message or the documented silent behaviour, and
// the notes stored before are still there.
#include "MainWindowFixture.h"

#include "Dialogs.h"
#include "PictureTestFiles.h"
#include "RtfCodec.h"
#include "WallpaperBackend.h"
#include "uPicSel.h"

#include <QFile>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextDocument>
#include <QTextEdit>

#include <cctype>
#include <functional>

using namespace quenda;
using namespace quenda::test;

namespace {

const QString kOpenFailed = QStringLiteral("配置文件加载失败，请重试！");
const QString kLoadFailed = QStringLiteral("加载记事内容失败！");
const QString kComposeFailed = QStringLiteral("合成壁纸失败，请重试！");
const QString kAddFailed = QStringLiteral("添加失败，请重试！");
const QString kAddError = QStringLiteral("添加背景图片异常，请重试！");
const QString kSeeded = QStringLiteral("the first of January 元旦");

// A name for ctest: the case's words joined by underscores.
template <typename Case> std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    std::string name = info.param.name;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

class BadInputTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        SeedNote("20130101", RtfOf(kSeeded));
        ASSERT_TRUE(QDir().mkpath(Path("source/DeskTopBG")));
        ASSERT_TRUE(QDir().mkpath(Path("source/Month")));
        Background(1024, 768).save(Path("source/DeskTopBG/A1.bmp"));
        WriteFile("Data/configSetBg.ini", "0\r\n");
    }
    static QByteArray RtfOf(const QString& text) {
        QTextDocument document;
        document.setPlainText(text);
        return writeRtf(document);
    }
    void SeedNote(const QString& key, const QByteArray& data) {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("seed"));
            db.setDatabaseName(Path("Data/UserData.db"));
            ASSERT_TRUE(db.open());
            QSqlQuery query(db);
            query.prepare(QStringLiteral("insert or replace into UserCon (conIndex, data) values (?, ?)"));
            query.addBindValue(key);
            query.addBindValue(data);
            ASSERT_TRUE(query.exec());
        }
        QSqlDatabase::removeDatabase(QStringLiteral("seed"));
    }
    static QImage Background(int width, int height) {
        QImage picture(width, height, QImage::Format_RGB32);
        picture.fill(qRgb(200, 210, 220));
        return picture;
    }
    void ExpectSeededNoteIntact() { EXPECT_EQ(StoredText("20130101"), kSeeded); }
};

// ---- the note store ----

class BadStore;

struct StoreCase {
    const char* name;
    std::function<void(BadStore&)> damage; // what is done to Data/UserData.db
    QStringList messages;
    std::function<void(BadStore&)> check; // the documented behaviour beyond the messages
};
void PrintTo(const StoreCase& c, std::ostream* out) {
    *out << c.name;
}

class BadStore : public BadInputTest, public ::testing::WithParamInterface<StoreCase> {
public:
    using BadInputTest::m_form;
    using BadInputTest::Path;
    using BadInputTest::ReadFile;
    using BadInputTest::Rows;
    using BadInputTest::SeedNote;
    using BadInputTest::StoredText;
    using BadInputTest::WriteFile;
};

QByteArray Bytes(BadStore& test) {
    return test.ReadFile("Data/UserData.db");
}

} // namespace

TEST_P(BadStore, GetsItsMessageAndKeepsTheNotes) {
    const StoreCase& c = GetParam();
    c.damage(*this);
    const QByteArray before = ReadFile("Data/UserData.db");
    m_dm = std::make_unique<TDM>();
    if (m_dm->DataModuleCreate()) {
        m_form = std::make_unique<TMainFrm>(*m_dm);
        Show();
    }
    EXPECT_EQ(m_messages, c.messages);
    if (!m_form) {
        EXPECT_EQ(ReadFile("Data/UserData.db"), before); // a store that does not open is untouched
    }
    c.check(*this);
}

INSTANTIATE_TEST_SUITE_P(
    Program, BadStore,
    ::testing::Values(
        StoreCase{"missing",
                  [](BadStore& t) { QFile::remove(t.Path("Data/UserData.db")); },
                  {kOpenFailed},
                  [](BadStore& t) { EXPECT_FALSE(QFile::exists(t.Path("Data/UserData.db"))); }},
        StoreCase{"empty file",
                  [](BadStore& t) { t.WriteFile("Data/UserData.db", ""); },
                  {kOpenFailed},
                  [](BadStore& t) { EXPECT_EQ(Bytes(t), ""); }},
        StoreCase{"random bytes",
                  [](BadStore& t) { t.WriteFile("Data/UserData.db", QByteArray(8192, '\xA7')); },
                  {kOpenFailed},
                  [](BadStore&) {}},
        StoreCase{"truncated",
                  [](BadStore& t) {
                      for (int day = 2; day < 60; ++day)
                          t.SeedNote(QString::number(20130100 + day), QByteArray(3000, 'n'));
                      t.WriteFile("Data/UserData.db", Bytes(t).left(4096));
                  },
                  {kOpenFailed},
                  [](BadStore&) {}},
        StoreCase{"a database without UserCon",
                  [](BadStore& t) {
                      QFile::remove(t.Path("Data/UserData.db"));
                      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "other");
                      db.setDatabaseName(t.Path("Data/UserData.db"));
                      db.open();
                      QSqlQuery(QStringLiteral("create table Other (x)"), db);
                      db.close();
                  },
                  {kLoadFailed, kLoadFailed}, // at creation and at show; nothing is stored
                  [](BadStore& t) { EXPECT_TRUE(t.m_form->rdtAbc().isReadOnly()); }},
        StoreCase{"UserCon with extra columns",
                  [](BadStore& t) {
                      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "extra");
                      db.setDatabaseName(t.Path("Data/UserData.db"));
                      db.open();
                      QSqlQuery(QStringLiteral("alter table UserCon add column remark TEXT default 'kept'"),
                                db);
                      db.close();
                  },
                  {},
                  [](BadStore& t) { EXPECT_EQ(t.StoredText("20130101"), kSeeded); }},
        StoreCase{"a garbage note",
                  [](BadStore& t) { t.SeedNote("20130102", QByteArray("{\\rtf1{{{\\'\xFF\x00", 14)); },
                  {},
                  [](BadStore& t) { EXPECT_FALSE(t.m_form->rdtAbc().isReadOnly()); }},
        StoreCase{"a plain-text note",
                  [](BadStore& t) { t.SeedNote("20130102", "just words"); },
                  {},
                  [](BadStore& t) { EXPECT_EQ(t.m_form->rdtAbc().toPlainText(), "just words"); }},
        // A picture pasted into a note makes the largest notes: its bytes are skipped, its text kept.
        StoreCase{"a 10 MB note",
                  [](BadStore& t) {
                      t.SeedNote("20130102", "{\\rtf1\\ansi before {\\pict\\pngblip " +
                                                 QByteArray(10 * 1024 * 1024, 'a') + "} after}");
                  },
                  {},
                  [](BadStore& t) { EXPECT_EQ(t.m_form->rdtAbc().toPlainText(), "before  after"); }},
        StoreCase{"a 1 MB note of text",
                  [](BadStore& t) {
                      QByteArray lines;
                      while (lines.size() < 1024 * 1024)
                          lines += "a long day's note, line after line\r\n";
                      t.SeedNote("20130102", lines);
                  },
                  {},
                  [](BadStore& t) { EXPECT_GT(t.m_form->rdtAbc().toPlainText().size(), 1000000); }}),
    CaseName<StoreCase>);

namespace {

// ---- the line-list files ----

struct ListCase {
    const char* name;
    const char* file; // in Data/
    QByteArray bytes;
};
void PrintTo(const ListCase& c, std::ostream* out) {
    *out << c.name;
}

class BadListFile : public BadInputTest, public ::testing::WithParamInterface<ListCase> {};

QByteArray Huge() {
    return QByteArray(5 * 1024 * 1024, '7');
}

} // namespace

// Every damaged list file falls back to the defaults in silence; the program starts, shows today's note,
// and the wallpaper button still works on A1.bmp (or, for a list naming nothing usable, silently does
// nothing).
TEST_P(BadListFile, StartsWithTheDefaultsAndKeepsTheNotes) {
    const ListCase& c = GetParam();
    WriteFile(QStringLiteral("Data/") + c.file, c.bytes);
    std::vector<QString> installed;
    WallpaperSeamForTesting() = [&](const QString& path) {
        installed.push_back(path);
        return WallpaperResult{true, {}, {}};
    };
    CreateAndShow();
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(' ').toStdString();
    EXPECT_GE(m_form->width(), 750);
    Type("typed");
    EXPECT_EQ(StoredText("20130102"), "typed");
    // A damaged configSetBg.ini means "ask first" (the confirmation itself is the composer's to test).
    const bool asks = QByteArray(c.file) == "configSetBg.ini";
    EXPECT_EQ(m_form->ComposerState.AskBeforeSet, asks);
    if (!asks) m_form->imgAppToDeskClick();
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(' ').toStdString();
    EXPECT_LE(installed.size(), 1u);
    ExpectSeededNoteIntact();
    WallpaperSeamForTesting() = {};
}

INSTANTIATE_TEST_SUITE_P(
    Program, BadListFile,
    ::testing::Values(
        ListCase{"FormSize empty", "FormSize.ini", ""},
        ListCase{"FormSize binary", "FormSize.ini", QByteArray("\x00\x01\xFE\r\n\xFF", 6)},
        ListCase{"FormSize huge", "FormSize.ini", Huge()},
        ListCase{"FormSize missing lines", "FormSize.ini", "2\r\n900\r\n"},
        ListCase{"configSetBg empty", "configSetBg.ini", ""},
        ListCase{"configSetBg binary", "configSetBg.ini", QByteArray("\xFF\x00\x9A", 3)},
        ListCase{"configSetBg huge", "configSetBg.ini", Huge()},
        ListCase{"BGPicList empty", "BGPicList.ini", ""},
        ListCase{"BGPicList binary", "BGPicList.ini", QByteArray("\x01\x02\xFF\xFE\r\n\x00", 6)},
        ListCase{"BGPicList huge", "BGPicList.ini", Huge()},
        ListCase{"BGPicList names that do not exist", "BGPicList.ini", "nothing.bmp\r\ngone.bmp\r\n"},
        ListCase{"BGPicList a name outside GBK", "BGPicList.ini",
                 QString::fromUtf8("A1.bmp\r\n\xF0\x9F\x8C\x84 sunrise.bmp\r\n").toUtf8()}),
    CaseName<ListCase>);

namespace {

// ---- pictures ----

enum class Role { Background, MonthPicture, Added };

struct PictureCase {
    const char* name;
    Role role;
    const char* fileName;
    std::function<QByteArray()> bytes;
    QStringList messages;
};
void PrintTo(const PictureCase& c, std::ostream* out) {
    *out << c.name;
}

class BadPicture : public BadInputTest, public ::testing::WithParamInterface<PictureCase> {};

QByteArray Jpeg() {
    return EncodeWithQt(PatternImage(400, 300), "jpg");
}
QByteArray Bmp() {
    return EncodeWithQt(PatternImage(400, 300), "bmp");
}
QByteArray Gif() {
    return MakeGif(40, 30, {GifFrame{0, 0, 40, 30, std::vector<unsigned char>(1200, 1)}});
}

} // namespace

TEST_P(BadPicture, GetsItsMessageAndLeavesTheListAndTheNotes) {
    const PictureCase& c = GetParam();
    const QString folder = c.role == Role::MonthPicture ? "source/Month/" : "source/DeskTopBG/";
    const QString name =
        c.role == Role::MonthPicture ? QStringLiteral("201301.bmp") : QString::fromUtf8(c.fileName);
    if (c.role == Role::Added) {
        WriteFile(QStringLiteral("chosen/") + name, c.bytes());
    } else {
        WriteFile(folder + name, c.bytes());
        if (c.role == Role::Background) WriteFile("Data/BGPicList.ini", (name + "\r\n").toUtf8());
    }
    std::vector<QString> installed;
    WallpaperSeamForTesting() = [&](const QString& path) {
        installed.push_back(path);
        return WallpaperResult{true, {}, {}};
    };
    CreateAndShow();
    const QByteArray listBefore = ReadFile("Data/BGPicList.ini");
    const int indexBefore = m_form->Backgrounds.BGIndex;
    if (c.role == Role::Added) {
        DialogSeamsForTesting().openFileName = [&](const QString&, const QString&) {
            return Path("chosen/" + name);
        };
        m_form->WallpaperComposer().PicSel().FillPicList();
        m_form->WallpaperComposer().PicSel().btnAddClick();
        EXPECT_EQ(ReadFile("Data/BGPicList.ini"), listBefore);
    } else {
        m_form->imgAppToDeskClick();
        EXPECT_TRUE(installed.empty());
        EXPECT_EQ(m_form->Backgrounds.BGIndex, indexBefore);
    }
    EXPECT_EQ(m_messages, c.messages);
    ExpectSeededNoteIntact();
    WallpaperSeamForTesting() = {};
}

INSTANTIATE_TEST_SUITE_P(
    Program, BadPicture,
    ::testing::Values(
        PictureCase{"background truncated",
                    Role::Background,
                    "cut.bmp",
                    [] { return Bmp().left(2000); },
                    {kComposeFailed}},
        PictureCase{"background corrupt",
                    Role::Background,
                    "noise.bmp",
                    [] { return "BM" + QByteArray(5000, '\x13'); },
                    {kComposeFailed}},
        PictureCase{"background zero sized",
                    Role::Background,
                    "zero.bmp",
                    [] { return QByteArray(); },
                    {kComposeFailed}},
        PictureCase{"background enormous header",
                    Role::Background,
                    "huge.bmp",
                    [] { return WithForgedSize(Bmp(), "bmp", 100000, 100000); },
                    {kComposeFailed}},
        PictureCase{"month picture truncated",
                    Role::MonthPicture,
                    "",
                    [] { return Bmp().left(3000); },
                    {kComposeFailed}},
        PictureCase{"month picture zero sized",
                    Role::MonthPicture,
                    "",
                    [] { return QByteArray(); },
                    {kComposeFailed}},
        PictureCase{"month picture enormous header",
                    Role::MonthPicture,
                    "",
                    [] { return WithForgedSize(Bmp(), "bmp", 20000, 20000); },
                    {kComposeFailed}},
        PictureCase{
            "added JPEG truncated", Role::Added, "cut.jpg", [] { return Jpeg().left(300); }, {kAddFailed}},
        PictureCase{"added JPEG corrupt",
                    Role::Added,
                    "noise.jpg",
                    [] { return "\xFF\xD8\xFF" + QByteArray(900, '\x42'); },
                    {kAddFailed}},
        PictureCase{
            "added GIF zero sized", Role::Added, "zero.gif", [] { return QByteArray(); }, {kAddFailed}},
        PictureCase{"added GIF enormous header",
                    Role::Added,
                    "huge.gif",
                    [] { return WithForgedSize(Gif(), "gif", 60000, 60000); },
                    {kAddFailed}},
        PictureCase{"added BMP enormous header",
                    Role::Added,
                    "huge.bmp",
                    [] { return WithForgedSize(Bmp(), "bmp", 100000, 100000); },
                    {kAddError}},
        PictureCase{
            "added with the wrong extension", Role::Added, "photo.png", [] { return Jpeg(); }, {kAddError}}),
    CaseName<PictureCase>);
