// CmdButton on a real widget: properties and their saved-value marks, the
// window shape, and the mouse, keyboard, focus, access-key and hover sequences.
#include "CmdButton.h"
#include "ImageSurface.h"
#include "PropertyBag.h"
#include "QtPrinters.h"
#include "WaitFor.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

using namespace lorvane;

namespace {

// Records the button's events in order, each with the look shown when it was raised.
class EventLog
{
public:
    explicit EventLog(CmdButton *button) : m_button(button)
    {
        auto mouse = [this](const char *name) {
            return [this, name](int b, int s, float x, float y) {
                add(QStringLiteral("%1(%2,%3,%4,%5)").arg(name).arg(b).arg(s).arg(x).arg(y));
            };
        };
        QObject::connect(button, &CmdButton::Click, [this] { add("Click"); });
        QObject::connect(button, &CmdButton::MouseDown, mouse("MouseDown"));
        QObject::connect(button, &CmdButton::MouseUp, mouse("MouseUp"));
        QObject::connect(button, &CmdButton::MouseMove,
                         [this](int b, int, float, float) { m_moves << b; });
        QObject::connect(button, &CmdButton::KeyDown, [this](int k, int s) {
            add(QStringLiteral("KeyDown(%1,%2)").arg(k).arg(s));
        });
        QObject::connect(button, &CmdButton::KeyUp, [this](int k, int s) {
            add(QStringLiteral("KeyUp(%1,%2)").arg(k).arg(s));
        });
        QObject::connect(button, &CmdButton::KeyPress,
                         [this](int a) { add(QStringLiteral("KeyPress(%1)").arg(a)); });
        QObject::connect(button, &CmdButton::MouseOver, [this] { add("MouseOver"); });
        QObject::connect(button, &CmdButton::MouseOut, [this] { add("MouseOut"); });
    }

    // "Event@up" or "Event@down": the look on the button when the event was raised.
    QStringList take()
    {
        QStringList out = m_events;
        m_events.clear();
        return out;
    }
    QList<int> moves() const { return m_moves; }

private:
    void add(const QString &name)
    {
        m_events << name + (m_button->drawnState() == StateDown ? QStringLiteral("@down")
                                                                : QStringLiteral("@up"));
    }
    CmdButton *m_button;
    QStringList m_events;
    QList<int> m_moves;
};

class CmdButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host = std::make_unique<QWidget>();
        host->resize(320, 80);
        for (int i = 0; i < 3; ++i) {
            auto *b = new CmdButton(host.get());
            b->setObjectName(QStringLiteral("b%1").arg(i));
            b->InitProperties(QStringLiteral("CmdButton%1").arg(i + 1));
            b->setGeometry(10 + i * 100, 10, 80, 25);
            buttons.push_back(b);
        }
        button = buttons[1];
        button->setCaption(QStringLiteral("&Save"));
        QCursor::setPos(host->mapToGlobal(QPoint(5, 70)));
        host->show();
        QApplication::setActiveWindow(host.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
        log = std::make_unique<EventLog>(button);
    }
    void TearDown() override
    {
        log.reset();
        host.reset();
    }

    // Moves the pointer for real (the hover timer reads it) and tells the window.
    void pointTo(QWidget *w, QPoint at, Qt::MouseButtons held = Qt::NoButton)
    {
        QCursor::setPos(w->mapToGlobal(at));
        QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(w->mapToGlobal(at)), Qt::NoButton,
                         held, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    }
    void key(QEvent::Type type, Qt::Key k, const QString &text = {}, bool repeat = false,
             Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QKeyEvent event(type, k, mods, text, repeat);
        QApplication::sendEvent(button, &event);
    }

    std::unique_ptr<QWidget> host;
    std::vector<CmdButton *> buttons;
    CmdButton *button = nullptr;
    std::unique_ptr<EventLog> log;
};

} // namespace

