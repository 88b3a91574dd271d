// The render tool's arguments and images.
#include "ButtonDrawing.h"
#include "ButtonRender.h"
#include "ImageSurface.h"

#include <QApplication>
#include <QPalette>

#include <gtest/gtest.h>

using namespace lorvane;

TEST(RenderArguments, ReadsEveryOption)
{
    const ParsedRenderArguments parsed = parseRenderArguments(
        {"--type", "3", "--scheme", "2", "--state", "down", "--hover", "--focus", "--size",
         "120x30", "--caption", "خروج", "--font-size", "11.5", "--out", "/tmp/x.png"});
    ASSERT_TRUE(parsed.error.isEmpty()) << parsed.error.toStdString();
    const RenderOptions &o = parsed.options;
    EXPECT_EQ(o.buttonType, 3);
    EXPECT_EQ(o.colorScheme, 2);
    EXPECT_EQ(o.state, RenderOptions::State::Down);
    EXPECT_TRUE(o.hover);
    EXPECT_TRUE(o.focus);
    EXPECT_FALSE(o.isDefault);
    EXPECT_EQ(o.width, 120);
    EXPECT_EQ(o.height, 30);
    EXPECT_EQ(o.caption, QStringLiteral("خروج"));
    EXPECT_DOUBLE_EQ(o.fontSize, 11.5);
    EXPECT_EQ(o.out, QStringLiteral("/tmp/x.png"));
}

TEST(RenderArguments, RefusesWhatItCannotUse)
{
    const QStringList bad[] = {
        {"--out"},
        {"--type", "x", "--out", "a.png"},
        {"--state", "pressed", "--out", "a.png"},
        {"--size", "0x10", "--out", "a.png"},
        {"--size", "10", "--out", "a.png"},
        {"--size", "10x-3", "--out", "a.png"},
        {"--font-size", "0", "--out", "a.png"},
        {"--colour", "3", "--out", "a.png"},
        {"--type", "3"},
    };
    for (const QStringList &args : bad) {
        SCOPED_TRACE(args.join(' ').toStdString());
        EXPECT_FALSE(parseRenderArguments(args).error.isEmpty());
    }
    EXPECT_TRUE(parseRenderArguments({"--help"}).help);
    EXPECT_TRUE(parseRenderArguments({"--gallery", "g.png"}).error.isEmpty());
}

TEST(RenderButton, RemovedPixelsAreTransparentAndTheRestIsTheLook)
{
    RenderOptions o;
    o.buttonType = 3;
    o.colorScheme = 3;
    o.width = 40;
    o.height = 20;
    o.caption = QString();
    const QImage image = renderButton(o);
    ASSERT_EQ(image.size(), QSize(40, 20));
    for (const Point &p : BuildShapeRegion(3, 40, 20))
        EXPECT_EQ(qAlpha(image.pixel(p.x, p.y)), 0) << p.x << "," << p.y;
    EXPECT_EQ(qAlpha(image.pixel(2, 0)), 255);
    EXPECT_EQ(colourAt(image, 2, 0), RGB(0, 60, 115));
    EXPECT_EQ(colourAt(image, 1, 1), RGB(16, 77, 123));
    const Colour base = ShadeColor(RGB(192, 192, 192), 48, true);
    // Row 10 of 20: 25 / 20 * 10 = 12.5, which rounds to the even 12.
    EXPECT_EQ(colourAt(image, 20, 10), ShadeColor(base, -12, true));
}

TEST(RenderButton, DisabledAndSchemesFollowTheOptions)
{
    RenderOptions o;
    o.buttonType = 8;
    o.colorScheme = 3;
    o.caption = QString();
    EXPECT_EQ(colourAt(renderButton(o), 0, 0), RGB(192, 192, 192));
    o.hover = true;
    EXPECT_EQ(colourAt(renderButton(o), 0, 0), RGB(255, 255, 255));
    o.state = RenderOptions::State::Disabled;
    EXPECT_EQ(colourAt(renderButton(o), 0, 0), RGB(128, 128, 128));
    o.colorScheme = 1;
    const QColor shadow = QApplication::palette().color(QPalette::Dark);
    EXPECT_EQ(colourAt(renderButton(o), 0, 0), fromQColor(shadow));
}

TEST(RenderGallery, HoldsEveryLookOfBothSchemes)
{
    const QImage sheet = renderGallery();
    // Seven states of eight types, twice, at 104 x 30 pixels each.
    EXPECT_GT(sheet.width(), 7 * 104);
    EXPECT_GT(sheet.height(), 2 * 8 * 30);
    EXPECT_FALSE(sheet.isNull());
}
