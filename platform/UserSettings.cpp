#include "UserSettings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace lorvane {

UserSettings::UserSettings(const QString &applicationName) : m_application(applicationName)
{
    if (m_application.isEmpty())
        m_application = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    if (m_application.isEmpty())
        m_application = QStringLiteral("lorvane");
}

QString UserSettings::filePath() const
{
    // Asked each time: the location follows XDG_CONFIG_HOME as it is now.
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config + u'/' + m_application + u'/' + m_application + QStringLiteral(".conf");
}

QString UserSettings::value(const QString &section, const QString &key,
                            const QString &fallback) const
{
    const QSettings settings(filePath(), QSettings::IniFormat);
    return settings.value(section + u'/' + key, fallback).toString();
}

void UserSettings::setValue(const QString &section, const QString &key, const QString &value)
{
    QSettings settings(filePath(), QSettings::IniFormat);
    settings.setValue(section + u'/' + key, value);
    settings.sync();
}

} // namespace lorvane
