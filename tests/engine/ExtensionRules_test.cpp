#include "EngineFixture.h"

#include <gtest/gtest.h>

using namespace lorvane;
using namespace lorvane::test;

TEST(ExtensionRules, DeleteChangeAndNoChange)
{
    EngineUnderTest t(
        {QStringLiteral("photo.jpg"), QStringLiteral("readme"), QStringLiteral("archive.tar.gz")});
    RenameEngine &e = *t.engine;
    EXPECT_FALSE(e.txtEX().isEnabled());
    t.click(e.ExDel());
    EXPECT_EQ(t.preview(), (QStringList{"photo", "readme", "archive.tar"}));
    EXPECT_EQ(e.ExtRuleCode(), ExtRule::Delete);
    t.click(e.ExRen());
    EXPECT_TRUE(e.txtEX().isEnabled());
    EXPECT_EQ(e.focusControl(), QStringLiteral("txtEX"));
    EXPECT_EQ(t.preview(), (QStringList{"photo.", "readme.", "archive.tar."}));
    t.type(e.txtEX(), QStringLiteral("zip"));
    EXPECT_EQ(t.preview(), (QStringList{"photo.zip", "readme.zip", "archive.tar.zip"}));
    EXPECT_EQ(e.ExtRuleCode(), ExtRule::Change);
    t.click(e.ExNo());
    EXPECT_EQ(t.preview(), (QStringList{"photo.jpg", "readme", "archive.tar.gz"}));
    EXPECT_FALSE(e.txtEX().isEnabled());
    EXPECT_EQ(e.ExtRuleCode(), ExtRule::NoChange);
}

TEST(ExtensionRules, ChangeWithNothingTypedShowsTheDotOnlyWhileTheBoxHasTheFocus)
{
    EngineUnderTest t({QStringLiteral("photo.jpg"), QStringLiteral("readme")});
    RenameEngine &e = *t.engine;
    QStringList focusMoves;
    QObject::connect(&e, &RenameEngine::focusRequested,
                     [&](const QString &name) { focusMoves.append(name); });
    t.click(e.ExRen());
    EXPECT_EQ(focusMoves, QStringList{"txtEX"});
    EXPECT_EQ(t.preview(), (QStringList{"photo.", "readme."}));
    e.setFocusControl(QStringLiteral("txtFil"));
    EXPECT_EQ(t.preview(), (QStringList{"photo", "readme"}));
    EXPECT_TRUE(e.ExtStripped());
    t.clickInto(e.txtEX());
    EXPECT_EQ(t.preview(), (QStringList{"photo.", "readme."}));
    t.type(e.txtEX(), QStringLiteral("png"));
    EXPECT_EQ(t.preview(), (QStringList{"photo.png", "readme.png"}));
    t.backspace(e.txtEX());
    t.backspace(e.txtEX());
    t.backspace(e.txtEX());
    EXPECT_EQ(t.preview(), (QStringList{"photo.", "readme."}));
    t.click(e.ExNo());
    EXPECT_EQ(t.preview(), (QStringList{"photo.jpg", "readme"}));
}

// Leaving and entering the change rule again and again with no extension typed takes
// off only the dot the rule appended, never a character of the names.
TEST(ExtensionRules, FocusMovesNeverCutRealCharacters)
{
    EngineUnderTest t(
        {QStringLiteral("photo.jpg"), QStringLiteral("readme"), QStringLiteral("x.y")});
    RenameEngine &e = *t.engine;
    t.click(e.FilDel()); // "readme" becomes the empty entry
    t.click(e.ExRen());
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        e.setFocusControl(QStringLiteral("ExRen"));
        e.setFocusControl(QStringLiteral("Nno"));
        EXPECT_EQ(t.preview(), (QStringList{"", "", ""}));
    }
    t.click(e.Filno());
    EXPECT_EQ(t.preview(), (QStringList{"photo", "readme", "x"}));
    for (int round = 0; round < 3; ++round) {
        e.setFocusControl(QStringLiteral("ExRen"));
        e.setFocusControl(QStringLiteral("txtEX"));
        e.setFocusControl(QStringLiteral("ExRen"));
        e.setFocusControl(QStringLiteral("NB"));
    }
    EXPECT_EQ(t.preview(), (QStringList{"photo", "readme", "x"}));
    t.click(e.ExNo());
    EXPECT_EQ(t.preview(), (QStringList{"photo.jpg", "readme", "x.y"}));
}

