#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace lorvane {

// Model of one text box of the main window (txtFil, txtEX, txtW, ...), owned by the
// RenameEngine, which installs the box's event handlers.
//
// setText() sets the text from code: when the text really changes,
// textChanged() is emitted and then the box's Change handler runs at once, nested
// inside the caller. Handlers rely on this (a trim that changes the text re-runs the
// handler before the outer run goes on).
//
// The window binds a widget like this:
//  - keys that type a character: call keyPress(character) first and drop the key
//    when it returns false (the box refuses it);
//  - every change of the widget's text by the user (typing, paste, cut, undo,
//    drop): call userEdit(widget text);
//  - a mouse click into the box: call click();
//  - textChanged / enabledChanged: show the model's text / state on the widget, with
//    the widget's own signals blocked, whenever it differs;
//  - selectAllRequested / caretToEndRequested: select the widget's whole text / put
//    its caret at the end.
// Focus is the engine's business: see RenameEngine::setFocusControl().
class TextBox : public QObject
{
    Q_OBJECT
public:
    explicit TextBox(const QString &name, QObject *parent = nullptr);

    [[nodiscard]] const QString &text() const { return m_text; }
    void setText(const QString &text);

    // A change made by the user in the widget. The box's input filter (refused
    // characters) is applied first; when the result differs from text, textChanged()
    // is emitted even if the model's text stays as it was, so that the widget shows
    // the model's text again. Ignored (and the widget corrected) while disabled.
    void userEdit(const QString &text);

    // A key that types the given text (one character, or a surrogate pair). Returns
    // false when the box refuses the key; the widget must then not insert it.
    [[nodiscard]] bool keyPress(const QString &typed);

    // A mouse click into the box.
    void click();

    [[nodiscard]] bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    // Requests to the widget. The model keeps no selection or caret of its own.
    void requestSelectAll() { emit selectAllRequested(); }
    void requestCaretToEnd() { emit caretToEndRequested(); }

    // Installed by the engine.
    void setChangeHandler(std::function<void()> handler) { m_onChange = std::move(handler); }
    void setClickHandler(std::function<void()> handler) { m_onClick = std::move(handler); }
    void setKeyPressHandler(std::function<bool(const QString &)> handler)
    {
        m_onKeyPress = std::move(handler);
    }
    void setInputFilter(std::function<QString(const QString &)> filter)
    {
        m_inputFilter = std::move(filter);
    }

signals:
    void textChanged(const QString &text);
    void enabledChanged(bool enabled);
    void selectAllRequested();
    void caretToEndRequested();

private:
    QString m_text;
    bool m_enabled = true;
    std::function<void()> m_onChange;
    std::function<void()> m_onClick;
    std::function<bool(const QString &)> m_onKeyPress;
    std::function<QString(const QString &)> m_inputFilter;
};

} // namespace lorvane
