#include "EngineFixture.h"

#include <gtest/gtest.h>

#include <functional>

using namespace lorvane;
using namespace lorvane::test;

namespace {

struct Values
{
    const char *start;
    const char *step;
    const char *zeros;
};

void setValues(RenameEngine &e, const Values &v)
{
    e.txtStart().userEdit(QString::fromLatin1(v.start));
    e.txtStep().userEdit(QString::fromLatin1(v.step));
    e.txtZ().userEdit(QString::fromLatin1(v.zeros));
}

} // namespace

TEST(Numbering, StartStepZeroFillAndTheStopRule)
{
    struct Row
    {
        const char *what;
        Values values;
        QStringList names;
        QStringList numA;
        QStringList numB;
    };
    const Row rows[] = {
        {"defaults",
         {"0", "0", "0"},
         {"a.txt", "b.txt", "c"},
         {"a0.txt", "b.txt", "c"},
         {"0a.txt", "b.txt", "c"}},
        {"zero fill",
         {"1", "1", "2"},
         {"a.txt", "b.txt"},
         {"a001.txt", "b002.txt"},
         {"001a.txt", "002b.txt"}},
        {"wide value", {"100", "1", "2"}, {"a.txt"}, {"a100.txt"}, {"100a.txt"}},
        {"at most 16 zeros",
         {"7", "1", "20"},
         {"a"},
         {"a00000000000000007"},
         {"00000000000000007a"}},
        {"counting down stops at 0",
         {"3", "-1", "0"},
         {"a", "b", "c", "d", "e"},
         {"a3", "b2", "c1", "d", "e"},
         {"3a", "2b", "1c", "d", "e"}},
        {"minus sign counts for the width",
         {"-1", "1", "2"},
         {"a.x", "b.x"},
         {"a0-1.x", "b.x"},
         {"0-1a.x", "b.x"}},
        {"fractions",
         {"0.5", "1", "0"},
         {"a.x", "b", "c."},
         {"a0.5.x", "b1.5", "c.2.5"},
         {"0.5a.x", "1.5b", "2.5c."}},
        {"name without extension", {"1", "1", "0"}, {"README"}, {"README1"}, {"1README"}},
        {"whole numbers up to 2^53 keep every digit",
         {"9007199254740990", "1", "0"},
         {"a.txt", "b.txt", "c.txt"},
         {"a9007199254740990.txt", "b9007199254740991.txt", "c9007199254740992.txt"},
         {"9007199254740990a.txt", "9007199254740991b.txt", "9007199254740992c.txt"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        EngineUnderTest t(row.names);
        RenameEngine &e = *t.engine;
        setValues(e, row.values);
        t.click(e.NumA());
        EXPECT_EQ(t.preview(), row.numA);
        t.click(e.NumB());
        EXPECT_EQ(t.preview(), row.numB);
        t.click(e.Numno());
        EXPECT_EQ(t.preview(), row.names);
    }
}

// NumA goes before the last dotted part of the entry as the other rules left it,
// whatever made that dot, and the strip still gives that entry back exactly.
TEST(Numbering, NumberBeforeTheExtensionFollowsTheEntryAsItStands)
{
    struct Row
    {
        const char *what;
        const char *name;
        std::function<void(EngineUnderTest &)> rule;
        const char *numbered;
    };
    const Row rows[] = {
        {"extension deleted", "letter.old.doc",
         [](EngineUnderTest &t) { t.click(t.engine->ExDel()); }, "letter0.old"},
        {"typed extension with a dot", "photo.jpg",
         [](EngineUnderTest &t) {
             t.click(t.engine->ExRen());
             t.engine->txtEX().userEdit(QStringLiteral("tar.gz"));
         },
         "photo.tar0.gz"},
        {"dot typed after the name", "notes",
         [](EngineUnderTest &t) {
             t.engine->txtFil().userEdit(QStringLiteral(".vw"));
             t.click(t.engine->FilBe());
         },
         "notes0.vw"},
        {"dot taken out by the replace pair", "😀 smile.png",
         [](EngineUnderTest &t) { t.type(t.engine->txtDel(), QStringLiteral(".")); },
         "😀 smilepng0"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        EngineUnderTest t({QString::fromUtf8(row.name)});
        row.rule(t);
        const QString before = t.entry(0);
        t.click(t.engine->NumA());
        EXPECT_EQ(t.entry(0), QString::fromUtf8(row.numbered));
        t.click(t.engine->Numno());
        EXPECT_EQ(t.entry(0), before);
    }
}

// Equal names at execution: numbering at the start, start 1 step 1, over what
// the rules left, old numbers taken out first. Letter case makes names differ.
TEST(Numbering, ExecutionNumbersEqualNamesApart)
{
    struct Row
    {
        const char *what;
        std::function<void(EngineUnderTest &)> rules;
        QStringList resolved;
    };
    const Row rows[] = {
        {"the change rule made names equal",
         [](EngineUnderTest &t) {
             t.engine->txtFil().userEdit(QStringLiteral("x"));
             t.click(t.engine->reFil());
         },
         {"1x.txt", "2x.txt", "3x.TXT"}},
        {"numbering in force left names equal",
         [](EngineUnderTest &t) {
             t.engine->txtFil().userEdit(QStringLiteral("x"));
             t.click(t.engine->reFil());
             t.click(t.engine->NumA()); // start 0, step 0: only the first is numbered
             t.click(t.engine->NB());
         },
         {"1X.TXT", "2X.TXT", "3X.TXT"}},
        {"letter case differs", [](EngineUnderTest &) {}, {"a.txt", "b.txt", "B.TXT"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        EngineUnderTest t({"a.txt", "b.txt", "B.TXT"});
        RenameEngine &e = *t.engine;
        row.rules(t);
        const bool duplicates = t.preview().removeDuplicates() > 0;
        EXPECT_EQ(e.resolveDuplicates(), duplicates);
        EXPECT_EQ(t.preview(), row.resolved);
        EXPECT_EQ(e.NumB().isSelected(), duplicates);
    }
}

TEST(Numbering, StripIsExactAndASecondStripChangesNothing)
{
    EngineUnderTest t({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    RenameEngine &e = *t.engine;
    setValues(e, {"1", "1", "0"});
    t.click(e.NumB());
    EXPECT_EQ(e.NumberTexts(0), QStringLiteral("1"));
    EXPECT_EQ(e.NumberTexts(2), QStringLiteral("NumB"));
    t.click(e.Numno());
    e.Numno_MouseUp();
    EXPECT_EQ(e.NumberTexts(2), QStringLiteral("None"));
    EXPECT_EQ(t.preview(), (QStringList{"a.txt", "b.txt"}));
    e.Numno_Click();
    EXPECT_EQ(t.preview(), (QStringList{"a.txt", "b.txt"}));
    EXPECT_EQ(e.NumRuleCode(), NumRule::Off);
}

// An apply that stops early after a longer one: the entries it did not number must
// come out of the next strip unchanged.
TEST(Numbering, EntriesAStoppedApplyDidNotNumberStayAsTheyAre)
{
    EngineUnderTest t({"a.txt", "b.txt", "c.txt", "d.txt"});
    RenameEngine &e = *t.engine;
    setValues(e, {"10", "1", "0"});
    t.click(e.NumA());
    EXPECT_EQ(t.preview(), (QStringList{"a10.txt", "b11.txt", "c12.txt", "d13.txt"}));
    setValues(e, {"1", "-1", "0"});
    e.CmdNum_Click();
    EXPECT_EQ(t.preview(), (QStringList{"a1.txt", "b.txt", "c.txt", "d.txt"}));
    EXPECT_EQ(e.NumberTexts(1), QString());
    t.click(e.Numno());
    EXPECT_EQ(t.preview(), (QStringList{"a.txt", "b.txt", "c.txt", "d.txt"}));
}

// Fractional numbers, names without extension and names ending in "." keep where
// base name and extension meet through every rule that splits an entry.
TEST(Numbering, NumbersNeverMoveTheExtensionBoundary)
{
    const QStringList names = {"readme", "photo.jpg", "notes.", "a.b.c"};
    struct Row
    {
        const char *what;
        OptionButton &(RenameEngine::*placement)();
        OptionButton &(RenameEngine::*caseRule)();
        QStringList numbered;
        QStringList deleted;  // file-name delete
        QStringList noExt;    // then extension delete
        QStringList restored; // then extension and file-name no change
    };
    const Row rows[] = {
        {"NumA",
         &RenameEngine::NumA,
         &RenameEngine::Nno,
         {"readme0.5", "photo1.5.jpg", "notes.2.5", "a.b3.5.c"},
         {"0.5", "1.5.jpg", "2.5", "3.5.c"},
         {"0.5", "1.5", "2.5", "3.5"},
         {"readme0.5", "photo1.5.jpg", "notes.2.5", "a.b3.5.c"}},
        {"NumB",
         &RenameEngine::NumB,
         &RenameEngine::Nno,
         {"0.5readme", "1.5photo.jpg", "2.5notes.", "3.5a.b.c"},
         {"0.5", "1.5.jpg", "2.5", "3.5.c"},
         {"0.5", "1.5", "2.5", "3.5"},
         {"0.5readme", "1.5photo.jpg", "2.5notes.", "3.5a.b.c"}},
        {"NumA with capitals",
         &RenameEngine::NumA,
         &RenameEngine::NB,
         {"README0.5", "PHOTO1.5.JPG", "NOTES.2.5", "A.B3.5.C"},
         {"0.5", "1.5.JPG", "2.5", "3.5.C"},
         {"0.5", "1.5", "2.5", "3.5"},
         {"readme0.5", "photo1.5.jpg", "notes.2.5", "a.b3.5.c"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        EngineUnderTest t(names);
        RenameEngine &e = *t.engine;
        setValues(e, {"0.5", "1", "0"});
        t.click((e.*row.placement)());
        t.click((e.*row.caseRule)());
        EXPECT_EQ(t.preview(), row.numbered);
        t.click(e.FilDel());
        EXPECT_EQ(t.preview(), row.deleted);
        t.click(e.ExDel());
        EXPECT_EQ(t.preview(), row.noExt);
        t.click(e.ExNo());
        t.click(e.Filno());
        EXPECT_EQ(t.preview(), row.restored);
        t.click(e.Numno());
        for (int i = 0; i < names.size(); ++i)
            EXPECT_EQ(t.entry(i).toLower(), names.at(i));
    }
}

TEST(Numbering, SwitchingPlacementMovesTheNumbers)
{
    EngineUnderTest t({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    RenameEngine &e = *t.engine;
    setValues(e, {"1", "1", "0"});
    t.click(e.NumA());
    EXPECT_EQ(t.preview(), (QStringList{"a1.txt", "b2.txt"}));
    t.click(e.NumB());
    EXPECT_EQ(t.preview(), (QStringList{"1a.txt", "2b.txt"}));
    EXPECT_EQ(e.NumRuleCode(), NumRule::InForce);
    // New values take effect only on the next apply.
    setValues(e, {"7", "2", "0"});
    EXPECT_EQ(t.preview(), (QStringList{"1a.txt", "2b.txt"}));
    e.CmdNum_Click();
    EXPECT_EQ(t.preview(), (QStringList{"7a.txt", "9b.txt"}));
}

TEST(Numbering, TextBoxesHoldOnlyNumbers)
{
    EngineUnderTest t({QStringLiteral("a")});
    RenameEngine &e = *t.engine;
    struct Row
    {
        TextBox &(RenameEngine::*box)();
        const char *typed;
        const char *kept;
    };
    const Row rows[] = {
        {&RenameEngine::txtStart, " 12 ", "12"},   {&RenameEngine::txtStart, "abc", "0"},
        {&RenameEngine::txtStart, "-", "0"},       {&RenameEngine::txtStart, "1,000", "0"},
        {&RenameEngine::txtStart, "-2.5", "-2.5"}, {&RenameEngine::txtStep, " 3 ", "3"},
        {&RenameEngine::txtStep, "x", "1"},        {&RenameEngine::txtStep, "", "1"},
        {&RenameEngine::txtZ, " 2", " 2"},         {&RenameEngine::txtZ, "two", "0"},
        {&RenameEngine::txtZ, "1e3", "0"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.typed);
        TextBox &box = (e.*row.box)();
        box.userEdit(QString::fromLatin1(row.typed));
        EXPECT_EQ(box.text(), QString::fromLatin1(row.kept));
    }
    e.txtStep().userEdit(QStringLiteral("0"));
    e.txtStart().userEdit(QStringLiteral("5"));
    EXPECT_EQ(e.txtStep().text(), QStringLiteral("1"));
    e.txtStep().userEdit(QStringLiteral("0"));
    e.txtStart().userEdit(QStringLiteral("-5"));
    EXPECT_EQ(e.txtStep().text(), QStringLiteral("0"));
    // None of the boxes applies numbering by itself.
    EXPECT_EQ(t.entry(0), QStringLiteral("a"));
}
