#include "ArabicLanguage.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMimeDatabase>
#include <QProxyStyle>
#include <QTranslator>

namespace {

// Qt's Arabic texts mark one letter of many captions as the keyboard shortcut
// ("&نعم"). Drawn underlined, that letter is shaped apart from its neighbours
// and the joined word falls apart; the shortcuts work without the underline.
// Beside an icon, a dialog button's text is laid out the left-to-right way
// round and lands on the button's left border in a right-to-left window; the
// buttons' words say enough without the icons.
class WholeArabicWordsStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_UnderlineShortcut || hint == SH_DialogButtonBox_ButtonsHaveIcons)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// The few texts Qt's Arabic translations lack: the type the file dialogs
// show for folders, links and drives, taken from the MIME database's Arabic
// names as every other type there is.
class FileTypeTexts : public QTranslator
{
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return QString();
        static const struct
        {
            const char *text;
            const char *mimeType;
        } types[] = {{"Folder", "inode/directory"},
                     {"Shortcut", "inode/symlink"},
                     {"Drive", "inode/mount-point"}};
        for (const auto &type : types) {
            if (qstrcmp(sourceText, type.text) == 0)
                return QMimeDatabase().mimeTypeForName(QLatin1String(type.mimeType)).comment();
        }
        return QString();
    }
};

} // namespace

bool useArabicLanguage(QCoreApplication &app)
{
    const QLocale arabic(QLocale::Arabic);
    QLocale::setDefault(arabic);
    if (qobject_cast<QApplication *>(&app))
        QApplication::setStyle(new WholeArabicWordsStyle(QApplication::style()));
    auto *translator = new QTranslator(&app);
    if (!translator->load(arabic, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    QCoreApplication::installTranslator(new FileTypeTexts(&app));
    return true;
}
