#include "OurSettings.h"

#include "ProgramFolder.h"

#include <QFile>
#include <QSettings>

namespace quenda {

QString OurSettingsPath() {
    return DataPath(QStringLiteral("Data\\Settings.ini"));
}

QVariant ReadOurSetting(const QString& key, const QVariant& fallback) {
    const QSettings settings(OurSettingsPath(), QSettings::IniFormat);
    return settings.value(key, fallback);
}

bool WriteOurSetting(const QString& key, const QVariant& value) {
    {
        // QSettings never writes over a file it could not parse; what it held cannot be read anyway.
        QSettings damaged(OurSettingsPath(), QSettings::IniFormat);
        damaged.allKeys();
        if (damaged.status() == QSettings::FormatError) QFile::remove(OurSettingsPath());
    }
    QSettings settings(OurSettingsPath(), QSettings::IniFormat);
    settings.setValue(key, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace quenda