// Delete right after the change rule with an empty extension: no change must then
// give back the folder's extension, not cut the name at its next dot.
TEST(ExtensionRules, NoChangeAfterDeleteGivesBackTheFolderExtension)
{
    struct Row
    {
        const char *what;
        OptionButton &(RenameEngine::*rule)();
        const char *afterDelete;
        const char *afterNoChange;
    };
    const Row rows[] = {
        {"no other rule", &RenameEngine::Nno, "archive.tar", "archive.tar.gz"},
        {"capital letters", &RenameEngine::NB, "ARCHIVE.TAR", "ARCHIVE.TAR.gz"},
        {"numbering NumA", &RenameEngine::NumA, "archive1.tar", "archive.tar1.gz"},
        {"numbering NumB", &RenameEngine::NumB, "1archive.tar", "1archive.tar.gz"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        EngineUnderTest t({QStringLiteral("archive.tar.gz")});
        RenameEngine &e = *t.engine;
        e.txtStart().userEdit(QStringLiteral("1"));
        t.click((e.*row.rule)());
        t.click(e.ExRen());
        t.click(e.ExDel());
        EXPECT_EQ(t.entry(0), QString::fromUtf8(row.afterDelete));
        EXPECT_EQ(e.ExtRuleCode(), ExtRule::Delete);
        EXPECT_TRUE(e.ExtStripped());
        t.click(e.ExNo());
        EXPECT_EQ(t.entry(0), QString::fromUtf8(row.afterNoChange));
        // And once more through delete with an extension typed.
        t.click(e.ExRen());
        t.type(e.txtEX(), QStringLiteral("z"));
        t.click(e.ExDel());
        t.click(e.ExNo());
        EXPECT_EQ(t.entry(0), QString::fromUtf8(row.afterNoChange));
    }
}

TEST(ExtensionRules, TypedExtensionIsTrimmedKeptWholeAndRefusesCharacters)
{
    EngineUnderTest t({QStringLiteral("photo.jpg")});
    RenameEngine &e = *t.engine;
    int caretRequests = 0;
    QObject::connect(&e.txtEX(), &TextBox::caretToEndRequested, [&] { ++caretRequests; });
    t.click(e.ExRen());
    t.type(e.txtEX(), QStringLiteral(" "));
    EXPECT_EQ(e.txtEX().text(), QString());
    t.type(e.txtEX(), QStringLiteral("tar.gz"));
    EXPECT_FALSE(t.type(e.txtEX(), QStringLiteral(":")));
    EXPECT_EQ(caretRequests, 1);
    e.txtEX().userEdit(QStringLiteral("tar.gz "));
    EXPECT_EQ(e.txtEX().text(), QStringLiteral("tar.gz"));
    e.txtEX().userEdit(QStringLiteral("tar*.gz")); // pasted
    EXPECT_EQ(e.txtEX().text(), QStringLiteral("tar.gz"));
    EXPECT_EQ(t.entry(0), QStringLiteral("photo.tar.gz"));
    t.click(e.ExNo());
    EXPECT_EQ(t.entry(0), QStringLiteral("photo.jpg"));
}

TEST(ExtensionRules, ExtensionRulesKeepTheFileNameRule)
{
    EngineUnderTest t({QStringLiteral("photo.jpg")});
    RenameEngine &e = *t.engine;
    t.click(e.reFil());
    t.type(e.txtFil(), QStringLiteral("new"));
    t.click(e.ExNo());
    EXPECT_EQ(t.entry(0), QStringLiteral("new.jpg"));
    t.click(e.ExDel());
    EXPECT_EQ(t.entry(0), QStringLiteral("new"));
    t.click(e.ExRen());
    t.type(e.txtEX(), QStringLiteral("png"));
    // A keystroke in txtFil keeps the typed extension, and the next keystroke in
    // txtEX keeps the typed base name.
    t.clickInto(e.txtFil());
    t.type(e.txtFil(), QStringLiteral("er"));
    EXPECT_EQ(t.entry(0), QStringLiteral("newer.png"));
    t.clickInto(e.txtEX());
    t.type(e.txtEX(), QStringLiteral("8"));
    EXPECT_EQ(t.entry(0), QStringLiteral("newer.png8"));
}

// Insert before and the extension change rule each keep their own source: clicking
// one never makes the other build names from its saved names.
TEST(ExtensionRules, InsertBeforeAndExtensionChangeDoNotShareSavedNames)
{
    EngineUnderTest t({QStringLiteral("photo.jpg"), QStringLiteral("readme")});
    RenameEngine &e = *t.engine;
    t.click(e.ExRen());
    t.type(e.txtEX(), QStringLiteral("png"));
    e.txtFil().userEdit(QStringLiteral("x"));
    t.click(e.FilAf());
    EXPECT_EQ(t.preview(), (QStringList{"xphoto.png", "xreadme.png"}));
    t.clickInto(e.txtEX());
    t.type(e.txtEX(), QStringLiteral("2"));
    EXPECT_EQ(t.preview(), (QStringList{"xphoto.png2", "xreadme.png2"}));
    t.clickInto(e.txtFil());
    t.type(e.txtFil(), QStringLiteral("y"));
    EXPECT_EQ(t.preview(), (QStringList{"xyphoto.png2", "xyreadme.png2"}));
    e.Nno_Click();
    EXPECT_EQ(t.preview(), (QStringList{"xyphoto.png2", "xyreadme.png2"}));
}

TEST(ExtensionRules, FilterListsMatchingFilesAndKeepsTheRules)
{
    EngineUnderTest t({QStringLiteral("a.jpg"), QStringLiteral("b.png"), QStringLiteral("C.JPG"),
                       QStringLiteral("d")});
    RenameEngine &e = *t.engine;
    int resets = 0;
    QObject::connect(&e.List1(), &PreviewList::entriesReset, [&] { ++resets; });
    t.click(e.NB());
    t.type(e.txtP(), QStringLiteral("jpg"));
    EXPECT_EQ(t.files.pattern(), QStringLiteral("*.jpg"));
    EXPECT_EQ(t.preview(), (QStringList{"A.JPG", "C.JPG"}));
    EXPECT_EQ(resets, 1);
    e.txtP().userEdit(QStringLiteral(" . "));
    EXPECT_EQ(e.txtP().text(), QStringLiteral("."));
    EXPECT_EQ(t.files.pattern(), QStringLiteral("*.*"));
    EXPECT_EQ(t.preview(), (QStringList{"A.JPG", "B.PNG", "C.JPG", "D"}));
    e.txtP().userEdit(QString());
    EXPECT_EQ(t.files.pattern(), QStringLiteral("*.*"));
    EXPECT_EQ(t.preview().size(), 4);
}
