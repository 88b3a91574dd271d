// CmdButton, the program's own push button: every push button of every window
// is one. It draws itself completely into a retained image (ButtonDrawing.h) in
// one of eight looks, takes its window shape from the look, tracks hovering with
// a 10 ms timer and raises its events as signals. Windows react to Click only.
//
// Creating a button:
//  - from a window's stored data (the normal way; see StoredButtons.h for the
//    text format and a complete example):
//        CmdButton *b = StoredButtons::load(":/Form1.buttons").create("CmdEnd", this);
//    or, with a bag of your own: auto *b = new CmdButton(this);
//        b->setObjectName("CmdEnd"); b->ReadProperties(bag);
//  - as a new button with the defaults of a newly placed one:
//        auto *b = new CmdButton(this); b->InitProperties("CmdButton1");
// Then size it like any widget; the caption is laid out and the shape built on
// every resize. At run time set Caption and Enabled (setCaption, setEnabled,
// or setProperty("Caption", ...)); both are published as Qt properties under
// these names, as is every property of the control.
//
// The nine events are signals in their declared order: Click, MouseDown,
// MouseMove, MouseUp, KeyPress, KeyDown, KeyUp, MouseOver, MouseOut. Mouse
// buttons are 1 left, 2 right, 4 middle; Shift bits 1 Shift, 2 Ctrl, 4 Alt;
// X and Y are in the button's pixels; key codes are the classic virtual-key
// codes (32 space, 37..40 arrows, 65..90 letters). The events are raised before
// the button's own reaction, Click last, after the up look is on screen.
//
// Screen readers see a push button named by the caption (without its access
// key mark) that can be pressed; pressing it clicks as the space key does.
#pragma once

#include "ButtonDrawing.h"

#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QWidget>

class QTimer;

