#include "EngineFixture.h"

#include <gtest/gtest.h>

using namespace lorvane;
using namespace lorvane::test;

TEST(LetterCase, CapitalSmallAndFirstCapital)
{
    const QStringList names = {"My Photo.JPG", "2004 holiday.jpg", "12abc.txt",   "123",
                               "straße.txt",   "ǆemal.txt",        "صورة Ab.jpg", "-x.txt"};
    EngineUnderTest t(names);
    RenameEngine &e = *t.engine;
    t.click(e.NB());
    EXPECT_EQ(t.preview(), (QStringList{"MY PHOTO.JPG", "2004 HOLIDAY.JPG", "12ABC.TXT", "123",
                                        "STRAßE.TXT", "ǄEMAL.TXT", "صورة AB.JPG", "-X.TXT"}));
    EXPECT_EQ(e.CaseRuleCode(), CaseRule::Capital);
    t.click(e.NF());
    EXPECT_EQ(t.preview(), (QStringList{"my photo.jpg", "2004 holiday.jpg", "12abc.txt", "123",
                                        "straße.txt", "ǆemal.txt", "صورة ab.jpg", "-x.txt"}));
    EXPECT_EQ(e.CaseRuleCode(), CaseRule::Small);
    t.click(e.NS());
    EXPECT_EQ(t.preview(), (QStringList{"My photo.jpg", "2004 holiday.jpg", "12Abc.txt", "123",
                                        "Straße.txt", "Ǆemal.txt", "صورة ab.jpg", "-x.txt"}));
    EXPECT_EQ(e.CaseRuleCode(), CaseRule::FirstCapital);
    t.click(e.Nno());
    EXPECT_EQ(t.preview(), names);
    EXPECT_EQ(e.CaseRuleCode(), CaseRule::NoChange);
}

TEST(LetterCase, CaseRulesNeverChangeTheLengthOfAName)
{
    const QStringList names = {"ﬁle.txt", "İstanbul.txt", "ŉ.txt", "ΐ.txt", "ﬀ", "\U00010428.txt"};
    EngineUnderTest t(names);
    RenameEngine &e = *t.engine;
    for (OptionButton *rule : {&e.NB(), &e.NF(), &e.NS()}) {
        SCOPED_TRACE(rule->objectName().toStdString());
        t.click(*rule);
        for (int i = 0; i < names.size(); ++i)
            EXPECT_EQ(t.entry(i).size(), names.at(i).size()) << names.at(i).toStdString();
    }
    t.click(e.NB());
    EXPECT_EQ(t.entry(5), QStringLiteral("\U00010400.TXT"));
    EXPECT_EQ(t.entry(3), QStringLiteral("ΐ.TXT")); // no one-letter capital form
    t.click(e.NF());
    EXPECT_EQ(t.entry(1), QStringLiteral("istanbul.txt"));
}

TEST(LetterCase, TypedExtensionKeepsItsCaseUntilTheRuleRunsAgain)
{
    EngineUnderTest t({QStringLiteral("photo.jpg")});
    RenameEngine &e = *t.engine;
    t.click(e.NB());
    t.click(e.ExRen());
    t.type(e.txtEX(), QStringLiteral("png"));
    EXPECT_EQ(t.entry(0), QStringLiteral("PHOTO.png"));
    t.click(e.reFil());
    t.type(e.txtFil(), QStringLiteral("a"));
    EXPECT_EQ(t.entry(0), QStringLiteral("A.PNG"));
}

TEST(LetterCase, FirstCapitalLooksAtTheWholeEntryWithItsNumber)
{
    struct Row
    {
        const char *what;
        OptionButton &(RenameEngine::*placement)();
        const char *start;
        const char *expected;
    };
    const Row rows[] = {
        {"number in front", &RenameEngine::NumB, "1", "1Photo.jpg"},
        {"fractional number in front", &RenameEngine::NumB, "0.5", "0.5photo.jpg"},
        {"negative number in front", &RenameEngine::NumB, "-3", "-3photo.jpg"},
        {"number behind the base name", &RenameEngine::NumA, "1", "Photo1.jpg"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        EngineUnderTest t({QStringLiteral("PHOTO.JPG")});
        RenameEngine &e = *t.engine;
        e.txtStart().userEdit(QString::fromLatin1(row.start));
        t.click((e.*row.placement)());
        t.click(e.NS());
        EXPECT_EQ(t.entry(0), QString::fromUtf8(row.expected));
    }
    // A base name of digits only: the first letter is then in the extension.
    EngineUnderTest digits({QStringLiteral("2004.jpg")});
    digits.click(digits.engine->NS());
    EXPECT_EQ(digits.entry(0), QStringLiteral("2004.jpg")); // "." is the first non-digit
}

TEST(LetterCase, NoChangeRebuildsFromTheFolderWithTheOtherRules)
{
    EngineUnderTest t({QStringLiteral("Photo.JPG"), QStringLiteral("Notes.txt")});
    RenameEngine &e = *t.engine;
    e.txtStart().userEdit(QStringLiteral("1"));
    t.click(e.NumB());
    t.click(e.reFil());
    t.type(e.txtFil(), QStringLiteral("Trip"));
    t.click(e.ExRen());
    t.type(e.txtEX(), QStringLiteral("Md"));
    t.click(e.NB());
    EXPECT_EQ(t.preview(), (QStringList{"1TRIP.MD", "2TRIP.MD"}));
    t.click(e.Nno());
    EXPECT_EQ(t.preview(), (QStringList{"1Trip.Md", "2Trip.Md"}));
}

// Names that are not valid UTF-8 reach the engine with their stray bytes as lone
// surrogates; every rule must carry those through untouched.
TEST(LetterCase, StrayBytesOfNamesThatAreNotUtf8SurviveEveryRule)
{
    QString stray = QStringLiteral("caf.txt");
    stray.insert(3, QChar(0xDCE9)); // the byte 0xE9 of a Latin-1 name
    QString pair = QStringLiteral("x.dat");
    pair.insert(1, QChar(0xDC80));
    pair.insert(1, QChar(0xD800)); // high surrogate followed by an escaped byte
    EngineUnderTest t({stray, pair});
    RenameEngine &e = *t.engine;
    t.click(e.NB());
    EXPECT_EQ(t.entry(0), QString(stray)
                              .replace(QStringLiteral("caf"), QStringLiteral("CAF"))
                              .replace(QStringLiteral("txt"), QStringLiteral("TXT")));
    EXPECT_EQ(t.entry(0).at(3), QChar(0xDCE9));
    t.click(e.NS());
    t.click(e.NumA());
    t.click(e.Nno());
    EXPECT_EQ(t.preview(), (QStringList{QString(stray).insert(4, u'0'), pair}));
    t.click(e.Numno());
    EXPECT_EQ(t.preview(), (QStringList{stray, pair}));
}
