#include "CmdButton.h"

#include "ImageSurface.h"
#include "PropertyBag.h"
#include "StoredButtons.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QBitmap>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QShortcutEvent>
#include <QTimer>

#include <cmath>

namespace lorvane {

namespace {

constexpr int overTimerInterval = 10;

constexpr int keySpace = 32;
constexpr int keyLeft = 37;
constexpr int keyUp = 38;
constexpr int keyRight = 39;
constexpr int keyDown = 40;

int buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int buttonsCode(Qt::MouseButtons buttons)
{
    return (buttons.testFlag(Qt::LeftButton) ? 1 : 0) |
           (buttons.testFlag(Qt::RightButton) ? 2 : 0) |
           (buttons.testFlag(Qt::MiddleButton) ? 4 : 0);
}

int shiftCode(Qt::KeyboardModifiers modifiers)
{
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
           (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

// The classic virtual-key code of a Qt key, 0 for keys without one.
int virtualKeyCode(int key)
{
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return keySpace;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return keyLeft;
    case Qt::Key_Up:
        return keyUp;
    case Qt::Key_Right:
        return keyRight;
    case Qt::Key_Down:
        return keyDown;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return 0;
    }
}

Qt::CursorShape cursorShape(short pointer)
{
    switch (pointer) {
    case 2:
        return Qt::CrossCursor;
    case 3:
        return Qt::IBeamCursor;
    case 5:
    case 15:
        return Qt::SizeAllCursor;
    case 6:
        return Qt::SizeBDiagCursor;
    case 7:
        return Qt::SizeVerCursor;
    case 8:
        return Qt::SizeFDiagCursor;
    case 9:
        return Qt::SizeHorCursor;
    case 10:
        return Qt::UpArrowCursor;
    case 11:
        return Qt::WaitCursor;
    case 12:
        return Qt::ForbiddenCursor;
    case 13:
        return Qt::BusyCursor;
    case 14:
        return Qt::WhatsThisCursor;
    default:
        return Qt::ArrowCursor;
    }
}

SystemColours currentSystemColours()
{
    return systemColoursFrom(QApplication::palette());
}

// The caption as it reads: a single "&" only marks the access key, "&&" is one "&".
QString readableCaption(const QString &caption)
{
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&') {
            if (i + 1 >= caption.size())
                break;
            ++i;
        }
        out += caption.at(i);
    }
    return out;
}

QAccessibleInterface *accessibleFactory(const QString &className, QObject *object);

void installAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFactory);
        return true;
    }();
    (void)installed;
}

} // namespace

// What assistive technology sees of a button: a push button named by its
// caption, which can be pressed like any other.
class CmdButtonAccessible final : public QAccessibleWidget
{
public:
    explicit CmdButtonAccessible(CmdButton *button) : QAccessibleWidget(button, QAccessible::Button)
    {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return readableCaption(button()->caption());
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.pressed = button()->drawnState() == StateDown;
        return s;
    }

    QStringList actionNames() const override
    {
        return QAccessibleWidget::actionNames() << pressAction();
    }