TEST_F(CmdButtonTest, NewInstanceDefaults)
{
    const CmdButton *fresh = buttons[0];
    EXPECT_EQ(fresh->caption(), QStringLiteral("CmdButton1"));
    EXPECT_EQ(fresh->buttonType(), 2);
    EXPECT_EQ(fresh->colorScheme(), 1);
    EXPECT_TRUE(fresh->showFocusRect());
    EXPECT_TRUE(fresh->isButtonEnabled());
    EXPECT_EQ(fresh->foreOver(), 0);
    EXPECT_EQ(fresh->mousePointer(), 0);
    EXPECT_TRUE(fresh->mouseIcon().isNull());
    EXPECT_EQ(fresh->textFont(), host->font());
    const QColor face = QApplication::palette().color(QPalette::Button);
    EXPECT_EQ(fresh->backColor(), fromQColor(face));
    EXPECT_EQ(fresh->look().palette.face, fromQColor(face));
}

TEST_F(CmdButtonTest, PropertiesArePublishedUnderTheirNames)
{
    const char *names[] = {
        "BackColor",   "ForeColor",     "ForeOver",     "ButtonType",    "Caption",  "Enabled",
        "Font",        "FontBold",      "FontItalic",   "FontUnderline", "FontSize", "FontName",
        "ColorScheme", "ShowFocusRect", "MousePointer", "MouseIcon",     "hwnd"};
    const QMetaObject *meta = button->metaObject();
    int previous = -1;
    for (const char *name : names) {
        SCOPED_TRACE(name);
        const int index = meta->indexOfProperty(name);
        ASSERT_GE(index, 0);
        EXPECT_GT(index, previous);
        previous = index;
    }
    EXPECT_TRUE(button->setProperty("Caption", QStringLiteral("x")));
    EXPECT_EQ(button->caption(), QStringLiteral("x"));
    EXPECT_TRUE(button->setProperty("Enabled", false));
    EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(button->property("Enabled").toBool());
    // QWidget's own setter reaches the same value.
    button->setEnabled(true);
    EXPECT_TRUE(button->property("Enabled").toBool());
    EXPECT_FALSE(button->look().isMouseOver);
}

TEST_F(CmdButtonTest, SettersMarkTheirSavedValues)
{
    QSignalSpy marks(button, &CmdButton::savedValueChanged);
    button->setBackColor(RGB(1, 2, 3));
    button->setForeColor(RGB(4, 5, 6));
    button->setForeOver(RGB(7, 8, 9));
    button->setButtonType(4);
    button->setCaption("c");
    button->setButtonEnabled(false);
    button->setButtonEnabled(true);
    button->setTextFont(QFont("Noto Sans", 12));
    button->setColorScheme(2);
    button->setShowFocusRect(false);
    button->setMousePointer(3);
    button->setMouseIcon(QPixmap());
    QStringList keys;
    for (const QList<QVariant> &args : marks)
        keys << args.at(0).toString();
    EXPECT_EQ(keys, (QStringList{"BCOL", "FCOL", "FCOLO", "BTYPE", "TX", "ENAB", "ENAB", "FONT",
                                 "COLTYPE", "FOCUSR", "MPTR", "MICON"}));
    EXPECT_EQ(button->cursor().shape(), Qt::IBeamCursor);
}

TEST_F(CmdButtonTest, FontAttributesRedrawWithoutMarking)
{
    QSignalSpy marks(button, &CmdButton::savedValueChanged);
    const int painted = button->paintCount();
    button->setFontBold(true);
    EXPECT_EQ(button->paintCount(), painted + 1);
    EXPECT_TRUE(button->font().bold());
    button->setFontSize(20);
    EXPECT_EQ(button->fontSize(), 20);
    EXPECT_GT(button->look().captionRect.height(), 20);
    button->setFontName("Noto Sans");
    button->setFontItalic(true);
    button->setFontUnderline(true);
    EXPECT_TRUE(button->textFont().underline());
    EXPECT_EQ(marks.count(), 0);

    QFont f = button->textFont();
    f.setPointSizeF(9.75);
    button->setTextFont(f);
    EXPECT_EQ(button->fontSize(), 10);
}

