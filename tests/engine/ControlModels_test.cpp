#include "EngineFixture.h"
#include "OptionButton.h"
#include "OptionGroup.h"
#include "TextBox.h"

#include <gtest/gtest.h>

using namespace lorvane;
using namespace lorvane::test;

TEST(ControlModels, TextBoxRunsItsChangeHandlerOnlyOnARealChangeAndNested)
{
    TextBox box(QStringLiteral("txtX"));
    QStringList seen;
    QStringList shown;
    QObject::connect(&box, &TextBox::textChanged, [&](const QString &s) { shown.append(s); });
    box.setChangeHandler([&] {
        seen.append(box.text());
        // A handler that trims its own text runs again at once, inside this run.
        if (box.text().endsWith(u' '))
            box.setText(box.text().trimmed());
        seen.append(QStringLiteral("after ") + box.text());
    });
    box.setText(QStringLiteral("a "));
    EXPECT_EQ(seen, (QStringList{"a ", "a", "after a", "after a"}));
    EXPECT_EQ(shown, (QStringList{"a ", "a"}));
    seen.clear();
    box.setText(QStringLiteral("a"));
    EXPECT_TRUE(seen.isEmpty());
}

TEST(ControlModels, DisabledTextBoxRefusesEditsAndCorrectsTheWidget)
{
    TextBox box(QStringLiteral("txtX"));
    int changes = 0;
    QString shown;
    box.setChangeHandler([&] { ++changes; });
    QObject::connect(&box, &TextBox::textChanged, [&](const QString &s) { shown = s; });
    box.setEnabled(false);
    EXPECT_FALSE(box.keyPress(QStringLiteral("a")));
    box.userEdit(QStringLiteral("a"));
    EXPECT_EQ(box.text(), QString());
    EXPECT_EQ(shown, QString());
    EXPECT_EQ(changes, 0);
}

TEST(ControlModels, OptionGroupKeepsOneSelectedAndClicksOnlyOnChange)
{
    OptionGroup group(QStringLiteral("Frame"));
    OptionButton a(QStringLiteral("a"), group);
    OptionButton b(QStringLiteral("b"), group);
    group.setInitial(a);
    QStringList events;
    a.setClickHandler([&] { events.append(QStringLiteral("a_Click")); });
    b.setClickHandler([&] {
        // The selection is already visible to the handler.
        events.append(b.isSelected() && !a.isSelected() ? QStringLiteral("b_Click")
                                                        : QStringLiteral("b_Click early"));
    });
    QObject::connect(&a, &OptionButton::selectedChanged,
                     [&](bool on) { events.append(on ? QStringLiteral("a on") : "a off"); });
    a.select();
    EXPECT_TRUE(events.isEmpty());
    b.select();
    EXPECT_EQ(events, (QStringList{"a off", "b_Click"}));
    EXPECT_EQ(group.selected(), &b);
}

// What the window does after a rename execution: load again, then every group
// back to no change.
TEST(ControlModels, LoadAndResetBringEveryGroupBackToNoChange)
{
    EngineUnderTest t({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    RenameEngine &e = *t.engine;
    e.txtStart().userEdit(QStringLiteral("1"));
    t.click(e.NumB());
    t.click(e.reFil());
    t.type(e.txtFil(), QStringLiteral("x"));
    t.click(e.ExRen());
    t.type(e.txtEX(), QStringLiteral("md"));
    t.click(e.NS());
    EXPECT_EQ(t.preview(), (QStringList{"1X.md", "2X.md"}));
    e.Form_Load();
    e.resetRuleGroups();
    EXPECT_EQ(t.preview(), (QStringList{"a.txt", "b.txt"}));
    for (OptionButton *o : {&e.Filno(), &e.ExNo(), &e.Numno(), &e.Nno()})
        EXPECT_TRUE(o->isSelected()) << o->objectName().toStdString();
    EXPECT_EQ(e.FileRuleCode(), FileRule::NoChange);
    EXPECT_EQ(e.ExtRuleCode(), ExtRule::NoChange);
    EXPECT_EQ(e.NumRuleCode(), NumRule::Off);
    EXPECT_EQ(e.CaseRuleCode(), CaseRule::NoChange);
    EXPECT_FALSE(e.txtEX().isEnabled());
    // Duplicate names force numbering at the start of the name, as execution does.
    EngineUnderTest d({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    d.click(d.engine->reFil());
    d.type(d.engine->txtFil(), QStringLiteral("same"));
    d.engine->txtStep().userEdit(QStringLiteral("1"));
    d.engine->NumB().select();
    EXPECT_EQ(d.preview(), (QStringList{"0same.txt", "1same.txt"}));
}

TEST(ControlModels, ControlsAreFoundByTheirNames)
{
    EngineUnderTest t({});
    RenameEngine &e = *t.engine;
    for (const char *name :
         {"txtFil", "txtDel", "txtW", "txtEX", "txtP", "txtStart", "txtStep", "txtZ"}) {
        ASSERT_NE(e.textBox(QString::fromLatin1(name)), nullptr) << name;
        EXPECT_EQ(e.textBox(QString::fromLatin1(name))->objectName(), QString::fromLatin1(name));
    }
    for (const char *name : {"Filno", "FilDel", "reFil", "FilAf", "FilBe", "ExNo", "ExDel", "ExRen",
                             "NumA", "NumB", "Numno", "Nno", "NB", "NF", "NS"}) {
        ASSERT_NE(e.option(QString::fromLatin1(name)), nullptr) << name;
    }
    EXPECT_EQ(e.option(u"NumA")->group().objectName(), QStringLiteral("Frame4"));
    EXPECT_EQ(e.textBox(u"nothing"), nullptr);
    EXPECT_EQ(e.List1().objectName(), QStringLiteral("List1"));
    EXPECT_EQ(e.ForbiddenChars(), (QStringList{"<", ">", "?", "\"", "|", "\\", "/", "*", ":"}));
}
