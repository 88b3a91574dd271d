#include "EngineFixture.h"

#include <gtest/gtest.h>

using namespace lorvane;
using namespace lorvane::test;

namespace {

const QStringList kNames = {QStringLiteral("photo.jpg"), QStringLiteral("readme"),
                            QStringLiteral("archive.tar.gz")};

} // namespace

TEST(FileNameRules, EachOptionRewritesTheBaseName)
{
    EngineUnderTest t(kNames);
    RenameEngine &e = *t.engine;
    EXPECT_EQ(t.preview(), kNames);

    t.click(e.FilDel());
    EXPECT_EQ(t.preview(), (QStringList{".jpg", "", ".gz"}));
    EXPECT_EQ(e.FileRuleCode(), FileRule::Delete);

    t.click(e.reFil());
    EXPECT_EQ(e.focusControl(), QStringLiteral("txtFil"));
    t.type(e.txtFil(), QStringLiteral("new"));
    EXPECT_EQ(t.preview(), (QStringList{"new.jpg", "new", "new.gz"}));
    EXPECT_EQ(e.FileRuleCode(), FileRule::Delete);

    e.txtFil().userEdit(QStringLiteral("x"));
    t.click(e.FilAf());
    EXPECT_EQ(t.preview(), (QStringList{"xphoto.jpg", "xreadme", "xarchive.tar.gz"}));
    EXPECT_EQ(e.FileRuleCode(), FileRule::InsertBefore);

    t.click(e.FilBe());
    EXPECT_EQ(t.preview(), (QStringList{"photox.jpg", "readmex", "archive.tarx.gz"}));
    EXPECT_EQ(e.FileRuleCode(), FileRule::NoChange);

    t.click(e.Filno());
    EXPECT_EQ(t.preview(), kNames);
    EXPECT_EQ(e.FileRuleCode(), FileRule::NoChange);
}

TEST(FileNameRules, InsertBeforeStartsEveryKeystrokeFromTheSnapshot)
{
    EngineUnderTest t({QStringLiteral("photo.jpg")});
    RenameEngine &e = *t.engine;
    t.click(e.FilAf());
    EXPECT_EQ(e.FileRuleCode(), FileRule::NoChange);
    t.type(e.txtFil(), QStringLiteral("a"));
    EXPECT_EQ(t.entry(0), QStringLiteral("aphoto.jpg"));
    t.type(e.txtFil(), QStringLiteral("b"));
    EXPECT_EQ(t.entry(0), QStringLiteral("abphoto.jpg"));
    t.backspace(e.txtFil());
    t.backspace(e.txtFil());
    EXPECT_EQ(t.entry(0), QStringLiteral("photo.jpg"));
}

TEST(FileNameRules, RefusedCharactersNeverReachTheText)
{
    EngineUnderTest t({QStringLiteral("photo.jpg")});
    RenameEngine &e = *t.engine;
    int caretRequests = 0;
    QObject::connect(&e.txtFil(), &TextBox::caretToEndRequested, [&] { ++caretRequests; });
    t.click(e.reFil());
    t.type(e.txtFil(), QStringLiteral("ab"));
    EXPECT_FALSE(t.type(e.txtFil(), QStringLiteral("?")));
    EXPECT_EQ(caretRequests, 1);
    EXPECT_EQ(e.txtFil().text(), QStringLiteral("ab"));
    // Pasted text loses them as well.
    QString shown;
    QObject::connect(&e.txtFil(), &TextBox::textChanged, [&](const QString &s) { shown = s; });
    e.txtFil().userEdit(QStringLiteral("a<b>c:d"));
    EXPECT_EQ(e.txtFil().text(), QStringLiteral("abcd"));
    EXPECT_EQ(shown, QStringLiteral("abcd"));
    EXPECT_EQ(t.entry(0), QStringLiteral("abcd.jpg"));
    // The with box refuses nothing.
    EXPECT_TRUE(e.txtW().keyPress(QStringLiteral("?")));
}

TEST(FileNameRules, NoChangeRestoresTheFolderBaseNameButKeepsTheExtensionAsItStands)
{
    EngineUnderTest t({QStringLiteral("photo.jpg")});
    RenameEngine &e = *t.engine;
    t.click(e.NB());
    EXPECT_EQ(t.entry(0), QStringLiteral("PHOTO.JPG"));
    t.click(e.FilDel());
    t.click(e.Filno());
    EXPECT_EQ(t.entry(0), QStringLiteral("photo.JPG"));
}

TEST(FileNameRules, TypingReappliesTheLetterCaseRule)
{
    EngineUnderTest t({QStringLiteral("photo.jpg"), QStringLiteral("Notes.TXT")});
    RenameEngine &e = *t.engine;
    t.click(e.NB());
    t.click(e.reFil());
    t.type(e.txtFil(), QStringLiteral("ab"));
    EXPECT_EQ(t.preview(), (QStringList{"AB.JPG", "AB.TXT"}));
    t.click(e.NF());
    t.type(e.txtFil(), QStringLiteral("C"));
    EXPECT_EQ(t.preview(), (QStringList{"abc.jpg", "abc.txt"}));
}

