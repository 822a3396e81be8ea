#include "UserDataSetup.h"

#include "ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace quenda {

namespace {

QString failure(const QString& what, const QString& path) {
    return QStringLiteral("%1：%2").arg(what, QDir::toNativeSeparators(path));
}

// A new folder of the user's own notes is readable by nobody else (as XDG asks of the data home).
std::optional<QString> makePrivateFolder(const QString& folder) {
    if (QFileInfo(folder).isDir()) return std::nullopt;
    if (!QDir().mkpath(folder)) return failure(QStringLiteral("无法建立数据文件夹"), folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return std::nullopt;
}

// The picture folders, and the default background unless the user has one of that name already.
std::optional<QString> makeSourceFolders(const QString& folder) {
    for (const char* sub : {"source/DeskTopBG", "source/Month"})
        if (!QDir().mkpath(ResolvePath(folder, QString::fromLatin1(sub))))
            return failure(QStringLiteral("无法建立图片文件夹"),
                           ResolvePath(folder, QString::fromLatin1(sub)));
    const QString background = ResolvePath(folder, QString::fromLatin1(kDefaultBackgroundFile));
    const QString shipped = ProgramFilePath(QString::fromLatin1(kDefaultBackgroundFile));
    // A missing default background is no reason not to start: the background list copes without it.
    if (!QFileInfo::exists(background) && QFileInfo::exists(shipped)) QFile::copy(shipped, background);
    return std::nullopt;
}

// Data/ with the empty store, made beside the target and renamed into place in one step.
std::optional<QString> makeDataFolder(const QString& folder) {
    const QString store = ProgramFilePath(QString::fromLatin1(kStoreTemplateFile));
    if (!QFileInfo(store).isFile()) return failure(QStringLiteral("找不到空记事库，请重新安装程序"), store);
    QTemporaryDir staging(folder + QStringLiteral("/.Data-XXXXXX"));
    const QString copy = staging.filePath(QStringLiteral("UserData.db"));
    if (!staging.isValid() || !QFile::copy(store, copy))
        return failure(QStringLiteral("无法建立记事库"), folder + QStringLiteral("/Data"));
    // The template may be read-only where it is installed; the user's copy is theirs to write.
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    QFile::setPermissions(staging.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!QDir().rename(staging.path(), folder + QStringLiteral("/Data")))
        return failure(QStringLiteral("无法建立记事库"), folder + QStringLiteral("/Data"));
    return std::nullopt;
}

} // namespace

std::optional<QString> MakeDataFolder() {
    const QString folder = DataFolder();
    if (folder.isEmpty()) return QStringLiteral("无法确定保存记事的文件夹（没有用户数据目录）");
    return makePrivateFolder(folder);
}

std::optional<QString> PrepareDataFolder() {
    const QString folder = DataFolder();
    if (folder == QDir::cleanPath(ProgramFolder())) return std::nullopt;
    if (auto error = MakeDataFolder()) return error;
    if (QFileInfo::exists(ResolvePath(folder, QStringLiteral("Data")))) return std::nullopt;
    if (auto error = makeSourceFolders(folder)) return error;
    return makeDataFolder(folder);
}

} // namespace quenda
