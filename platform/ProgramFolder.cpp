#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quenda {

namespace {

QString& folderOverride() {
    static QString folder;
    return folder;
}

QString& dataFolderOverride() {
    static QString folder;
    return folder;
}

// The entry of `folder` whose name equals `name` regardless of case, preferring the exact spelling.
QString matchEntry(const QDir& folder, const QString& name) {
    if (QFileInfo::exists(folder.filePath(name))) return name;
    const QStringList entries =
        folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return entry;
    return {};
}

// Where an installed tree keeps the program files, relative to the executable's folder (bin/).
QString installedFilesFolder() {
    return QDir::cleanPath(ProgramFolder() + QStringLiteral("/../share/quenda-calendar"));
}

} // namespace

QString ProgramFolder() {
    if (!folderOverride().isEmpty()) return folderOverride();
    return QCoreApplication::applicationDirPath();
}

void SetProgramFolderForTesting(const QString& folder) {
    folderOverride() = folder;
}

QString ProgramPath(const QString& relative) {
    return ResolvePath(ProgramFolder(), relative);
}

bool RunsInstalled() {
    if (QFileInfo(ProgramPath(QStringLiteral("Data"))).isDir()) return false;
    return QFileInfo(installedFilesFolder()).isDir();
}

QString UserDataHome() {
    const QString home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return home.isEmpty() ? QString() : QDir::cleanPath(home + QStringLiteral("/quenda-calendar"));
}

QString DataFolder() {
    if (!dataFolderOverride().isEmpty()) return dataFolderOverride();
    return RunsInstalled() ? UserDataHome() : ProgramFolder();
}

void SetDataFolder(const QString& folder) {
    dataFolderOverride() = folder.isEmpty() ? QString() : QDir::cleanPath(QDir(folder).absolutePath());
}

QString DataPath(const QString& relative) {
    return ResolvePath(DataFolder(), relative);
}

QString ProgramFilePath(const QString& relative) {
    return RunsInstalled() ? ResolvePath(installedFilesFolder(), relative) : ProgramPath(relative);
}

QString ResolvePath(const QString& base, const QString& relative) {
    QString unified = relative;
    unified.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = unified.split(QLatin1Char('/'), Qt::SkipEmptyParts);

    QString path = QDir::cleanPath(base);
    bool resolving = true;
    for (const QString& part : parts) {
        QString name = part;
        if (resolving) {
            const QString found = matchEntry(QDir(path), part);
            if (found.isEmpty())
                resolving = false;
            else
                name = found;
        }
        path += QLatin1Char('/') + name;
    }
    return path;
}

} // namespace quenda
