#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace lorvane {

class OptionGroup;

// Model of one option button (Filno, reFil, ExRen, NB, NumA, ...). Exactly one button
// of its OptionGroup is selected.
//
// select() is what setting the button from code and a user's click or arrow key
// both do: when the button was not selected, the group's previous button is
// deselected, selectedChanged() is emitted for both, and then this button's Click
// handler runs. Selecting the button that is already selected does nothing.
//
// The window binds a QRadioButton like this: a click (or keyboard selection) calls
// select(); selectedChanged / enabledChanged are shown on the widget with its signals
// blocked. A mouse release over Numno also calls RenameEngine::Numno_MouseUp().
class OptionButton : public QObject
{
    Q_OBJECT
public:
    OptionButton(const QString &name, OptionGroup &group, QObject *parent = nullptr);

    [[nodiscard]] bool isSelected() const { return m_selected; }
    void select();

    [[nodiscard]] bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    [[nodiscard]] OptionGroup &group() const { return m_group; }

    // Installed by the engine.
    void setClickHandler(std::function<void()> handler) { m_onClick = std::move(handler); }

signals:
    void selectedChanged(bool selected);
    void enabledChanged(bool enabled);

private:
    friend class OptionGroup;
    void setSelectedState(bool selected);

    OptionGroup &m_group;
    bool m_selected = false;
    bool m_enabled = true;
    std::function<void()> m_onClick;
};

} // namespace lorvane