TEST_F(CmdButtonTest, ForeColorSetsForeOverOnlyInDesignMode)
{
    button->setForeOver(RGB(9, 9, 9));
    button->setForeColor(RGB(1, 1, 1));
    EXPECT_EQ(button->foreOver(), RGB(9, 9, 9));
    button->setDesignMode(true);
    button->setForeColor(RGB(2, 2, 2));
    EXPECT_EQ(button->foreOver(), RGB(2, 2, 2));
}

TEST_F(CmdButtonTest, TypeFiveMakesTheCaptionBoldForGood)
{
    ASSERT_FALSE(button->font().bold());
    button->setButtonType(5);
    EXPECT_TRUE(button->font().bold());
    EXPECT_FALSE(button->fontBold()); // the caption font property itself is untouched
    button->setButtonType(2);
    EXPECT_TRUE(button->font().bold());
}

TEST_F(CmdButtonTest, ShapeFollowsTheType)
{
    button->setButtonType(3);
    QRegion shape = button->mask();
    for (QPoint removed :
         {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(79, 24), QPoint(78, 24), QPoint(79, 23)})
        EXPECT_FALSE(shape.contains(removed)) << removed.x() << "," << removed.y();
    for (QPoint kept : {QPoint(2, 0), QPoint(1, 1), QPoint(40, 12), QPoint(77, 24)})
        EXPECT_TRUE(shape.contains(kept)) << kept.x() << "," << kept.y();

    button->setButtonType(2);
    EXPECT_TRUE(button->mask().isEmpty()); // the full rectangle

    button->setButtonType(3);
    button->resize(1, 1);
    EXPECT_FALSE(button->mask().isEmpty());
    EXPECT_FALSE(button->mask().contains(QPoint(0, 0)));
}

TEST_F(CmdButtonTest, TheImageIsWhatRedrawPaints)
{
    button->setButtonType(8);
    const Colour face = button->look().palette.face;
    EXPECT_EQ(button->image().size(), QSize(80, 25));
    EXPECT_EQ(colourAt(button->image(), 0, 0), face);
    button->setButtonEnabled(false);
    EXPECT_EQ(colourAt(button->image(), 0, 0), button->look().palette.shadow);
}

TEST_F(CmdButtonTest, LeftClick)
{
    QTest::mousePress(button, Qt::LeftButton, Qt::ShiftModifier, QPoint(20, 10));
    QTest::mouseRelease(button, Qt::LeftButton, Qt::ShiftModifier, QPoint(20, 10));
    EXPECT_EQ(log->take(),
              (QStringList{"MouseDown(1,1,20,10)@up", "MouseUp(1,1,20,10)@down", "Click@up"}));
}

TEST_F(CmdButtonTest, DragOffAndBackStillClicksOnce)
{
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 10));
    pointTo(button, QPoint(120, 10), Qt::LeftButton);
    EXPECT_EQ(button->drawnState(), StateUp);
    pointTo(button, QPoint(80, 25), Qt::LeftButton); // the far edge counts as inside
    EXPECT_EQ(button->drawnState(), StateDown);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(log->take(),
              (QStringList{"MouseDown(1,0,20,10)@up", "MouseUp(1,0,30,10)@down", "Click@up"}));
}

TEST_F(CmdButtonTest, ReleaseOutsideDoesNotClick)
{
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 10));
    pointTo(button, QPoint(-30, 10), Qt::LeftButton);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-30, 10));
    EXPECT_EQ(log->take(), (QStringList{"MouseDown(1,0,20,10)@up", "MouseUp(1,0,-30,10)@up"}));
    EXPECT_EQ(button->drawnState(), StateUp);
}

TEST_F(CmdButtonTest, PointerMovesInsideAPressedButtonDoNotRepaint)
{
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 10));
    const int painted = button->paintCount();
    for (int x = 21; x < 60; x += 3)
        pointTo(button, QPoint(x, 12), Qt::LeftButton);
    EXPECT_EQ(button->paintCount(), painted);
    EXPECT_EQ(log->moves().size(), 13);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 10));
}

