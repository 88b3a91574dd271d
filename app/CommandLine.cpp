#include "CommandLine.h"

#include "FileNameCodec.h"
#include "ShownName.h"

#include <QCommandLineParser>
#include <QDir>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Every text of the command line in its two languages.
struct Texts
{
    const char *help;
    const char *helpOption;
    const char *versionOption;
    const char *unknownOption;
    const char *missingValue;
    const char *tooMany;
    const char *notAFolder;
    const char *tryHelp;
};

constexpr Texts english{
    "Usage: lorvane [OPTION] [FOLDER]\n"
    "Renames the files of a folder at once, with a live preview of the new names\n"
    "and one level of undo. Starts on FOLDER, or on the program's own folder.\n"
    "\n"
    "Options:\n",
    "show this help and exit",
    "show the version and exit",
    "lorvane: unknown option '%1'",
    "lorvane: option '%1' needs a value",
    "lorvane: only one folder can be given",
    "lorvane: '%1' is not a folder",
    "Try 'lorvane --help' for more information.",
};

constexpr Texts arabic{
    "الاستخدام: lorvane [خيار] [مجلد]\n"
    "يعيد تسمية ملفات مجلد دفعة واحدة، مع معاينة فورية للأسماء الجديدة\n"
    "وإمكانية التراجع عن آخر تغيير. يبدأ على المجلد المعطى، أو على مجلد البرنامج.\n"
    "\n"
    "الخيارات:\n",
    "اعرض هذه المساعدة واخرج",
    "اعرض رقم الإصدار واخرج",
    "lorvane: خيار غير معروف '%1'",
    "lorvane: الخيار '%1' يحتاج إلى قيمة",
    "lorvane: يمكن إعطاء مجلد واحد فقط",
    "lorvane: '%1' ليس مجلدا",
    "اكتب 'lorvane --help' لمزيد من المعلومات.",
};

QString tr(const char *text)
{
    return QString::fromUtf8(text);
}

// Options that QGuiApplication and QApplication take for themselves; they
// stay on the command line for the application object.
constexpr const char *qtValueOptions[] = {
    "platform",    "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "style",  "stylesheet",
    "display",     "geometry",           "title",         "name",   "qmljsdebugger",
};
constexpr const char *qtFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

QByteArray currentFolder()
{
    QByteArray buffer(4096, '\0');
    while (!::getcwd(buffer.data(), size_t(buffer.size()))) {
        if (errno != ERANGE)
            return {};
        buffer.resize(buffer.size() * 2);
    }
    return QByteArray(buffer.constData());
}

bool isFolder(const QString &path)
{
    struct stat info;
    return ::stat(lorvane::encodeFileName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

CommandLine::CommandLine(Action action, QString folder, QString text)
    : m_action(action), m_folder(std::move(folder)), m_text(std::move(text))
{}

CommandLine CommandLine::parse(const QList<QByteArray> &arguments, QByteArrayView workingFolder,
                               const QLocale &locale)
{
    const Texts &texts = locale.language() == QLocale::Arabic ? arabic : english;
    const auto fail = [&](const QString &message) {
        return CommandLine(Action::Fail, {},
                           message + QLatin1Char('\n') + tr(texts.tryHelp) + QLatin1Char('\n'));
    };

    QCommandLineParser parser;
    // Qt's options are written with one dash (-platform offscreen); short
    // options of ours are single letters anyway.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  tr(texts.helpOption));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     tr(texts.versionOption));
    parser.addOption(help);
    parser.addOption(version);
    for (const char *name : qtValueOptions)
        parser.addOption(QCommandLineOption(QLatin1String(name), {}, QStringLiteral("value")));
    for (const char *name : qtFlagOptions)
        parser.addOption(QCommandLineOption(QLatin1String(name)));

    QStringList decoded;
    for (const QByteArray &argument : arguments)
        decoded.append(lorvane::decodeFileName(argument));
    if (!parser.parse(decoded)) {
        if (!parser.unknownOptionNames().isEmpty()) {
            const QString name = parser.unknownOptionNames().constFirst();
            const QString dashes = name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--");
            return fail(tr(texts.unknownOption).arg(lorvane::shownName(dashes + name)));
        }
        // The only other failure is an option given without its value.
        const QString option = decoded.constLast();
        return fail(tr(texts.missingValue).arg(lorvane::shownName(option)));
    }

    if (parser.isSet(help)) {
        QString text = tr(texts.help);
        text += QStringLiteral("  -h, --help     ") + tr(texts.helpOption) + QLatin1Char('\n');
        text += QStringLiteral("  -v, --version  ") + tr(texts.versionOption) + QLatin1Char('\n');
        return CommandLine(Action::ShowHelp, {}, text);
    }
    if (parser.isSet(version))
        return CommandLine(Action::ShowVersion, {},
                           QStringLiteral("lorvane " LORVANE_VERSION "\n"));

    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return fail(tr(texts.tooMany));
    if (positional.isEmpty())
        return CommandLine(Action::Run, {}, {});

    const QString given = positional.constFirst();
    QString folder = given;
    // Without a working folder (it was removed) a relative name names nothing.
    if (!folder.startsWith(QLatin1Char('/')) && !workingFolder.isEmpty())
        folder = lorvane::decodeFileName(workingFolder) + QLatin1Char('/') + folder;
    folder = QDir::cleanPath(folder);
    if (given.isEmpty() || !folder.startsWith(QLatin1Char('/')) || !isFolder(folder))
        return fail(tr(texts.notAFolder).arg(lorvane::shownName(given)));
    return CommandLine(Action::Run, folder, {});
}

CommandLine CommandLine::parse(int argc, char **argv)
{
    QList<QByteArray> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    return parse(arguments, currentFolder());
}

int CommandLine::report() const
{
    std::FILE *stream = m_action == Action::Fail ? stderr : stdout;
    std::fputs(m_text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
    return exitStatus();
}