    void doAction(const QString &action) override
    {
        if (action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        // Pressed like the space key: always a click of the left button.
        button()->m_lastMouseButton = 1;
        button()->clickHandling();
    }

private:
    CmdButton *button() const { return static_cast<CmdButton *>(widget()); }
};

namespace {

QAccessibleInterface *accessibleFactory(const QString &className, QObject *object)
{
    if (className != QLatin1String(CmdButton::staticMetaObject.className()) || !object ||
        !object->isWidgetType())
        return nullptr;
    return new CmdButtonAccessible(static_cast<CmdButton *>(object));
}

} // namespace

CmdButton::CmdButton(QWidget *parent) : QWidget(parent), m_overTimer(new QTimer(this))
{
    installAccessibleFactory();
    // Tab focus only: a right press must leave the button as it is, so the
    // other presses take the focus themselves.
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_overTimer->setInterval(overTimerInterval);
    connect(m_overTimer, &QTimer::timeout, this, &CmdButton::overTimerTick);

    m_textFont = parent ? parent->font() : QApplication::font();
    m_surfaceFont = m_textFont;
    m_lastMouseButton = 1;
    ComputePalette();
}

CmdButton::~CmdButton() = default;

void CmdButton::InitProperties(const QString &displayName)
{
    const SystemColours system = currentSystemColours();
    m_enabled = true;
    m_look.showFocusRect = true;
    m_look.caption = displayName;
    m_textFont = parentWidget() ? parentWidget()->font() : QApplication::font();
    m_look.buttonType = int(ButtonType::Standard);
    m_colorScheme = int(ColorScheme::System);
    m_backColor = system.buttonFace;
    m_foreColor = system.buttonText;
    m_foreOver = 0;
    m_mousePointer = 0;
    m_mouseIcon = QPixmap();
    applyPointer();
    applySurfaceEnabled();
    applySurfaceFont(m_textFont);
    ComputePalette();
    UpdateAccessKey();
    LayoutCaption();
    Redraw(StateUp, true);
}

QStringList CmdButton::ReadProperties(const PropertyBag &bag)
{
    const SystemColours system = currentSystemColours();
    QStringList unreadable;
    auto readInt = [&](const char *key, int fallback) {
        if (!bag.contains(key))
            return fallback;
        bool ok = false;
        const int v = savedInt(bag.value(key), &ok);
        if (ok)
            return v;
        unreadable << key;
        return fallback;
    };
    auto readBool = [&](const char *key, bool fallback) {
        if (!bag.contains(key))
            return fallback;
        bool ok = false;
        const bool v = savedBool(bag.value(key), &ok);
        if (ok)
            return v;
        unreadable << key;
        return fallback;
    };

    m_look.buttonType = readInt("BTYPE", int(ButtonType::Standard));
    m_look.caption = bag.value("TX", QString()).toString();
    m_enabled = readBool("ENAB", true);
    if (bag.contains("FONT")) {
        bool ok = false;
        const QFont font = savedFont(bag.value("FONT"), &ok);
        if (ok)
            m_textFont = font;
        else
            unreadable << QStringLiteral("FONT");
        if (!ok)
            m_textFont = m_surfaceFont;
    } else {
        m_textFont = m_surfaceFont;
    }
    m_colorScheme = readInt("COLTYPE", int(ColorScheme::System));
    m_look.showFocusRect = readBool("FOCUSR", true);
    m_backColor = readInt("BCOL", system.buttonFace);
    m_foreColor = readInt("FCOL", system.buttonText);
    m_foreOver = readInt("FCOLO", system.buttonText);
    m_mousePointer = static_cast<short>(readInt("MPTR", 0));
    m_mouseIcon = QPixmap();
    if (bag.contains("MICON")) {
        bool ok = false;
        const QImage icon = savedImage(bag.value("MICON"), &ok);
        if (ok)
            m_mouseIcon = QPixmap::fromImage(icon);
        else
            unreadable << QStringLiteral("MICON");
    }

    applyPointer();
    applySurfaceEnabled();
    applySurfaceFont(m_textFont);
    ComputePalette();
    UpdateAccessKey();
    // Loading normally happens before the first sizing, which lays the caption
    // out; a button reloaded after it was sized needs the layout here.
    LayoutCaption();
    Redraw(StateUp, true);
    return unreadable;
}

void CmdButton::WriteProperties(PropertyBag &bag) const
{
    bag.setValue("BTYPE", m_look.buttonType);
    bag.setValue("TX", m_look.caption);
    bag.setValue("ENAB", m_enabled);
    bag.setValue("FONT", m_textFont);
    bag.setValue("COLTYPE", m_colorScheme);
    bag.setValue("FOCUSR", m_look.showFocusRect);
    bag.setValue("BCOL", m_backColor);
    bag.setValue("FCOL", m_foreColor);
    bag.setValue("FCOLO", m_foreOver);
    bag.setValue("MPTR", static_cast<int>(m_mousePointer));
    bag.setValue("MICON", m_mouseIcon.isNull() ? QImage() : m_mouseIcon.toImage());
}

void CmdButton::Refresh()
{
    Redraw(m_memory.drawnState, true);
}

QSize CmdButton::sizeHint() const
{
    QImage probe(1, 1, QImage::Format_RGB32);
    ImageSurface surface(probe, m_surfaceFont);
    const Size caption = surface.measureCaption(m_look.caption, 1 << 20);
    return {std::max(75, caption.width + 16), std::max(23, caption.height + 10)};
}

void CmdButton::setBackColor(Colour colour)
{
    m_backColor = colour;
    ComputePalette();
    Redraw(m_memory.drawnState, true);
    emit savedValueChanged(QStringLiteral("BCOL"));
}

void CmdButton::setForeColor(Colour colour)
{
    m_foreColor = colour;
    if (m_designMode)
        m_foreOver = colour;
    ComputePalette();
    Redraw(m_memory.drawnState, true);
    emit savedValueChanged(QStringLiteral("FCOL"));
}

void CmdButton::setForeOver(Colour colour)
{
    m_foreOver = colour;
    ComputePalette();
    Redraw(m_memory.drawnState, true);
    emit savedValueChanged(QStringLiteral("FCOLO"));
}

void CmdButton::setButtonType(int type)
{
    m_look.buttonType = type;
    if (ButtonType(buttonType()) == ButtonType::Flat) {
        QFont bold = m_surfaceFont;
        bold.setBold(true);
        applySurfaceFont(bold);
    }
    resizeHandling();
    emit savedValueChanged(QStringLiteral("BTYPE"));
}

void CmdButton::setCaption(const QString &caption)
{
    m_look.caption = caption;
    UpdateAccessKey();
    LayoutCaption();
    Redraw(StateUp, true);
    if (QAccessible::isActive()) {
        QAccessibleEvent nameChanged(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&nameChanged);
    }
    emit savedValueChanged(QStringLiteral("TX"));
}

void CmdButton::setButtonEnabled(bool enabled)
{
    m_enabled = enabled;
    applySurfaceEnabled();
    Redraw(StateUp, true);
    emit savedValueChanged(QStringLiteral("ENAB"));
}

void CmdButton::applySurfaceEnabled()
{
    m_applyingEnabled = true;
    QWidget::setEnabled(m_enabled);
    m_applyingEnabled = false;
    // The look follows what the user can do: a button inside a disabled
    // window part is drawn disabled too, while its own Enabled stays.
    m_look.enabled = isEnabled();
    // A disabled button gets no more pointer events, so a hover would never end.
    if (!m_look.enabled)
        endHover();
}

void CmdButton::setTextFont(const QFont &font)
{
    m_textFont = font;
    applySurfaceFont(m_textFont);
    LayoutCaption();
    Redraw(StateUp, true);
    emit savedValueChanged(QStringLiteral("FONT"));
}

void CmdButton::setFontBold(bool on)
{
    m_textFont.setBold(on);
    textFontChanged();
}

void CmdButton::setFontItalic(bool on)
{
    m_textFont.setItalic(on);
    textFontChanged();
}

void CmdButton::setFontUnderline(bool on)
{
    m_textFont.setUnderline(on);
    textFontChanged();
}

short CmdButton::fontSize() const
{
    return static_cast<short>(std::nearbyint(m_textFont.pointSizeF()));
}

void CmdButton::setFontSize(short points)
{
    if (points <= 0)
        return; // QFont refuses sizes below one point; keep the font consistent.
    m_textFont.setPointSize(points);
    textFontChanged();
}

void CmdButton::setFontName(const QString &family)
{
    m_textFont.setFamily(family);
    textFontChanged();
}

void CmdButton::setColorScheme(int scheme)
{
    m_colorScheme = scheme;
    ComputePalette();
    Redraw(StateUp, true);
    emit savedValueChanged(QStringLiteral("COLTYPE"));
}

void CmdButton::setShowFocusRect(bool on)
{
    m_look.showFocusRect = on;
    Redraw(m_memory.drawnState, true);
    emit savedValueChanged(QStringLiteral("FOCUSR"));
}

void CmdButton::setMousePointer(short pointer)
{
    m_mousePointer = pointer;
    applyPointer();
    emit savedValueChanged(QStringLiteral("MPTR"));
}

void CmdButton::setMouseIcon(const QPixmap &icon)
{
    m_mouseIcon = icon;
    applyPointer();
    emit savedValueChanged(QStringLiteral("MICON"));
}

qint32 CmdButton::hwnd() const
{
    return static_cast<qint32>(effectiveWinId());
}

void CmdButton::setDesignMode(bool designMode)
{
    m_designMode = designMode;
}

void CmdButton::setDefaultButton(bool isDefault)
{
    if (m_look.isDefault == isDefault)
        return;
    m_look.isDefault = isDefault;
    Redraw(m_memory.drawnState, true);
}

QChar CmdButton::AccessKeyOf(const QString &caption)
{
    const qsizetype length = caption.size();
    if (length < 2)
        return {};
    // Positions here are 0-based: a "&" at p has a following character when p + 1 < length.
    const qsizetype p = caption.indexOf(QLatin1Char('&'));
    if (p < 0 || p + 1 >= length)
        return {};
    if (caption.at(p + 1) != QLatin1Char('&'))
        return caption.at(p + 1).toLower();
    const qsizetype q = caption.indexOf(QLatin1Char('&'), p + 2);
    if (q < 0 || q + 1 >= length || caption.at(q + 1) == QLatin1Char('&'))
        return {};
    return caption.at(q + 1).toLower();
}

void CmdButton::UpdateAccessKey()
{
    m_accessKey = AccessKeyOf(m_look.caption);
    if (m_shortcutId != 0) {
        releaseShortcut(m_shortcutId);
        m_shortcutId = 0;
    }
    if (m_accessKey.isNull())
        return;
    const QKeySequence chord(
        QKeyCombination(Qt::AltModifier, Qt::Key(m_accessKey.toUpper().unicode())));
    m_shortcutId = grabShortcut(chord, Qt::WindowShortcut);
}

void CmdButton::ComputePalette()
{
    ColourSources sources;
    sources.colorScheme = m_colorScheme;
    sources.backColor = m_backColor;
    sources.foreColor = m_foreColor;
    sources.foreOver = m_foreOver;
    sources.system = currentSystemColours();
    const QWidget *host = parentWidget() ? parentWidget() : this;
    sources.hostBackground = fromQColor(host->palette().color(host->backgroundRole()));
    sources.hostText = fromQColor(host->palette().color(host->foregroundRole()));
    m_look.palette = lorvane::ComputePalette(sources);
}

void CmdButton::LayoutCaption()
{
    ImageSurface surface(m_image, m_surfaceFont);
    lorvane::LayoutCaption(m_look, surface);
}

void CmdButton::resizeHandling()
{
    const int W = width();
    const int H = height();
    // Drawn at the screen's resolution, so that the button is as sharp as the
    // text around it; the looks still work in the button's own pixels.
    allocateImage();
    m_look.width = W;
    m_look.height = H;
    m_look.focusRect = FocusRectFor(W, H);
    LayoutCaption();

    QRegion shape(0, 0, W, H);
    for (const Point &p : BuildShapeRegion(m_look.buttonType, W, H))
        shape -= QRegion(p.x, p.y, 1, 1);
    if (shape.isEmpty() && W > 0 && H > 0) {
        // An empty mask would mean no mask at all; a region beside the button
        // keeps every pixel of it out of the window instead.
        shape = QRegion(-1, -1, 1, 1);
    }
    if (shape == QRegion(0, 0, W, H))
        clearMask();
    else
        setMask(shape);

    if (H > 0)
        Redraw(StateUp, true);
}

void CmdButton::allocateImage()
{
    // Drawn at the screen's resolution, so that the button is as sharp as the
    // text around it; the looks still work in the button's own pixels.
    const qreal ratio = devicePixelRatioF();
    const QSize deviceSize(int(std::ceil(std::max(width(), 0) * ratio)),
                           int(std::ceil(std::max(height(), 0) * ratio)));
    if (m_image.size() == deviceSize && m_image.devicePixelRatio() == ratio)
        return;
    m_image = QImage(deviceSize, QImage::Format_RGB32);
    m_image.setDevicePixelRatio(ratio);
}

void CmdButton::Redraw(std::uint8_t state, bool force)
{
    if (m_image.isNull())
        return;
    ImageSurface surface(m_image, m_surfaceFont);
    if (!lorvane::Redraw(surface, m_look, m_memory, state, force))
        return;
    ++m_paintCount;
    update();
}

void CmdButton::applySurfaceFont(const QFont &font)
{
    m_surfaceFont = font;
    QWidget::setFont(font);
}

void CmdButton::textFontChanged()
{
    applySurfaceFont(m_textFont);
    LayoutCaption();
    Redraw(StateUp, true);
}

void CmdButton::applyPointer()
{
    if (m_mousePointer == 0) {
        unsetCursor();
        return;
    }
    if (m_mousePointer == CustomPointer) {
        // A missing or unusable icon leaves the ordinary pointer.
        if (m_mouseIcon.isNull())
            unsetCursor();
        else
            setCursor(QCursor(m_mouseIcon));
        return;
    }
    setCursor(cursorShape(m_mousePointer));
}

void CmdButton::pressHandling(int button, int shift, float x, float y)
{
    emit MouseDown(button, shift, x, y);
    m_lastMouseButton = static_cast<std::uint8_t>(button);
    if (button != 2)
        Redraw(StateDown, false);
}

void CmdButton::releaseHandling(int button, int shift, float x, float y)
{
    emit MouseUp(button, shift, x, y);
    if (button != 2)
        Redraw(StateUp, false);
}

void CmdButton::clickHandling()
{
    if (m_lastMouseButton != 1 || !m_look.enabled)
        return;
    Redraw(StateUp, true);
    // The host's handler may work long without letting the window repaint; the
    // button must look released while it does.
    repaint();
    emit Click();
}

bool CmdButton::pointerOverSurface() const
{
    if (m_pointerLeft)
        return false;
    return QApplication::widgetAt(QCursor::pos()) == this;
}

void CmdButton::overTimerTick()
{
    if (pointerOverSurface())
        return;
    endHover();
    Redraw(StateUp, true);
}

void CmdButton::endHover()
{
    if (!m_look.isMouseOver)
        return;
    m_overTimer->stop();
    m_look.isMouseOver = false;
    emit MouseOut();
}

bool CmdButton::event(QEvent *event)
{
    if (event->type() == QEvent::Shortcut) {
        auto *shortcut = static_cast<QShortcutEvent *>(event);
        if (shortcut->shortcutId() == m_shortcutId && m_shortcutId != 0) {
            clickHandling();
            return true;
        }
    }
    return QWidget::event(event);
}

void CmdButton::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
        // QWidget::setEnabled on the button itself is its Enabled; one on a
        // parent only changes whether it can be used.
        if (!m_applyingEnabled) {
            const bool own = !testAttribute(Qt::WA_ForceDisabled);
            const bool ownChanged = own != m_enabled;
            m_enabled = own;
            if (ownChanged || m_look.enabled != isEnabled()) {
                m_look.enabled = isEnabled();
                if (!m_look.enabled)
                    endHover();
                Redraw(StateUp, true);
            }
            if (ownChanged)
                emit savedValueChanged(QStringLiteral("ENAB"));
        }
        break;
    case QEvent::PaletteChange:
        // The host's colours changed; only scheme 4 draws from them.
        if (ColorScheme(m_colorScheme) == ColorScheme::Host) {
            ComputePalette();
            Redraw(m_memory.drawnState, true);
        }
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void CmdButton::paintEvent(QPaintEvent *)
{
    // Moved to a screen of another density: draw anew at its resolution.
    if (m_image.devicePixelRatio() != devicePixelRatioF()) {
        allocateImage();
        Redraw(m_memory.drawnState, true);
    }
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), m_image);
}

