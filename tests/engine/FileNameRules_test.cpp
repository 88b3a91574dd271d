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
    EXPECT_EQ(e.FileRuleCode(), 1);

    t.click(e.reFil());
    EXPECT_EQ(e.focusControl(), QStringLiteral("txtFil"));
    t.type(e.txtFil(), QStringLiteral("new"));
    EXPECT_EQ(t.preview(), (QStringList{"new.jpg", "new", "new.gz"}));
    EXPECT_EQ(e.FileRuleCode(), 1);

    e.txtFil().userEdit(QStringLiteral("x"));
    t.click(e.FilAf());
    EXPECT_EQ(t.preview(), (QStringList{"xphoto.jpg", "xreadme", "xarchive.tar.gz"}));
    EXPECT_EQ(e.FileRuleCode(), 3);

    t.click(e.FilBe());
    EXPECT_EQ(t.preview(), (QStringList{"photox.jpg", "readmex", "archive.tarx.gz"}));
    EXPECT_EQ(e.FileRuleCode(), 0);

    t.click(e.Filno());
    EXPECT_EQ(t.preview(), kNames);
    EXPECT_EQ(e.FileRuleCode(), 0);
}

TEST(FileNameRules, InsertBeforeStartsEveryKeystrokeFromTheSnapshot)
{
    EngineUnderTest t({QStringLiteral("photo.jpg")});
    RenameEngine &e = *t.engine;
    t.click(e.FilAf());
    EXPECT_EQ(e.FileRuleCode(), 0);
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
