// Draws one CmdButton look, or the sheet of all looks, into a PNG file.
#include "ButtonRender.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    // Drawing needs fonts, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const lorvane::ParsedRenderArguments parsed =
        lorvane::parseRenderArguments(app.arguments().mid(1));
    if (parsed.help) {
        std::fputs(qPrintable(lorvane::renderUsage()), stdout);
        return 0;
    }
    if (!parsed.error.isEmpty()) {
        std::fprintf(stderr, "lorvane-button-render: %s\n%s", qPrintable(parsed.error),
                     qPrintable(lorvane::renderUsage()));
        return 2;
    }
    const lorvane::RenderOptions &options = parsed.options;
    int status = 0;
    if (!options.gallery.isEmpty() &&
        !lorvane::renderGallery(options.fontSize).save(options.gallery, "PNG")) {
        std::fprintf(stderr, "lorvane-button-render: cannot write %s\n",
                     qPrintable(options.gallery));
        status = 1;
    }
    if (!options.out.isEmpty() && !lorvane::renderButton(options).save(options.out, "PNG")) {
        std::fprintf(stderr, "lorvane-button-render: cannot write %s\n", qPrintable(options.out));
        status = 1;
    }
    return status;
}
