// Makes the empty note store that ships in the program folder. An existing file is never touched, so a
// rebuild keeps the notes typed into build/app.
#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>

namespace {

bool createStore(const QString& path) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("store"));
    db.setDatabaseName(path);
    if (!db.open()) {
        std::fprintf(stderr, "make-note-store: %s\n", qPrintable(db.lastError().text()));
        return false;
    }
    QSqlQuery query(db);
    const bool ok =
        query.exec(QStringLiteral("PRAGMA journal_mode=WAL")) &&
        query.exec(QStringLiteral("create table UserCon (conIndex TEXT PRIMARY KEY NOT NULL, data BLOB)"));
    if (!ok) std::fprintf(stderr, "make-note-store: %s\n", qPrintable(query.lastError().text()));
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-note-store PATH\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (QFileInfo::exists(path)) return 0;
    bool ok = createStore(path);
    QSqlDatabase::removeDatabase(QStringLiteral("store"));
    return ok ? 0 : 1;
}