// Text typed into txtFil may contain dots; the boundary between base name and
// extension stays the folder name's, so the next keystroke does not take the typed
// dot for an extension.
TEST(FileNameRules, DotsInTheTypedTextNeverBecomeTheExtension)
{
    EngineUnderTest t({QStringLiteral("readme"), QStringLiteral("photo.jpg")});
    RenameEngine &e = *t.engine;
    t.click(e.reFil());
    t.type(e.txtFil(), QStringLiteral("new.x"));
    EXPECT_EQ(t.preview(), (QStringList{"new.x", "new.x.jpg"}));
    t.type(e.txtFil(), QStringLiteral("y"));
    EXPECT_EQ(t.preview(), (QStringList{"new.xy", "new.xy.jpg"}));
    t.click(e.FilBe());
    EXPECT_EQ(t.preview(), (QStringList{"readmenew.xy", "photonew.xy.jpg"}));
    t.click(e.ExDel());
    EXPECT_EQ(t.preview(), (QStringList{"readmenew.xy", "photonew.xy"}));
    t.click(e.FilDel());
    EXPECT_EQ(t.preview(), (QStringList{"", ""}));
}

TEST(FileNameRules, RulesKeepTheNumbersInStep)
{
    struct Row
    {
        const char *what;
        OptionButton &(RenameEngine::*placement)();
        QStringList change;      // reFil, txtFil "n"
        QStringList insertAfter; // FilBe, txtFil "n"
        QStringList insertBefore;
        QStringList deleted;
    };
    const Row rows[] = {
        {"NumA",
         &RenameEngine::NumA,
         {"n1.jpg", "n2"},
         {"photon1.jpg", "readmen2"},
         {"nphoto1.jpg", "nreadme2"},
         {"1.jpg", "2"}},
        {"NumB",
         &RenameEngine::NumB,
         {"1n.jpg", "2n"},
         {"1photon.jpg", "2readmen"},
         {"1nphoto.jpg", "2nreadme"},
         {"1.jpg", "2"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        EngineUnderTest t({QStringLiteral("photo.jpg"), QStringLiteral("readme")});
        RenameEngine &e = *t.engine;
        e.txtStart().userEdit(QStringLiteral("1"));
        t.click((e.*row.placement)());
        e.txtFil().userEdit(QStringLiteral("n"));
        t.click(e.reFil());
        EXPECT_EQ(t.preview(), row.change);
        t.type(e.txtFil(), QStringLiteral("x"));
        t.backspace(e.txtFil());
        EXPECT_EQ(t.preview(), row.change);
        t.click(e.FilBe());
        EXPECT_EQ(t.preview(), row.insertAfter);
        t.click(e.FilAf());
        EXPECT_EQ(t.preview(), row.insertBefore);
        t.click(e.FilDel());
        EXPECT_EQ(t.preview(), row.deleted);
        t.click(e.Filno());
        t.click(e.Numno());
        EXPECT_EQ(t.preview(), (QStringList{"photo.jpg", "readme"}));
    }
}

TEST(FileNameRules, RuleCodesRestWhereTheHandlersLeaveThem)
{
    EngineUnderTest t({QStringLiteral("photo.jpg")});
    RenameEngine &e = *t.engine;
    t.click(e.FilAf());
    EXPECT_EQ(e.FileRuleCode(), FileRule::NoChange); // nothing typed yet
    t.type(e.txtFil(), QStringLiteral("a"));
    EXPECT_EQ(e.FileRuleCode(), FileRule::InsertBefore);
    t.click(e.FilBe());
    EXPECT_EQ(e.FileRuleCode(), FileRule::NoChange);
    t.click(e.reFil());
    EXPECT_EQ(e.FileRuleCode(), FileRule::Delete);
    EXPECT_EQ(t.entry(0), QStringLiteral("a.jpg"));
}

TEST(FileNameRules, EmptyTextLeavesChangeAndInsertRulesUnapplied)
{
    EngineUnderTest t({QStringLiteral("photo.jpg"), QStringLiteral("readme")});
    RenameEngine &e = *t.engine;
    t.click(e.reFil());
    EXPECT_EQ(t.preview(), (QStringList{".jpg", ""}));
    t.click(e.FilAf());
    EXPECT_EQ(t.preview(), (QStringList{"photo.jpg", "readme"}));
    t.click(e.FilBe());
    EXPECT_EQ(t.preview(), (QStringList{"photo.jpg", "readme"}));
}

TEST(FileNameRules, AnEmptyFolderLeavesEveryRuleWithNothingToDo)
{
    EngineUnderTest t({});
    RenameEngine &e = *t.engine;
    int published = 0;
    QObject::connect(&e.List1(), &PreviewList::entriesChanged, [&] { ++published; });
    for (OptionButton *o : {&e.FilDel(), &e.reFil(), &e.FilAf(), &e.FilBe(), &e.ExDel(), &e.ExRen(),
                            &e.NumA(), &e.NB(), &e.NS(), &e.Nno()})
        t.click(*o);
    t.type(e.txtFil(), QStringLiteral("x"));
    t.type(e.txtDel(), QStringLiteral("a"));
    t.type(e.txtW(), QStringLiteral("b"));
    e.CmdNum_Click();
    EXPECT_TRUE(t.preview().isEmpty());
    EXPECT_EQ(published, 0);
}
