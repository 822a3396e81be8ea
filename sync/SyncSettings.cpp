#include "SyncSettings.h"

#include "ProgramFolder.h"

#include <QFile>
#include <QLibrary>
#include <QSettings>

// GLib's headers name a member "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <libsecret/secret.h>
#pragma pop_macro("signals")

namespace quenda {

namespace {

constexpr int kShortestInterval = 10; // seconds: a pull every few seconds would only load the server

QString PasswordFilePath() {
    return DataPath(QStringLiteral("Data\\SyncPassword"));
}

const SecretSchema* PasswordSchema() {
    static const SecretSchema schema = {"org.quenda.Calendar.Sync",
                                        SECRET_SCHEMA_NONE,
                                        {{"url", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {"user", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                                        0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    return &schema;
}

// libsecret, opened when a password is first looked up or stored rather than linked: it and the GIO
// libraries it brings would add a few milliseconds to every start, and most users never sync. Without
// it the password goes to the file, as without a secret service.
struct SecretLibrary {
    decltype(&secret_service_get_sync) serviceGet = nullptr;
    decltype(&secret_password_lookup_sync) lookup = nullptr;
    decltype(&secret_password_free) passwordFree = nullptr;
    decltype(&secret_password_clear_sync) clear = nullptr;
    decltype(&secret_password_store_sync) store = nullptr;
    decltype(&g_object_unref) objectUnref = nullptr;
    decltype(&g_error_free) errorFree = nullptr;

    bool Loaded() const {
        return serviceGet && lookup && passwordFree && clear && store && objectUnref && errorFree;
    }
};

template <typename Function>
void Resolve(QLibrary& library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(library.resolve(name));
}

const SecretLibrary& Secret() {
    static const SecretLibrary secret = [] {
        SecretLibrary loaded;
        QLibrary library(QStringLiteral("secret-1"), 0); // stays loaded: QLibrary unloads only when asked
        if (!library.load()) return loaded;
        Resolve(library, "secret_service_get_sync", loaded.serviceGet);
        Resolve(library, "secret_password_lookup_sync", loaded.lookup);
        Resolve(library, "secret_password_free", loaded.passwordFree);
        Resolve(library, "secret_password_clear_sync", loaded.clear);
        Resolve(library, "secret_password_store_sync", loaded.store);
        Resolve(library, "g_object_unref", loaded.objectUnref); // GObject and GLib come with it
        Resolve(library, "g_error_free", loaded.errorFree);
        return loaded;
    }();
    return secret;
}

// libsecret talks to the secret service over the session bus; without one it would try to start a bus
// of its own for the X display, which is no place for a password.
bool HasSessionBus() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS") ||
           (!runtime.isEmpty() && QFile::exists(runtime + QStringLiteral("/bus")));
}

// True when the secret service answers on the session bus.
bool SecretServiceAvailable() {
    if (!HasSessionBus() || !Secret().Loaded()) return false;
    GError* error = nullptr;
    SecretService* service = Secret().serviceGet(SECRET_SERVICE_OPEN_SESSION, nullptr, &error);
    if (error) Secret().errorFree(error);
    if (!service) return false;
    Secret().objectUnref(service);
    return true;
}

bool WritePasswordFile(const QString& password) {
    QFile file(PasswordFilePath());
    // Made unreadable for others before the password goes in.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    return file.write(password.toUtf8()) >= 0 && file.flush();
}

// QSettings reads "a,b" as a list; an address or a name may hold commas.
QString Text(const QSettings& file, const QString& key) {
    const QVariant value = file.value(key);
    return (value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(','))
                                                     : value.toString())
        .trimmed();
}

} // namespace

QString SyncSettingsPath() {
    return DataPath(QStringLiteral("Data\\Sync.ini"));
}

SyncSettings ReadSyncSettings() {
    const QSettings file(SyncSettingsPath(), QSettings::IniFormat);
    SyncSettings settings;
    settings.url = Text(file, QStringLiteral("url"));
    settings.user = Text(file, QStringLiteral("user"));
    settings.enabled = file.value(QStringLiteral("enabled"), false).toBool();
    settings.intervalSeconds =
        std::max(kShortestInterval, file.value(QStringLiteral("interval"), 300).toInt());
    return settings;
}

bool WriteSyncSettings(const SyncSettings& settings) {
    QSettings file(SyncSettingsPath(), QSettings::IniFormat);
    file.setValue(QStringLiteral("url"), settings.url);
    file.setValue(QStringLiteral("user"), settings.user);
    file.setValue(QStringLiteral("enabled"), settings.enabled);
    file.setValue(QStringLiteral("interval"), settings.intervalSeconds);
    file.sync();
    return file.status() == QSettings::NoError;
}

std::optional<QUrl> CollectionUrl(const SyncSettings& settings) {
    const QUrl url(settings.url, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
        return std::nullopt;
    return url;
}

bool SyncConfigured(const SyncSettings& settings) {
    return settings.enabled && CollectionUrl(settings).has_value();
}

PasswordPlace WherePasswordsGo() {
    return SecretServiceAvailable() ? PasswordPlace::SecretService : PasswordPlace::File;
}

QString ReadSyncPassword(const SyncSettings& settings) {
    QFile file(PasswordFilePath());
    if (file.open(QIODevice::ReadOnly)) return QString::fromUtf8(file.readAll());
    if (!SecretServiceAvailable()) return {};
    const QByteArray url = settings.url.toUtf8(), user = settings.user.toUtf8();
    gchar* password = Secret().lookup(PasswordSchema(), nullptr, nullptr, "url", url.constData(), "user",
                                      user.constData(), nullptr);
    const QString result = password ? QString::fromUtf8(password) : QString();
    if (password) Secret().passwordFree(password);
    return result;
}

std::optional<PasswordPlace> StoreSyncPassword(const SyncSettings& settings, const QString& password) {
    const QByteArray url = settings.url.toUtf8(), user = settings.user.toUtf8();
    if (WherePasswordsGo() == PasswordPlace::File) {
        if (password.isEmpty()) return QFile::remove(PasswordFilePath()) || !QFile::exists(PasswordFilePath())
                                           ? std::optional(PasswordPlace::File)
                                           : std::nullopt;
        return WritePasswordFile(password) ? std::optional(PasswordPlace::File) : std::nullopt;
    }
    QFile::remove(PasswordFilePath()); // the secret store holds it now; no copy stays in a file
    gboolean stored = password.isEmpty()
                          ? Secret().clear(PasswordSchema(), nullptr, nullptr, "url", url.constData(), "user",
                                           user.constData(), nullptr) || true
                          : Secret().store(PasswordSchema(), SECRET_COLLECTION_DEFAULT,
                                           "Quenda桌面日历 同步密码", password.toUtf8().constData(), nullptr,
                                           nullptr, "url", url.constData(), "user", user.constData(), nullptr);
    return stored ? std::optional(PasswordPlace::SecretService) : std::nullopt;
}

} // namespace quenda