namespace lorvane {

class PropertyBag;
class CmdButtonAccessible;

class CmdButton : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int BackColor READ backColor WRITE setBackColor)
    Q_PROPERTY(int ForeColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(int ForeOver READ foreOver WRITE setForeOver)
    Q_PROPERTY(int ButtonType READ buttonType WRITE setButtonType)
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(bool Enabled READ isButtonEnabled WRITE setButtonEnabled)
    Q_PROPERTY(QFont Font READ textFont WRITE setTextFont)
    Q_PROPERTY(bool FontBold READ fontBold WRITE setFontBold)
    Q_PROPERTY(bool FontItalic READ fontItalic WRITE setFontItalic)
    Q_PROPERTY(bool FontUnderline READ fontUnderline WRITE setFontUnderline)
    Q_PROPERTY(short FontSize READ fontSize WRITE setFontSize)
    Q_PROPERTY(QString FontName READ fontName WRITE setFontName)
    Q_PROPERTY(int ColorScheme READ colorScheme WRITE setColorScheme)
    Q_PROPERTY(bool ShowFocusRect READ showFocusRect WRITE setShowFocusRect)
    Q_PROPERTY(short MousePointer READ mousePointer WRITE setMousePointer)
    Q_PROPERTY(QPixmap MouseIcon READ mouseIcon WRITE setMouseIcon)
    Q_PROPERTY(qint32 hwnd READ hwnd)

public:
    // The MousePointer value that shows MouseIcon.
    static constexpr short CustomPointer = 99;

    explicit CmdButton(QWidget *parent = nullptr);
    ~CmdButton() override;

    // A newly placed button: enabled, focus markings on, caption = displayName,
    // the host's font, type 2, colour scheme 1, system face and text colours.
    void InitProperties(const QString &displayName);
    // Loads the eleven saved values (missing keys take their defaults), then
    // applies them and redraws. Returns the keys whose values could not be read
    // (those took their defaults too); empty when all was well.
    QStringList ReadProperties(const PropertyBag &bag);
    // Stores all eleven values, in their order.
    void WriteProperties(PropertyBag &bag) const;
    // Redraws the button in its current state.
    Q_INVOKABLE void Refresh();

    // Room for the caption in the current font, at least a common button's size.
    QSize sizeHint() const override;

    Colour backColor() const { return m_backColor; }
    void setBackColor(Colour colour);
    Colour foreColor() const { return m_foreColor; }
    void setForeColor(Colour colour);
    Colour foreOver() const { return m_foreOver; }
    void setForeOver(Colour colour);
    int buttonType() const { return m_look.buttonType; }
    void setButtonType(int type);
    QString caption() const { return m_look.caption; }
    void setCaption(const QString &caption);
    bool isButtonEnabled() const { return m_enabled; }
    // Also reached through QWidget::setEnabled on the button: both change the
    // same value. A disabled parent draws the button disabled but leaves this.
    void setButtonEnabled(bool enabled);
    QFont textFont() const { return m_textFont; }
    void setTextFont(const QFont &font);
    bool fontBold() const { return m_textFont.bold(); }
    void setFontBold(bool on);
    bool fontItalic() const { return m_textFont.italic(); }
    void setFontItalic(bool on);
    bool fontUnderline() const { return m_textFont.underline(); }
    void setFontUnderline(bool on);
    short fontSize() const;
    void setFontSize(short points);
    QString fontName() const { return m_textFont.family(); }
    void setFontName(const QString &family);
    int colorScheme() const { return m_colorScheme; }
    void setColorScheme(int scheme);
    bool showFocusRect() const { return m_look.showFocusRect; }
    void setShowFocusRect(bool on);
    short mousePointer() const { return m_mousePointer; }
    void setMousePointer(short pointer);
    QPixmap mouseIcon() const { return m_mouseIcon; }
    void setMouseIcon(const QPixmap &icon);
    // The native window the button draws in (0 before it has one). Buttons are
    // not native windows of their own; this is the id of the window holding them.
    qint32 hwnd() const;

    // What the button needs to know of its host.
    // Design mode: setting ForeColor also sets ForeOver. Hosts start in run mode.
    void setDesignMode(bool designMode);
    bool isDesignMode() const { return m_designMode; }
    // Whether the host shows this button as its default button (types 2 and 3
    // mark it).
    void setDefaultButton(bool isDefault);
    bool isDefaultButton() const { return m_look.isDefault; }

    // The access key taken from a caption: a lower-case character, or a null
    // QChar when the caption gives none. Only the first two "&" are examined.
    static QChar AccessKeyOf(const QString &caption);
    QChar accessKey() const { return m_accessKey; }

    // The picture last drawn, as the window shows it inside its shape.
    const QImage &image() const { return m_image; }
    const ButtonLook &look() const { return m_look; }
    bool isMouseOver() const { return m_look.isMouseOver; }
    std::uint8_t drawnState() const { return m_memory.drawnState; }
    // How many times the picture was repainted; pointer movement inside a
    // pressed button must not add to it.
    int paintCount() const { return m_paintCount; }

signals:
    void Click();
    void MouseDown(int button, int shift, float x, float y);
    void MouseMove(int button, int shift, float x, float y);
    void MouseUp(int button, int shift, float x, float y);
    void KeyPress(int keyAscii);
    void KeyDown(int keyCode, int shift);
    void KeyUp(int keyCode, int shift);
    void MouseOver();
    void MouseOut();

    // A saved value changed (key as in ReadProperties), so the host should save
    // the button again.
    void savedValueChanged(const QString &key);

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    friend class CmdButtonAccessible;

    void Redraw(std::uint8_t state, bool force);
    void ComputePalette();
    void LayoutCaption();
    void UpdateAccessKey();
    void resizeHandling();
    void applySurfaceFont(const QFont &font);
    void applySurfaceEnabled();
    void textFontChanged();
    void applyPointer();

    void pressHandling(int button, int shift, float x, float y);
    void releaseHandling(int button, int shift, float x, float y);
    void clickHandling();
    void overTimerTick();
    void endHover();
    void allocateImage();
    bool pointerOverSurface() const;

    ButtonLook m_look;
    DrawnMemory m_memory;
    QImage m_image;
    QFont m_textFont;
    QFont m_surfaceFont;
    Colour m_backColor = 0;
    Colour m_foreColor = 0;
    Colour m_foreOver = 0;
    int m_colorScheme = 1;
    bool m_enabled = true;
    short m_mousePointer = 0;
    QPixmap m_mouseIcon;
    bool m_designMode = false;
    QChar m_accessKey;
    int m_shortcutId = 0;

    std::uint8_t m_lastMouseButton = 1;
    std::uint8_t m_lastKeyCode = 0;
    bool m_leftPressedHere = false;
    bool m_pressFromDoubleClick = false;
    bool m_pointerLeft = false;
    bool m_applyingEnabled = false;
    QTimer *m_overTimer = nullptr;
    int m_paintCount = 0;
};

} // namespace lorvane
