#pragma once

#include "FakeFileList.h"
#include "QtPrinters.h"
#include "RenameEngine.h"

#include <QStringList>

#include <memory>
#include <ostream>

namespace lorvane::test {

// An engine over a fake folder, loaded as the main window loads it.
struct EngineUnderTest
{
    explicit EngineUnderTest(const QStringList &names)
        : files(names), engine(std::make_unique<RenameEngine>(files))
    {
        engine->Form_Load();
    }

    QStringList preview() const { return engine->List1().entries(); }
    QString entry(int i) const { return engine->List1().entry(i); }

    // The user types into a box: one key press, then the widget's new text.
    bool type(TextBox &box, const QString &typed)
    {
        if (!box.keyPress(typed))
            return false;
        box.userEdit(box.text() + typed);
        return true;
    }
    void backspace(TextBox &box) { box.userEdit(box.text().chopped(1)); }

    // The user clicks an option button: it takes the focus, then it is selected.
    void click(OptionButton &button)
    {
        engine->setFocusControl(button.objectName());
        button.select();
    }
    // The user clicks into a text box.
    void clickInto(TextBox &box)
    {
        engine->setFocusControl(box.objectName());
        box.click();
    }

    FakeFileList files;
    std::unique_ptr<RenameEngine> engine;
};

} // namespace lorvane::test