TEST_F(CmdButtonTest, RightClickChangesNothingAndBlocksTheAccessKey)
{
    const QImage before = button->image();
    const int painted = button->paintCount();
    QTest::mouseClick(button, Qt::RightButton, {}, QPoint(20, 10));
    EXPECT_EQ(log->take(), (QStringList{"MouseDown(2,0,20,10)@up", "MouseUp(2,0,20,10)@up"}));
    EXPECT_EQ(button->paintCount(), painted);
    EXPECT_FALSE(button->hasFocus());
    EXPECT_EQ(button->image(), before);

    QTest::keyClick(host.get(), Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(log->take().isEmpty());

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 10));
    log->take();
    QTest::keyClick(host.get(), Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(log->take(), QStringList{"Click@up"});
}

TEST_F(CmdButtonTest, MiddleButtonPressesTheLookButDoesNotClick)
{
    QTest::mousePress(button, Qt::MiddleButton, {}, QPoint(20, 10));
    EXPECT_EQ(button->drawnState(), StateDown);
    QTest::mouseRelease(button, Qt::MiddleButton, {}, QPoint(20, 10));
    EXPECT_EQ(log->take(), (QStringList{"MouseDown(4,0,20,10)@up", "MouseUp(4,0,20,10)@down"}));
}

TEST_F(CmdButtonTest, SpaceHeldRepeatsKeyDownButRedrawsOnceAndClicksOnRelease)
{
    button->setFocus();
    log->take();
    const int painted = button->paintCount();
    key(QEvent::KeyPress, Qt::Key_Space, " ");
    for (int i = 0; i < 2; ++i) {
        key(QEvent::KeyRelease, Qt::Key_Space, " ", true);
        key(QEvent::KeyPress, Qt::Key_Space, " ", true);
    }
    EXPECT_EQ(button->paintCount(), painted + 1);
    EXPECT_EQ(button->drawnState(), StateDown);
    key(QEvent::KeyRelease, Qt::Key_Space, " ");
    const QString down = "KeyDown(32,0)@up";
    const QStringList once{"KeyDown(32,0)", "MouseDown(1,1,1,1)", "KeyPress(32)"};
    EXPECT_EQ(log->take(),
              (QStringList{"KeyDown(32,0)@up", "MouseDown(1,1,1,1)@up", "KeyPress(32)@down",
                           "KeyDown(32,0)@down", "MouseDown(1,1,1,1)@down", "KeyPress(32)@down",
                           "KeyDown(32,0)@down", "MouseDown(1,1,1,1)@down", "KeyPress(32)@down",
                           "KeyUp(32,0)@down", "MouseUp(1,1,1,1)@down", "Click@up"}));
}

TEST_F(CmdButtonTest, SpaceReleaseAfterAnotherKeyDoesNotClick)
{
    button->setFocus();
    log->take();
    key(QEvent::KeyPress, Qt::Key_A, "a");
    key(QEvent::KeyRelease, Qt::Key_Space, " ");
    EXPECT_EQ(log->take(), (QStringList{"KeyDown(65,0)@up", "KeyPress(97)@up", "KeyUp(32,0)@up"}));
}