void CmdButton::resizeEvent(QResizeEvent *)
{
    resizeHandling();
}

void CmdButton::mousePressEvent(QMouseEvent *event)
{
    const int button = buttonCode(event->button());
    if (button == 0)
        return;
    if (button != 2)
        setFocus(Qt::MouseFocusReason);
    m_pressFromDoubleClick = false;
    if (button == 1)
        m_leftPressedHere = true;
    const QPointF pos = event->position();
    pressHandling(button, shiftCode(event->modifiers()), float(pos.x()), float(pos.y()));
}

void CmdButton::mouseReleaseEvent(QMouseEvent *event)
{
    const int button = buttonCode(event->button());
    if (button == 0)
        return;
    const QPointF pos = event->position();
    releaseHandling(button, shiftCode(event->modifiers()), float(pos.x()), float(pos.y()));
    if (button != 1)
        return;
    // The surface's own click: a left press and release over its shape. The
    // release that ends a double click is not a second click.
    const bool wasPressed = m_leftPressedHere && !m_pressFromDoubleClick;
    m_leftPressedHere = false;
    m_pressFromDoubleClick = false;
    const QPoint at = pos.toPoint();
    const bool over = rect().contains(at) && (mask().isEmpty() || mask().contains(at));
    if (wasPressed && over)
        clickHandling();
}

