// Drawing single buttons and the sheet of all looks into images, for the
// lorvane-button-render tool: the same palette, layout and Redraw that CmdButton
// uses, without a widget. Needs a QApplication (fonts and the system colours).
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace lorvane {

struct RenderOptions
{
    enum class State { Up, Down, Disabled };

    int buttonType = 2;
    int colorScheme = 1;
    State state = State::Up;
    bool hover = false;
    bool focus = false;
    bool isDefault = false;
    int width = 81;
    int height = 25;
    QString caption = QStringLiteral("CmdButton1");
    double fontSize = 0; // 0: the application font's size
    QString out;
    QString gallery;
};

struct ParsedRenderArguments
{
    RenderOptions options;
    QString error; // empty when the arguments were understood
    bool help = false;
};

// Parses the tool's arguments (without the program name).
[[nodiscard]] ParsedRenderArguments parseRenderArguments(const QStringList &arguments);

QString renderUsage();

// One button exactly as Redraw paints it; the pixels its shape removes are
// fully transparent.
QImage renderButton(const RenderOptions &options);

// All eight types in every state (up, hover, focus, default, down, disabled)
// for colour schemes 1 and 3, with labels, on one sheet.
QImage renderGallery(double fontSize = 0);

} // namespace lorvane
