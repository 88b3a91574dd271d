// The QImage surface: solid primitives, caption drawing with centring, word
// breaking and mnemonics, text measurement and the inverting focus frame.
#include "ImageSurface.h"

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPalette>

#include <gtest/gtest.h>

#include <optional>

using namespace lorvane;

namespace {

constexpr Colour kWhite = RGB(255, 255, 255);

QImage whiteImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QFont testFont()
{
    QFont font(QStringLiteral("Noto Sans"));
    font.setPixelSize(14);
    return font;
}

// Bounding box of the pixels that are not white.
std::optional<QRect> inkBounds(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (colourAt(image, x, y) != kWhite)
                box |= QRect(x, y, 1, 1);
    if (box.isNull())
        return std::nullopt;
    return box;
}

QImage caption(const QString &text, const Rect &rect, int w = 120, int h = 40)
{
    QImage image = whiteImage(w, h);
    ImageSurface surface(image, testFont());
    surface.setCaptionColour(RGB(0, 0, 0));
    surface.drawCaption(text, rect, rect.width());
    return image;
}

} // namespace

TEST(ImageSurface, PrimitivesPaintExactPixelsAndClipAtTheEdges)
{
    QImage image = whiteImage(6, 4);
    ImageSurface surface(image, testFont());
    surface.fillRect({-2, 1, 3, 10}, RGB(10, 20, 30));
    surface.setPixel(5, 0, RGB(1, 2, 3));
    surface.setPixel(6, 0, RGB(1, 2, 3));
    surface.setPixel(-1, -1, RGB(1, 2, 3));
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) {
            SCOPED_TRACE(::testing::Message() << x << "," << y);
            Colour expected = kWhite;
            if (x < 3 && y >= 1)
                expected = RGB(10, 20, 30);
            if (x == 5 && y == 0)
                expected = RGB(1, 2, 3);
            EXPECT_EQ(colourAt(image, x, y), expected);
        }
    }
}

TEST(ImageSurface, CaptionIsCentredInItsRectangle)
{
    const QImage image = caption(QStringLiteral("iii"), {10, 5, 110, 30});
    const std::optional<QRect> ink = inkBounds(image);
    ASSERT_TRUE(ink);
    const int leftMargin = ink->left() - 10;
    const int rightMargin = 110 - (ink->right() + 1);
    EXPECT_LE(std::abs(leftMargin - rightMargin), 2) << leftMargin << " " << rightMargin;
    EXPECT_GE(ink->top(), 5);
}

TEST(ImageSurface, MnemonicsUnderlineAndDoubledAmpersandsShowOne)
{
    const Rect r{0, 0, 120, 40};
    const QImage plain = caption(QStringLiteral("a"), r);
    const QImage marked = caption(QStringLiteral("&a"), r);
    ASSERT_NE(plain, marked);
    // The underline adds ink below the letter only.
    const QRect plainInk = *inkBounds(plain);
    const QRect markedInk = *inkBounds(marked);
    EXPECT_GT(markedInk.bottom(), plainInk.bottom());
    for (int y = 0; y <= plainInk.bottom(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            ASSERT_EQ(plain.pixel(x, y), marked.pixel(x, y)) << x << "," << y;

    QImage literal = whiteImage(120, 40);
    {
        QPainter painter(&literal);
        painter.setFont(testFont());
        painter.setPen(Qt::black);
        painter.drawText(QRect(0, 0, 120, 40), Qt::AlignHCenter | Qt::AlignTop,
                         QStringLiteral("x&y"));
    }
    EXPECT_EQ(caption(QStringLiteral("x&&y"), r), literal);
}

TEST(ImageSurface, MeasurementBreaksBetweenWordsAndIgnoresMnemonics)
{
    QImage image = whiteImage(10, 10);
    const ImageSurface surface(image, testFont());
    const Size oneLine = surface.measureCaption(QStringLiteral("word word"), 1000);
    const Size broken = surface.measureCaption(QStringLiteral("word word"), oneLine.width - 1);
    EXPECT_GT(oneLine.height, 0);
    EXPECT_EQ(broken.height, 2 * oneLine.height);
    EXPECT_LT(broken.width, oneLine.width);
    // A single word wider than the width is not broken.
    EXPECT_EQ(surface.measureCaption(QStringLiteral("word"), 3).height, oneLine.height);
    EXPECT_EQ(surface.measureCaption(QStringLiteral("&word"), 1000),
              surface.measureCaption(QStringLiteral("word"), 1000));
    EXPECT_EQ(surface.measureCaption(QString(), 1000), (Size{0, 0}));

    // Unbroken measurement counts "&" and breaks only at line breaks.
    const SizeF plain = surface.measurePlainText(QStringLiteral("word"));
    EXPECT_GT(surface.measurePlainText(QStringLiteral("&word")).width, plain.width);
    EXPECT_NEAR(surface.measurePlainText(QStringLiteral("word\nword")).height, 2 * plain.height,
                2.0);
}

TEST(ImageSurface, CaptionsAreNotClipped)
{
    // Drawn into a rectangle far too small, the text still shows around it.
    const QImage image = caption(QStringLiteral("wide caption"), {50, 10, 60, 12});
    const QRect ink = *inkBounds(image);
    EXPECT_LT(ink.left(), 45);
    EXPECT_GT(ink.right(), 65);
    EXPECT_GT(ink.bottom(), 14);
}

TEST(ImageSurface, FocusRectInvertsEveryOtherFramePixel)
{
    QImage image = whiteImage(20, 12);
    ImageSurface surface(image, testFont());
    surface.fillRect({0, 0, 20, 12}, RGB(200, 100, 50));
    const Rect r{4, 4, 16, 8};
    surface.drawFocusRect(r);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 20; ++x) {
            SCOPED_TRACE(::testing::Message() << x << "," << y);
            const bool onFrame =
                x >= 4 && x < 16 && y >= 4 && y < 8 && (x == 4 || x == 15 || y == 4 || y == 7);
            const bool dot = onFrame && (x + y) % 2 == 0;
            EXPECT_EQ(colourAt(image, x, y), dot ? RGB(55, 155, 205) : RGB(200, 100, 50));
        }
    }
    surface.drawFocusRect(r);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(colourAt(image, x, y), RGB(200, 100, 50));
    surface.drawFocusRect({10, 10, 10, 20}); // empty: nothing
    EXPECT_EQ(colourAt(image, 10, 10), RGB(200, 100, 50));
}

