#include "ArabicLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool useArabicLanguage(QCoreApplication &app)
{
    const QLocale arabic(QLocale::Arabic);
    QLocale::setDefault(arabic);
    auto *translator = new QTranslator(&app);
    if (!translator->load(arabic, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}
