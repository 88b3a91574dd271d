#include "EngineFixture.h"

#include <gtest/gtest.h>

using namespace lorvane;
using namespace lorvane::test;

TEST(ReplacePair, FindTakesOutAndWithPutsIn)
{
    EngineUnderTest t({QStringLiteral("banana.txt")});
    RenameEngine &e = *t.engine;
    t.type(e.txtDel(), QStringLiteral("a"));
    EXPECT_EQ(t.entry(0), QStringLiteral("bnn.txt"));
    EXPECT_EQ(e.ReplaceCounts(0), 3);
    t.type(e.txtW(), QStringLiteral("o"));
    EXPECT_EQ(t.entry(0), QStringLiteral("bonono.txt"));
    EXPECT_FALSE(e.txtDel().isEnabled());
    t.type(e.txtW(), QStringLiteral("x"));
    EXPECT_EQ(t.entry(0), QStringLiteral("boxnoxnox.txt"));
    t.backspace(e.txtW());
    t.backspace(e.txtW());
    EXPECT_EQ(t.entry(0), QStringLiteral("bnn.txt"));
    EXPECT_TRUE(e.txtDel().isEnabled());
    t.backspace(e.txtDel());
    EXPECT_EQ(t.entry(0), QStringLiteral("banana.txt"));
    EXPECT_EQ(e.ReplaceCounts(0), 0);
}

TEST(ReplacePair, MatchingIsExactAndSpacesFindNothing)
{
    EngineUnderTest t({QStringLiteral("banana.txt"), QStringLiteral("a b.txt")});
    RenameEngine &e = *t.engine;
    t.type(e.txtDel(), QStringLiteral("A"));
    EXPECT_EQ(t.preview(), (QStringList{"banana.txt", "a b.txt"}));
    e.txtDel().userEdit(QStringLiteral(" "));
    EXPECT_EQ(t.preview(), (QStringList{"banana.txt", "a b.txt"}));
    e.txtDel().userEdit(QStringLiteral("a"));
    t.type(e.txtW(), QStringLiteral(" "));
    EXPECT_EQ(t.preview(), (QStringList{"bnn.txt", " b.txt"}));
    t.type(e.txtW(), QStringLiteral("|"));
    EXPECT_EQ(t.preview(), (QStringList{"b |n |n |.txt", " | b.txt"}));
}

TEST(ReplacePair, WithBoxStaysEmptyWhileTheFindBoxIsEmpty)
{
    EngineUnderTest t({QStringLiteral("banana.txt")});
    RenameEngine &e = *t.engine;
    QString shown = QStringLiteral("unset");
    QObject::connect(&e.txtW(), &TextBox::textChanged, [&](const QString &s) { shown = s; });
    t.type(e.txtW(), QStringLiteral("o"));
    EXPECT_EQ(e.txtW().text(), QString());
    EXPECT_EQ(shown, QString());
    EXPECT_TRUE(e.txtDel().isEnabled());
    EXPECT_EQ(t.entry(0), QStringLiteral("banana.txt"));
}

// The with text comes out only where the pair put it: an "o" that the name had of
// its own stays.
TEST(ReplacePair, WithTextThatAlsoOccursInTheNameComesOutOnlyWhereItWasPut)
{
    EngineUnderTest t({QStringLiteral("bob")});
    RenameEngine &e = *t.engine;
    t.type(e.txtDel(), QStringLiteral("b"));
    t.type(e.txtW(), QStringLiteral("o"));
    EXPECT_EQ(t.entry(0), QStringLiteral("ooo"));
    t.type(e.txtW(), QStringLiteral("x"));
    EXPECT_EQ(t.entry(0), QStringLiteral("oxoox"));
    t.backspace(e.txtW());
    t.backspace(e.txtW());
    t.backspace(e.txtDel());
    EXPECT_EQ(t.entry(0), QStringLiteral("bob"));
}

TEST(ReplacePair, EveryOccurrenceComesBackExactly)
{
    QString name;
    for (int i = 0; i < 25; ++i)
        name += QStringLiteral("x-");
    name += QStringLiteral(".x");
    EngineUnderTest t({name});
    RenameEngine &e = *t.engine;
    t.type(e.txtDel(), QStringLiteral("x"));
    EXPECT_EQ(e.ReplaceCounts(0), 26);
    EXPECT_EQ(t.entry(0), QString(25, u'-') + u'.');
    t.type(e.txtW(), QStringLiteral("yz"));
    EXPECT_EQ(t.entry(0), QString(name).replace(u'x', QStringLiteral("yz")));
    t.backspace(e.txtW());
    t.backspace(e.txtW());
    t.backspace(e.txtDel());
    EXPECT_EQ(t.entry(0), name);
}

