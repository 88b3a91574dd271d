// The stored button data of one window: one property bag per button, kept as
// plain UTF-8 text in the window's resources (resources/<window>.buttons).
//
// The format, line by line (surrounding white space is ignored):
//
//     # A line starting with "#" or ";" is a comment; empty lines are ignored.
//     [CmdDoNow]                a button, by its object name; its values follow
//     btype = 3                 key = value, keys without regard to letter case
//     tx = " &Rename"           text in double quotes keeps its spaces; inside
//                               quotes \" is a quote, \\ a backslash, \n a new line
//     enab = true               booleans: true or false (also 1, 0 and -1)
//     font = Noto Sans, 9, bold
//                               a font: family, point size, then any of bold,
//                               italic, underline, strikeout
//     coltype = 1
//     focusr = true
//     bcol = 0xC0C0C0           colours: red + 256 * green + 65536 * blue, in
//     fcol = 0                  decimal or hexadecimal (0x...)
//     fcolo = 0
//     mptr = 0
//     micon =                   empty: none; else an image path (":/..." for a
//                               resource) or "png:" and the PNG as base64
//     _extentx = 1215           keys starting with "_" (and "tooltip") are the
//                               host's own; the button ignores them
//
// An unquoted value is taken as written, up to the end of the line. Values stay
// text in the bags; CmdButton::ReadProperties converts them, so a bag filled by
// WriteProperties (typed values) and one read from text load the same way.
//
// A window creates its buttons like this:
//
//     const StoredButtons stored = StoredButtons::load(":/Form1.buttons");
//     Q_ASSERT(stored.errors().isEmpty());
//     CmdButton *doNow = stored.create("CmdDoNow", this);  // ReadProperties inside
//     connect(doNow, &CmdButton::Click, this, &Form1::CmdDoNow_Click);
//
// and sets its geometry (or puts it in a layout) as for any widget.
#pragma once

#include "PropertyBag.h"

#include <QString>
#include <QStringList>

#include <vector>

class QFont;
class QImage;
class QWidget;

namespace lorvane {

class CmdButton;

class StoredButtons
{
public:
    // Parses the text; every line that cannot be read is reported in errors()
    // with its line number and left out.
    [[nodiscard]] static StoredButtons parse(const QString &text);
    // Reads and parses a UTF-8 file or resource; a file that cannot be read is
    // reported in errors().
    [[nodiscard]] static StoredButtons load(const QString &path);

    QStringList errors() const { return m_errors; }
    // Button names in the order of the text.
    QStringList names() const;
    bool contains(const QString &name) const;
    // The values of one button; empty when the name is unknown.
    PropertyBag bag(const QString &name) const;
    void setBag(const QString &name, const PropertyBag &bag);

    // A new button under `parent` named `name`, loaded from its stored values
    // (ReadProperties). An unknown name or an unreadable value gives the default
    // of the values concerned and a warning on the debug output.
    CmdButton *create(const QString &name, QWidget *parent) const;

    // The text form of all bags, keys in lower case, readable by parse().
    QString toText() const;

private:
    struct Section
    {
        QString name;
        PropertyBag bag;
    };
    std::vector<Section> m_sections;
    QStringList m_errors;
};

// The text form of one stored value, as toText() writes it.
QString savedValueToText(const QVariant &value);

// Readers of one stored value given either typed (from WriteProperties) or as
// text (from StoredButtons). Each sets *ok to false and returns a default-made
// value when the value cannot be read.
int savedInt(const QVariant &value, bool *ok);
bool savedBool(const QVariant &value, bool *ok);
QFont savedFont(const QVariant &value, bool *ok);
QImage savedImage(const QVariant &value, bool *ok);

} // namespace lorvane
