#include "ButtonRender.h"

#include "ButtonDrawing.h"
#include "ImageSurface.h"

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QPalette>
#include <QRegularExpression>

namespace lorvane {

namespace {

constexpr int maxSide = 10000;

QFont renderFont(double fontSize)
{
    QFont font = QApplication::font();
    if (fontSize > 0)
        font.setPointSizeF(fontSize);
    return font;
}

bool parseInt(const QString &text, int *value)
{
    bool ok = false;
    *value = text.toInt(&ok);
    return ok;
}

} // namespace

ParsedRenderArguments parseRenderArguments(const QStringList &arguments)
{
    ParsedRenderArguments result;
    RenderOptions &o = result.options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        auto fail = [&](const QString &why) {
            result.error = why;
            return result;
        };
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            result.help = true;
            return result;
        }
        if (arg == QLatin1String("--hover")) {
            o.hover = true;
            continue;
        }
        if (arg == QLatin1String("--focus")) {
            o.focus = true;
            continue;
        }
        if (arg == QLatin1String("--default")) {
            o.isDefault = true;
            continue;
        }
        static const QStringList withValue{"--type",    "--scheme",    "--state", "--size",
                                           "--caption", "--font-size", "--out",   "--gallery"};
        if (!withValue.contains(arg))
            return fail(QStringLiteral("unknown argument %1").arg(arg));
        if (i + 1 >= arguments.size())
            return fail(QStringLiteral("%1 needs a value").arg(arg));
        const QString value = arguments.at(++i);
        if (arg == QLatin1String("--type")) {
            if (!parseInt(value, &o.buttonType))
                return fail(QStringLiteral("--type needs a whole number, not %1").arg(value));
        } else if (arg == QLatin1String("--scheme")) {
            if (!parseInt(value, &o.colorScheme))
                return fail(QStringLiteral("--scheme needs a whole number, not %1").arg(value));
        } else if (arg == QLatin1String("--state")) {
            if (value == QLatin1String("up"))
                o.state = RenderOptions::State::Up;
            else if (value == QLatin1String("down"))
                o.state = RenderOptions::State::Down;
            else if (value == QLatin1String("disabled"))
                o.state = RenderOptions::State::Disabled;
            else
                return fail(QStringLiteral("--state is up, down or disabled, not %1").arg(value));
        } else if (arg == QLatin1String("--size")) {
            static const QRegularExpression form(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
            const QRegularExpressionMatch m = form.match(value);
            o.width = m.hasMatch() ? m.captured(1).toInt() : 0;
            o.height = m.hasMatch() ? m.captured(2).toInt() : 0;
            if (o.width < 1 || o.height < 1 || o.width > maxSide || o.height > maxSide)
                return fail(
                    QStringLiteral("--size is WxH, each 1 to %1, not %2").arg(maxSide).arg(value));
        } else if (arg == QLatin1String("--caption")) {
            o.caption = value;
        } else if (arg == QLatin1String("--font-size")) {
            bool ok = false;
            o.fontSize = value.toDouble(&ok);
            if (!ok || o.fontSize <= 0 || o.fontSize > 500)
                return fail(QStringLiteral("--font-size needs points above 0, not %1").arg(value));
        } else if (arg == QLatin1String("--out")) {
            o.out = value;
        } else {
            o.gallery = value;
        }
    }
    if (o.out.isEmpty() && o.gallery.isEmpty())
        result.error = QStringLiteral("give --out FILE.png or --gallery FILE.png");
    return result;
}

QString renderUsage()
{
    return QStringLiteral(
        "usage: lorvane-button-render --type N --scheme N --state up|down|disabled [--hover]\n"
        "           [--focus] [--default] --size WxH --caption TEXT [--font-size PT]\n"
        "           --out FILE.png\n"
        "       lorvane-button-render --gallery FILE.png [--font-size PT]\n"
        "Draws one button (or the sheet of all looks) to a PNG. Pixels outside the\n"
        "button's shape are transparent.\n");
}

