#include "UserSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lorvane;

TEST(UserSettings, LivesInTheXdgConfigFolderAndPersists)
{
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));

    UserSettings settings(QStringLiteral("lorvane"));
    EXPECT_EQ(settings.filePath(), config.path() + "/lorvane/lorvane.conf");
    EXPECT_EQ(settings.value("Lorvane", "Quary", "Y"), "Y");
    settings.setValue("Lorvane", "Quary", "N");
    EXPECT_TRUE(QFile::exists(settings.filePath()));
    EXPECT_EQ(UserSettings(QStringLiteral("lorvane")).value("Lorvane", "Quary", "Y"), "N");
    EXPECT_EQ(UserSettings(QStringLiteral("other")).value("Lorvane", "Quary", "Y"), "Y");

    QFile f(settings.filePath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.contains("[Lorvane]")) << text.constData();
    EXPECT_TRUE(text.contains("Quary=N")) << text.constData();

    if (old.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", old);
}