void CmdButton::mouseMoveEvent(QMouseEvent *event)
{
    const int button = buttonsCode(event->buttons());
    const QPointF pos = event->position();
    const float x = float(pos.x());
    const float y = float(pos.y());
    emit MouseMove(button, shiftCode(event->modifiers()), x, y);
    if (button != 0 && button != 1)
        return;
    const bool inside = x >= 0 && x <= m_look.width && y >= 0 && y <= m_look.height;
    if (!inside) {
        Redraw(StateUp, false);
        return;
    }
    // Only a movement over the button shows that the pointer is back after a
    // leave; an enter alone can be the window system's echo of that leave.
    m_pointerLeft = false;
    if (button == 0) {
        if (m_look.isMouseOver)
            return;
        m_overTimer->start();
        m_look.isMouseOver = true;
        emit MouseOver();
        Redraw(StateUp, true);
        return;
    }
    Redraw(StateDown, false);
}

void CmdButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (m_lastMouseButton != 1)
        return;
    if (event->button() == Qt::LeftButton) {
        m_leftPressedHere = true;
        m_pressFromDoubleClick = true;
    }
    pressHandling(1, 1, 1.0f, 1.0f);
}

void CmdButton::keyPressEvent(QKeyEvent *event)
{
    const int code = virtualKeyCode(event->key());
    emit KeyDown(code, shiftCode(event->modifiers()));
    m_lastKeyCode = static_cast<std::uint8_t>(code);
    switch (code) {
    case keySpace:
        pressHandling(1, 1, 1.0f, 1.0f);
        break;
    case keyRight:
    case keyDown:
        focusNextPrevChild(true);
        break;
    case keyLeft:
    case keyUp:
        focusNextPrevChild(false);
        break;
    default:
        break;
    }
    if (!event->text().isEmpty())
        emit KeyPress(event->text().at(0).unicode());
    // Keys the button does nothing with (Enter, Escape, ...) stay the window's.
    if (code == keySpace || (code >= keyLeft && code <= keyDown))
        event->accept();
    else
        event->ignore();
}

void CmdButton::keyReleaseEvent(QKeyEvent *event)
{
    // Auto-repeat sends a release before every repeated press; only the real
    // release counts, as a held key gives repeated key downs only.
    if (event->isAutoRepeat())
        return;
    const int code = virtualKeyCode(event->key());
    emit KeyUp(code, shiftCode(event->modifiers()));
    if (m_lastKeyCode == keySpace && code == keySpace) {
        releaseHandling(1, 1, 1.0f, 1.0f);
        m_lastMouseButton = 1;
        clickHandling();
    }
    event->accept();
}

void CmdButton::focusInEvent(QFocusEvent *event)
{
    m_look.hasFocus = true;
    Redraw(m_memory.drawnState, true);
    QWidget::focusInEvent(event);
}

void CmdButton::focusOutEvent(QFocusEvent *event)
{
    m_look.hasFocus = false;
    Redraw(m_memory.drawnState, true);
    QWidget::focusOutEvent(event);
}

void CmdButton::leaveEvent(QEvent *event)
{
    // Where the platform cannot tell the pointer's position (or the window
    // under it), the leave still ends the hover at the next tick.
    m_pointerLeft = true;
    QWidget::leaveEvent(event);
}

} // namespace lorvane