// A name that is nothing but occurrences of the find text.
TEST(ReplacePair, NameMadeOfTheFindTextIsReplacedAndRestored)
{
    EngineUnderTest t({QStringLiteral("aaa")});
    RenameEngine &e = *t.engine;
    t.type(e.txtDel(), QStringLiteral("a"));
    EXPECT_EQ(t.entry(0), QString());
    t.type(e.txtW(), QStringLiteral("o"));
    EXPECT_EQ(t.entry(0), QStringLiteral("ooo"));
    t.backspace(e.txtW());
    t.backspace(e.txtDel());
    EXPECT_EQ(t.entry(0), QStringLiteral("aaa"));
}

// Paste, cut and undo change the boxes without a key press; the previous text is
// still the one the entries were split at.
TEST(ReplacePair, ChangesWithoutKeyPressRestoreExactly)
{
    EngineUnderTest t({QStringLiteral("banana.txt"), QStringLiteral("cabana.txt")});
    RenameEngine &e = *t.engine;
    e.txtDel().userEdit(QStringLiteral("an")); // paste
    EXPECT_EQ(t.preview(), (QStringList{"ba.txt", "caba.txt"}));
    e.txtDel().userEdit(QStringLiteral("na")); // paste over the selection
    EXPECT_EQ(t.preview(), (QStringList{"ba.txt", "caba.txt"}));
    e.txtW().userEdit(QStringLiteral("NA"));
    EXPECT_EQ(t.preview(), (QStringList{"baNANA.txt", "cabaNA.txt"}));
    e.txtW().userEdit(QStringLiteral("_")); // paste over the selection
    EXPECT_EQ(t.preview(), (QStringList{"ba__.txt", "caba_.txt"}));
    e.txtW().userEdit(QString());   // cut
    e.txtDel().userEdit(QString()); // cut
    EXPECT_EQ(t.preview(), (QStringList{"banana.txt", "cabana.txt"}));
}

