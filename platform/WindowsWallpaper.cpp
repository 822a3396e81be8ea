// The Windows backend: the user's desktop settings under HKEY_CURRENT_USER "Control Panel\Desktop"
// ("Wallpaper" = the file, "WallpaperStyle" = "2", stretched), then the system call that applies them. The
// path goes to the call explicitly and as UTF-16: the ANSI call with a null path loses Chinese folder names.
#include "WallpaperBackend.h"

#ifdef Q_OS_WIN

#include <QDir>

#include <windows.h>

namespace quenda {

namespace {

struct KeyCloser {
    HKEY key = nullptr;
    ~KeyCloser() {
        if (key) RegCloseKey(key);
    }
};

bool writeText(HKEY key, const wchar_t* name, const std::wstring& value) {
    const auto* bytes = reinterpret_cast<const BYTE*>(value.c_str());
    const DWORD size = DWORD((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, name, 0, REG_SZ, bytes, size) == ERROR_SUCCESS;
}

} // namespace

WallpaperResult SetWindowsWallpaper(const QString& path) {
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    KeyCloser desktop;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_SET_VALUE, &desktop.key) !=
        ERROR_SUCCESS)
        return {false, WallpaperCommandFailedMessage(path),
                QStringLiteral("cannot open Control Panel\\Desktop")};
    if (!writeText(desktop.key, L"Wallpaper", native) || !writeText(desktop.key, L"WallpaperStyle", L"2") ||
        !writeText(desktop.key, L"TileWallpaper", L"0"))
        return {false, WallpaperCommandFailedMessage(path),
                QStringLiteral("cannot write the desktop settings")};
    std::wstring parameter = native; // the call takes a non-const pointer
    if (!SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, parameter.data(),
                               SPIF_UPDATEINIFILE | SPIF_SENDCHANGE))
        return {false, WallpaperCommandFailedMessage(path),
                QStringLiteral("SystemParametersInfoW failed: %1").arg(GetLastError())};
    return {true, QString(), QString()};
}

} // namespace quenda

#endif
