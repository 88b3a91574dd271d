#pragma once

#include <QObject>
#include <QString>

#include <vector>

namespace lorvane {

class OptionButton;

// One group of mutually exclusive option buttons (a frame of the main window:
// Frame2 file name, Frame3 extension, Frame4 numbering, Frame5 letter case).
// The buttons register themselves; the first one selected at start is set by the
// engine with setInitial().
class OptionGroup : public QObject
{
    Q_OBJECT
public:
    explicit OptionGroup(const QString &name, QObject *parent = nullptr);

    [[nodiscard]] OptionButton *selected() const { return m_selected; }
    [[nodiscard]] const std::vector<OptionButton *> &buttons() const { return m_buttons; }

    // Selects a button without running any handler (the design-time selection).
    void setInitial(OptionButton &button);

signals:
    void selectionChanged(lorvane::OptionButton *selected);

private:
    friend class OptionButton;
    void add(OptionButton &button) { m_buttons.push_back(&button); }
    // Returns false when the button was already selected.
    bool switchTo(OptionButton &button);

    std::vector<OptionButton *> m_buttons;
    OptionButton *m_selected = nullptr;
};

} // namespace lorvane