QImage renderButton(const RenderOptions &o)
{
    QImage image(o.width, o.height, QImage::Format_ARGB32);
    const QFont font = renderFont(o.fontSize);
    ImageSurface surface(image, font);

    const QPalette palette = QApplication::palette();
    ColourSources sources;
    sources.colorScheme = o.colorScheme;
    sources.system = systemColoursFrom(palette);
    // A new button's colours: the system face and text, hover text black.
    sources.backColor = sources.system.buttonFace;
    sources.foreColor = sources.system.buttonText;
    sources.foreOver = 0;
    sources.hostBackground = fromQColor(palette.color(QPalette::Window));
    sources.hostText = fromQColor(palette.color(QPalette::WindowText));

    ButtonLook look;
    look.buttonType = o.buttonType;
    look.caption = o.caption;
    look.enabled = o.state != RenderOptions::State::Disabled;
    look.isMouseOver = o.hover;
    look.hasFocus = o.focus;
    look.isDefault = o.isDefault;
    look.palette = ComputePalette(sources);
    LayoutButton(look, surface, o.width, o.height);

    DrawnMemory memory;
    Redraw(surface, look, memory, o.state == RenderOptions::State::Down ? StateDown : StateUp,
           true);
    for (const Point &p : BuildShapeRegion(o.buttonType, o.width, o.height)) {
        if (image.rect().contains(p.x, p.y))
            image.setPixel(p.x, p.y, qRgba(0, 0, 0, 0));
    }
    return image;
}

QImage renderGallery(double fontSize)
{
    struct Column
    {
        const char *label;
        RenderOptions::State state;
        bool hover;
        bool focus;
        bool isDefault;
    };
    const Column columns[] = {
        {"up", RenderOptions::State::Up, false, false, false},
        {"hover", RenderOptions::State::Up, true, false, false},
        {"focus", RenderOptions::State::Up, false, true, false},
        {"default+focus", RenderOptions::State::Up, false, true, true},
        {"down", RenderOptions::State::Down, false, false, false},
        {"down+focus", RenderOptions::State::Down, false, true, false},
        {"disabled", RenderOptions::State::Disabled, false, false, false},
    };
    constexpr int columnCount = int(std::size(columns));
    const int schemes[] = {1, 3};
    constexpr int buttonW = 104;
    constexpr int buttonH = 30;
    constexpr int gap = 12;
    constexpr int labelW = 60;
    constexpr int headerH = 24;
    const int panelW = labelW + columnCount * (buttonW + gap);
    const int panelH = headerH * 2 + 8 * (buttonH + gap);

    QImage sheet(gap + panelW, gap + 2 * panelH, QImage::Format_ARGB32);
    sheet.fill(QColor(236, 244, 255));
    QPainter painter(&sheet);
    QFont labelFont = renderFont(0);
    painter.setFont(labelFont);
    painter.setPen(Qt::black);

    for (int s = 0; s < 2; ++s) {
        const int top = gap + s * panelH;
        painter.drawText(QRect(gap, top, panelW, headerH), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("ColorScheme %1").arg(schemes[s]));
        for (int c = 0; c < columnCount; ++c)
            painter.drawText(
                QRect(gap + labelW + c * (buttonW + gap), top + headerH, buttonW, headerH),
                Qt::AlignCenter, QString::fromLatin1(columns[c].label));
        for (int type = 1; type <= 8; ++type) {
            const int y = top + 2 * headerH + (type - 1) * (buttonH + gap);
            painter.drawText(QRect(gap, y, labelW, buttonH), Qt::AlignLeft | Qt::AlignVCenter,
                             QStringLiteral("type %1").arg(type));
            for (int c = 0; c < columnCount; ++c) {
                RenderOptions o;
                o.buttonType = type;
                o.colorScheme = schemes[s];
                o.state = columns[c].state;
                o.hover = columns[c].hover;
                o.focus = columns[c].focus;
                o.isDefault = columns[c].isDefault;
                o.width = buttonW;
                o.height = buttonH;
                o.fontSize = fontSize;
                // Latin captions with an access key on the first sheet, Arabic on the second.
                o.caption = s == 0 ? QStringLiteral("&Button %1").arg(type)
                                   : QStringLiteral("زر &%1").arg(type);
                painter.drawImage(gap + labelW + c * (buttonW + gap), y, renderButton(o));
            }
        }
    }
    return sheet;
}

} // namespace lorvane