// After a rebuild the entries no longer hold what the pair put in; taking the with
// text out again must not cut the name's own characters.
TEST(ReplacePair, RebuildDropsTheReplaceStateInsteadOfCorruptingNames)
{
    struct Row
    {
        const char *what;
        OptionButton &(RenameEngine::*rule)();
        QStringList rebuilt;
    };
    const Row rows[] = {
        {"no other rule", &RenameEngine::Nno, {"photo.jpg", "logo.png"}},
        {"capital letters", &RenameEngine::NB, {"PHOTO.JPG", "LOGO.PNG"}},
        {"numbering NumA", &RenameEngine::NumA, {"photo1.jpg", "logo2.png"}},
        {"numbering NumB", &RenameEngine::NumB, {"1photo.jpg", "2logo.png"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        EngineUnderTest t({QStringLiteral("photo.jpg"), QStringLiteral("logo.png")});
        RenameEngine &e = *t.engine;
        e.txtStart().userEdit(QStringLiteral("1"));
        t.click((e.*row.rule)());
        t.type(e.txtDel(), QStringLiteral("p"));
        t.type(e.txtW(), QStringLiteral("o"));
        e.folderListed(); // the same folder listed again: a rebuild
        EXPECT_EQ(t.preview(), row.rebuilt);
        t.backspace(e.txtW());
        EXPECT_EQ(t.preview(), row.rebuilt);
        t.backspace(e.txtDel());
        EXPECT_EQ(t.preview(), row.rebuilt);
    }
}

TEST(ReplacePair, AnotherRuleRewritingAnEntryResetsItsReplaceState)
{
    EngineUnderTest t({QStringLiteral("banana.txt"), QStringLiteral("kiwi.txt")});
    RenameEngine &e = *t.engine;
    t.type(e.txtDel(), QStringLiteral("a"));
    t.click(e.NB());
    EXPECT_EQ(t.preview(), (QStringList{"BNN.TXT", "KIWI.TXT"}));
    EXPECT_EQ(e.ReplaceCounts(0), 0);
    // Nothing is left for the pair to put back or rebuild.
    t.type(e.txtW(), QStringLiteral("o"));
    EXPECT_EQ(t.preview(), (QStringList{"BNN.TXT", "KIWI.TXT"}));
    t.backspace(e.txtW());
    t.backspace(e.txtDel());
    EXPECT_EQ(t.preview(), (QStringList{"BNN.TXT", "KIWI.TXT"}));
}

TEST(ReplacePair, ExtensionRuleKeepsReplacedBaseNamesAndEndsTheReplaceState)
{
    EngineUnderTest t({QStringLiteral("banana.txt"), QStringLiteral("nut")});
    RenameEngine &e = *t.engine;
    t.type(e.txtDel(), QStringLiteral("n"));
    EXPECT_EQ(t.preview(), (QStringList{"baaa.txt", "ut"}));
    t.click(e.ExRen());
    t.type(e.txtEX(), QStringLiteral("md"));
    EXPECT_EQ(t.preview(), (QStringList{"baaa.md", "ut.md"}));
    EXPECT_EQ(e.ReplaceCounts(0), 0);
    t.backspace(e.txtDel());
    EXPECT_EQ(t.preview(), (QStringList{"baaa.md", "ut.md"}));
}

TEST(ReplacePair, FindTextAcrossTheExtensionDotAndInsideTheExtension)
{
    EngineUnderTest t({QStringLiteral("photo.jpg"), QStringLiteral("a.b.c")});
    RenameEngine &e = *t.engine;
    t.type(e.txtDel(), QStringLiteral("."));
    EXPECT_EQ(t.preview(), (QStringList{"photojpg", "abc"}));
    t.type(e.txtW(), QStringLiteral("_"));
    EXPECT_EQ(t.preview(), (QStringList{"photo_jpg", "a_b_c"}));
    t.backspace(e.txtW());
    e.txtDel().userEdit(QStringLiteral("o.j"));
    EXPECT_EQ(t.preview(), (QStringList{"photpg", "a.b.c"}));
    e.txtDel().userEdit(QString());
    EXPECT_EQ(t.preview(), (QStringList{"photo.jpg", "a.b.c"}));
    // The extension rules still find the folder's boundary afterwards.
    t.click(e.ExDel());
    EXPECT_EQ(t.preview(), (QStringList{"photo", "a.b"}));
}

// The running number belongs to the numbering rule; the pair never cuts into it.
TEST(ReplacePair, RunningNumbersAreNotReplaced)
{
    EngineUnderTest t({QStringLiteral("a1.txt"), QStringLiteral("b.txt")});
    RenameEngine &e = *t.engine;
    e.txtStart().userEdit(QStringLiteral("1"));
    t.click(e.NumA());
    EXPECT_EQ(t.preview(), (QStringList{"a11.txt", "b2.txt"}));
    t.type(e.txtDel(), QStringLiteral("1"));
    EXPECT_EQ(t.preview(), (QStringList{"a1.txt", "b2.txt"}));
    t.click(e.Numno());
    EXPECT_EQ(t.preview(), (QStringList{"a.txt", "b.txt"}));
    t.backspace(e.txtDel());
    EXPECT_EQ(t.preview(), (QStringList{"a1.txt", "b.txt"}));
}

TEST(ReplacePair, ArabicNamesAreReplacedLikeAnyOther)
{
    EngineUnderTest t({QStringLiteral("صورة العائلة.jpg"), QStringLiteral("العائلة.png")});
    RenameEngine &e = *t.engine;
    t.type(e.txtDel(), QStringLiteral("العائلة"));
    t.type(e.txtW(), QStringLiteral("الرحلة"));
    EXPECT_EQ(t.preview(), (QStringList{"صورة الرحلة.jpg", "الرحلة.png"}));
}

// Under the change rule every entry shares one base name; the pair and the case
// rules must still treat each entry on its own.
TEST(ReplacePair, WorksOnTheSharedBaseNameOfTheChangeRule)
{
    EngineUnderTest t({QStringLiteral("a.jpg"), QStringLiteral("b"), QStringLiteral("c.xx")});
    RenameEngine &e = *t.engine;
    t.click(e.reFil());
    t.type(e.txtFil(), QStringLiteral("xox"));
    t.click(e.NS());
    EXPECT_EQ(t.preview(), (QStringList{"Xox.jpg", "Xox", "Xox.xx"}));
    t.type(e.txtDel(), QStringLiteral("x"));
    EXPECT_EQ(t.preview(), (QStringList{"Xo.jpg", "Xo", "Xo."}));
    t.type(e.txtW(), QStringLiteral("-"));
    EXPECT_EQ(t.preview(), (QStringList{"Xo-.jpg", "Xo-", "Xo-.--"}));
    // A keystroke in txtFil rewrites every base name: the pair lets go of them.
    t.clickInto(e.txtFil());
    t.type(e.txtFil(), QStringLiteral("y"));
    EXPECT_EQ(t.preview(), (QStringList{"Xoxy.jpg", "Xoxy", "Xoxy.--"}));
    EXPECT_EQ(e.ReplaceCounts(0), 0);
    EXPECT_EQ(e.ReplaceCounts(2), 0);
    t.backspace(e.txtW());
    EXPECT_EQ(t.preview(), (QStringList{"Xoxy.jpg", "Xoxy", "Xoxy.--"}));
}