TEST(SystemColours, ComeFromThePaletteWithALightThatIsNotDarkerThanTheFace)
{
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(200, 200, 200));
    palette.setColor(QPalette::Light, QColor(250, 250, 250));
    palette.setColor(QPalette::Midlight, QColor(220, 221, 222));
    palette.setColor(QPalette::Dark, QColor(100, 100, 100));
    palette.setColor(QPalette::Shadow, QColor(20, 20, 20));
    palette.setColor(QPalette::ButtonText, QColor(1, 2, 3));
    SystemColours s = systemColoursFrom(palette);
    EXPECT_EQ(s.buttonFace, RGB(200, 200, 200));
    EXPECT_EQ(s.buttonHighlight, RGB(250, 250, 250));
    EXPECT_EQ(s.light3D, RGB(220, 221, 222));
    EXPECT_EQ(s.buttonShadow, RGB(100, 100, 100));
    EXPECT_EQ(s.darkShadow3D, RGB(20, 20, 20));
    EXPECT_EQ(s.buttonText, RGB(1, 2, 3));

    palette.setColor(QPalette::Midlight, QColor(150, 150, 150));
    s = systemColoursFrom(palette);
    EXPECT_EQ(s.light3D, RGB(225, 225, 225));
}

TEST(ImageSurface, AWrappedCaptionIsDrawnInTheLinesItWasMeasuredIn)
{
    // Every width from one word per line to one line: the drawn text must stay
    // inside the measured caption rectangle, so no extra line is drawn.
    const QString text = QStringLiteral("Undo the last renaming");
    for (double points : {7.5, 8.25, 9.0, 10.0, 12.0}) {
        QFont font = QApplication::font();
        font.setPointSizeF(points);
        QImage probe = whiteImage(1, 1);
        const int oneLine = ImageSurface(probe, font).measureCaption(text, 1000).width;
        for (int w = oneLine / 3; w <= oneLine + 4; ++w) {
            SCOPED_TRACE(::testing::Message() << points << "pt, " << w << " pixels");
            QImage image = whiteImage(w, 120);
            ImageSurface surface(image, font);
            ButtonLook look;
            look.caption = text;
            LayoutButton(look, surface, w, 120);
            surface.setCaptionColour(RGB(0, 0, 0));
            surface.drawCaption(look.caption, look.captionRect, look.captionBreakWidth);
            const std::optional<QRect> ink = inkBounds(image);
            ASSERT_TRUE(ink);
            EXPECT_GE(ink->top(), look.captionRect.top);
            ASSERT_LT(ink->bottom(), look.captionRect.bottom);
        }
    }
}

TEST(ImageSurface, AtTwiceTheResolutionEveryButtonPixelIsABlockOfFour)
{
    // Drawn at 1x and 2x, each look is the same picture pixel for pixel apart
    // from the caption's glyphs, which the finer image renders more sharply.
    for (int type = 1; type <= 8; ++type) {
        for (int variant = 0; variant < 3; ++variant) {
            SCOPED_TRACE(::testing::Message() << "type " << type << " variant " << variant);
            auto draw = [&](qreal ratio, ButtonLook &look) {
                QImage image(int(53 * ratio), int(27 * ratio), QImage::Format_RGB32);
                image.setDevicePixelRatio(ratio);
                ImageSurface surface(image, testFont());
                look.buttonType = type;
                look.caption = QStringLiteral("&Go");
                look.hasFocus = true;
                look.enabled = variant != 2;
                look.palette = ComputePalette({});
                look.palette.face = RGB(212, 208, 200);
                look.palette.shadow = RGB(128, 128, 128);
                look.palette.highlight = RGB(255, 255, 255);
                look.palette.light = RGB(223, 223, 223);
                LayoutButton(look, surface, 53, 27);
                DrawnMemory memory;
                Redraw(surface, look, memory, variant == 1 ? StateDown : StateUp, true);
                return image;
            };
            ButtonLook look1;
            ButtonLook look2;
            const QImage one = draw(1, look1);
            const QImage two = draw(2, look2);
            ASSERT_EQ(two.size(), QSize(106, 54));
            const QRect text = QRect(look1.captionRect.left, look1.captionRect.top,
                                     look1.captionRect.width() + 1, look1.captionRect.height() + 1)
                                   .adjusted(-2, -2, 2, 2);
            for (int y = 0; y < 27; ++y) {
                for (int x = 0; x < 53; ++x) {
                    if (text.contains(x, y))
                        continue;
                    const Colour c = colourAt(one, x, y);
                    ASSERT_EQ(colourAt(two, 2 * x, 2 * y), c) << x << "," << y;
                    ASSERT_EQ(colourAt(two, 2 * x + 1, 2 * y), c) << x << "," << y;
                    ASSERT_EQ(colourAt(two, 2 * x, 2 * y + 1), c) << x << "," << y;
                    ASSERT_EQ(colourAt(two, 2 * x + 1, 2 * y + 1), c) << x << "," << y;
                }
            }
        }
    }
}