TEST_F(CmdButtonTest, SpaceClickRestoresTheLeftButtonForTheAccessKey)
{
    QTest::mouseClick(button, Qt::RightButton, {}, QPoint(20, 10));
    button->setFocus();
    key(QEvent::KeyPress, Qt::Key_Space, " ");
    key(QEvent::KeyRelease, Qt::Key_Space, " ");
    EXPECT_TRUE(log->take().contains("Click@up"));
    QTest::keyClick(host.get(), Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(log->take(), QStringList{"Click@up"});
}

TEST_F(CmdButtonTest, DoubleClickRaisesOneClick)
{
    // What the window system delivers: the second press comes as a double click.
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 10));
    QMouseEvent second(QEvent::MouseButtonDblClick, QPointF(21, 11),
                       QPointF(button->mapToGlobal(QPoint(21, 11))), Qt::LeftButton, Qt::LeftButton,
                       Qt::NoModifier);
    QApplication::sendEvent(button, &second);
    EXPECT_EQ(button->drawnState(), StateDown);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(21, 11));
    EXPECT_EQ(log->take(),
              (QStringList{"MouseDown(1,0,20,10)@up", "MouseUp(1,0,20,10)@down", "Click@up",
                           "MouseDown(1,1,1,1)@up", "MouseUp(1,0,21,11)@down"}));
    EXPECT_EQ(button->drawnState(), StateUp);

    // After a right press the double click is not a press at all.
    QTest::mouseClick(button, Qt::RightButton, {}, QPoint(20, 10));
    QMouseEvent right(QEvent::MouseButtonDblClick, QPointF(20, 10),
                      QPointF(button->mapToGlobal(QPoint(20, 10))), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(button, &right);
    EXPECT_EQ(button->drawnState(), StateUp);
    EXPECT_EQ(log->take(), (QStringList{"MouseDown(2,0,20,10)@up", "MouseUp(2,0,20,10)@up"}));
}

