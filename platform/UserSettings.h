#pragma once

#include <QString>

// The program's per-user settings, addressed by section and key, kept in an
// INI file in the user's XDG config folder (XDG_CONFIG_HOME, else ~/.config):
// <config>/<application>/<application>.conf. The file is read and written on
// every call, so several windows or runs always see the latest value.
namespace lorvane {

class UserSettings
{
public:
    // An empty application name stands for the running program's own name
    // (its executable's file name without extension).
    explicit UserSettings(const QString &applicationName = {});

    [[nodiscard]] QString value(const QString &section, const QString &key,
                                const QString &fallback) const;
    void setValue(const QString &section, const QString &key, const QString &value);
    [[nodiscard]] QString filePath() const;

private:
    QString m_application;
};

} // namespace lorvane