TEST_F(CmdButtonTest, EnterAndEscapeAreLeftToTheWindow)
{
    button->setFocus();
    for (Qt::Key k : {Qt::Key_Return, Qt::Key_Escape}) {
        QKeyEvent event(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(button, &event);
        EXPECT_FALSE(event.isAccepted());
    }
    EXPECT_EQ(button->drawnState(), StateUp);
}

TEST_F(CmdButtonTest, ArrowKeysMoveTheFocusLikeTab)
{
    struct Case
    {
        Qt::Key key;
        int code;
        int expectedFocus;
    };
    for (const Case &c : {Case{Qt::Key_Right, 39, 2}, Case{Qt::Key_Down, 40, 2},
                          Case{Qt::Key_Left, 37, 0}, Case{Qt::Key_Up, 38, 0}}) {
        SCOPED_TRACE(c.code);
        button->setFocus();
        log->take();
        QTest::keyClick(button, c.key);
        EXPECT_EQ(QApplication::focusWidget(), buttons[c.expectedFocus]);
        EXPECT_EQ(log->take().value(0), QStringLiteral("KeyDown(%1,0)@up").arg(c.code));
    }
}

TEST_F(CmdButtonTest, FocusIsMarkedAndUnmarked)
{
    button->setButtonType(1);
    buttons[0]->setFocus();
    const QImage unfocused = button->image();
    button->setFocus();
    EXPECT_TRUE(button->look().hasFocus);
    EXPECT_NE(button->image(), unfocused);
    buttons[0]->setFocus();
    EXPECT_FALSE(button->look().hasFocus);
    EXPECT_EQ(button->image(), unfocused);
}

TEST_F(CmdButtonTest, AccessKeyClicksAndFollowsTheCaption)
{
    QTest::keyClick(host.get(), Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(log->take(), QStringList{"Click@up"});
    button->setCaption("Open &File");
    QTest::keyClick(host.get(), Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(log->take().isEmpty());
    QTest::keyClick(host.get(), Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(log->take(), QStringList{"Click@up"});
}

TEST_F(CmdButtonTest, DisabledButtonRaisesNothing)
{
    button->setButtonEnabled(false);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 10));
    key(QEvent::KeyPress, Qt::Key_Space, " ");
    key(QEvent::KeyRelease, Qt::Key_Space, " ");
    QTest::keyClick(host.get(), Qt::Key_S, Qt::AltModifier);
    pointTo(button, QPoint(20, 10));
    EXPECT_TRUE(log->take().isEmpty());
    EXPECT_FALSE(button->isMouseOver());
}

TEST_F(CmdButtonTest, HoverBeginsAndEndsOnce)
{
    pointTo(button, QPoint(20, 10));
    pointTo(button, QPoint(30, 12));
    pointTo(button, QPoint(40, 12));
    EXPECT_TRUE(button->isMouseOver());
    QTest::qWait(50);
    EXPECT_EQ(log->take(), QStringList{"MouseOver@up"});

    pointTo(host.get(), QPoint(150, 70));
    ASSERT_TRUE(testsupport::waitFor([&] { return !button->isMouseOver(); }, 1000));
    QTest::qWait(50);
    EXPECT_EQ(log->take(), QStringList{"MouseOut@up"});
}

TEST_F(CmdButtonTest, HoverEndsOverACutAwayCorner)
{
    for (int type : {3, 4}) {
        SCOPED_TRACE(type);
        button->setButtonType(type);
        pointTo(button, QPoint(20, 10));
        ASSERT_TRUE(button->isMouseOver());
        // (1, 0) is cut away: the pointer is over the window behind the button.
        pointTo(host.get(), button->mapToParent(QPoint(1, 0)));
        ASSERT_TRUE(testsupport::waitFor([&] { return !button->isMouseOver(); }, 1000));
        EXPECT_EQ(log->take(), (QStringList{"MouseOver@up", "MouseOut@up"}));
    }
}

TEST_F(CmdButtonTest, DisablingEndsTheHoverUnderAPointerThatStays)
{
    // Disabled by its own Enabled or by its window part, the button gets no
    // more pointer events; its hover must end all the same.
    button->setButtonType(8);
    for (bool byParent : {false, true}) {
        SCOPED_TRACE(byParent ? "parent disabled" : "button disabled");
        pointTo(button, QPoint(20, 10));
        ASSERT_TRUE(button->isMouseOver());
        if (byParent)
            host->setEnabled(false);
        else
            button->setButtonEnabled(false);
        ASSERT_TRUE(testsupport::waitFor([&] { return !button->isMouseOver(); }, 1000));
        EXPECT_EQ(log->take(), (QStringList{"MouseOver@up", "MouseOut@up"}));
        EXPECT_EQ(colourAt(button->image(), 0, 0), button->look().palette.shadow);
        host->setEnabled(true);
        button->setButtonEnabled(true);
    }
}

TEST_F(CmdButtonTest, HoverLookUsesTheHoverColour)
{
    button->setColorScheme(2);
    button->setForeColor(RGB(0, 0, 0));
    button->setForeOver(RGB(255, 0, 0));
    button->setButtonType(8);
    const QImage plain = button->image();
    pointTo(button, QPoint(20, 10));
    EXPECT_NE(button->image(), plain);
    EXPECT_EQ(colourAt(button->image(), 0, 0), button->look().palette.highlight);
}

TEST_F(CmdButtonTest, OnlySchemeFourFollowsTheHostsColours)
{
    buttons[0]->setColorScheme(4);
    button->setColorScheme(1);
    const Colour systemFace = button->look().palette.face;
    QPalette palette = host->palette();
    palette.setColor(QPalette::Window, QColor(10, 100, 200));
    palette.setColor(QPalette::WindowText, QColor(250, 250, 0));
    palette.setColor(QPalette::Button, QColor(1, 1, 1));
    host->setPalette(palette);
    EXPECT_EQ(buttons[0]->look().palette.face, RGB(10, 100, 200));
    EXPECT_EQ(buttons[0]->look().palette.text, RGB(250, 250, 0));
    EXPECT_EQ(buttons[0]->look().palette.shadow, ShadeColor(RGB(10, 100, 200), -64, false));
    EXPECT_EQ(colourAt(buttons[0]->image(), 10, 10), RGB(10, 100, 200));
    EXPECT_EQ(button->look().palette.face, systemFace);
}

TEST_F(CmdButtonTest, ReadingStoredValuesAppliesThem)
{
    PropertyBag bag;
    bag.setValue("btype", 3);
    bag.setValue("tx", "Go &now");
    bag.setValue("enab", "false");
    bag.setValue("mptr", 11);
    EXPECT_TRUE(button->ReadProperties(bag).isEmpty());
    EXPECT_FALSE(button->isEnabled());
    EXPECT_EQ(button->accessKey(), QLatin1Char('n'));
    EXPECT_EQ(button->cursor().shape(), Qt::WaitCursor);
    // Loaded into a sized button, the caption is laid out at once.
    EXPECT_GT(button->look().captionRect.width(), 0);
    EXPECT_EQ(colourAt(button->image(), 0, 5),
              ShadeColor(ShadeColor(button->look().palette.face, 48, true), -84, true));
}

TEST(AccessKeyOf, TakesTheFirstSingleAmpersandOfTheFirstTwo)
{
    struct Case
    {
        const char *caption;
        char key;
    };
    const Case cases[] = {
        {"&Save", 's'},
        {"Sa&ve", 'v'},
        {"a&&b", 0},
        {"a&&&b", 'b'},
        {"&&&X", 'x'},
        {"x", 0},
        {"&", 0},
        {"", 0},
        {"ab&", 0},
        {"&&x&&y&z", 0}, // only two ampersands are
                         // examined
        {"&&x&y", 'y'},
        {"no key", 0},
        {"&1", '1'},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(CmdButton::AccessKeyOf(QString::fromUtf8(c.caption)),
                  c.key ? QChar(QLatin1Char(c.key)) : QChar());
    }
    EXPECT_EQ(CmdButton::AccessKeyOf(QStringLiteral("&حول")), QChar(u'ح'));
}

TEST_F(CmdButtonTest, ALeaveEndsTheHoverWhereThePointerCannotBeRead)
{
    pointTo(button, QPoint(20, 10));
    // The window system's own reports of that pointer move come first: a move
    // after the leave would rightly say the pointer is back.
    QTest::qWait(50);
    ASSERT_TRUE(button->isMouseOver());
    // The pointer position still says "over the button", as on platforms that
    // report no global position; the window system's leave decides.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    ASSERT_TRUE(testsupport::waitFor([&] { return !button->isMouseOver(); }, 1000));
    EXPECT_EQ(log->take(), (QStringList{"MouseOver@up", "MouseOut@up"}));
}

TEST_F(CmdButtonTest, EnabledIsTheButtonsOwnADisabledParentOnlyGreysIt)
{
    button->setButtonType(8);
    QSignalSpy marks(button, &CmdButton::savedValueChanged);
    const Colour shadow = button->look().palette.shadow;
    host->setEnabled(false);
    EXPECT_TRUE(button->isButtonEnabled());
    EXPECT_EQ(colourAt(button->image(), 0, 0), shadow);
    QTest::keyClick(host.get(), Qt::Key_S, Qt::AltModifier);
    host->setEnabled(true);
    EXPECT_EQ(colourAt(button->image(), 0, 0), button->look().palette.face);
    EXPECT_EQ(marks.count(), 0);
    EXPECT_TRUE(log->take().isEmpty());

    static_cast<QWidget *>(button)->setEnabled(false);
    EXPECT_FALSE(button->isButtonEnabled());
    EXPECT_EQ(colourAt(button->image(), 0, 0), shadow);
    ASSERT_EQ(marks.count(), 1);
    EXPECT_EQ(marks.at(0).at(0).toString(), QStringLiteral("ENAB"));
    host->setEnabled(false);
    host->setEnabled(true);
    EXPECT_FALSE(button->isButtonEnabled());
    EXPECT_EQ(colourAt(button->image(), 0, 0), shadow);
}

TEST_F(CmdButtonTest, SizeHintMakesRoomForTheCaption)
{
    button->setCaption("x");
    EXPECT_EQ(button->sizeHint().width(), 75);
    EXPECT_GE(button->sizeHint().height(), 23);
    const int oneLine = button->sizeHint().height();
    button->setCaption("a much longer caption than a button is wide");
    button->setFontSize(16);
    const QSize hint = button->sizeHint();
    EXPECT_GT(hint.width(), 200);
    EXPECT_GT(hint.height(), oneLine);
    EXPECT_TRUE(QMetaObject::invokeMethod(button, "Refresh"));
}

TEST_F(CmdButtonTest, ScreenReadersSeeAPushButtonNamedByItsCaption)
{
    button->setCaption(QStringLiteral("&Save && close"));
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(button);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Button);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Save & close"));
    QAccessibleActionInterface *actions = accessible->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(log->take(), QStringList{"Click@up"});
}
