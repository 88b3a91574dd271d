#include "EngineFixture.h"
#include "NameClashes.h"
#include "NameText.h"

#include <gtest/gtest.h>

#include <functional>

using namespace lorvane;

TEST(NameText, SplitsNamesAtTheLastDot)
{
    struct Row
    {
        const char *name;
        const char *base;
        const char *dotted;
    };
    const Row rows[] = {
        {"photo.jpg", "photo", ".jpg"}, {"archive.tar.gz", "archive.tar", ".gz"},
        {"photo.", "photo.", ""},       {".cfg", "", ".cfg"},
        {"readme", "readme", ""},       {"", "", ""},
        {"صورة.jpg", "صورة", ".jpg"},   {"a..b", "a.", ".b"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const QString name = QString::fromUtf8(row.name);
        const qsizetype length = dottedExtensionLength(name);
        EXPECT_EQ(name.first(name.size() - length), QString::fromUtf8(row.base));
        EXPECT_EQ(name.last(length), QString::fromUtf8(row.dotted));
    }
}

TEST(NameText, TrimRemovesSpacesOnly)
{
    EXPECT_EQ(trimSpaces(QStringLiteral("  a b  ")), QStringLiteral("a b"));
    EXPECT_EQ(trimSpaces(QStringLiteral("\ta\t")), QStringLiteral("\ta\t"));
    EXPECT_EQ(trimSpaces(QStringLiteral("\u00a0a ")), QStringLiteral("\u00a0a"));
    EXPECT_EQ(trimSpaces(QStringLiteral("   ")), QString());
}

TEST(NameText, SplitCountFollowsTheReplaceRule)
{
    const SplitPieces banana = SplitCount(QStringLiteral("banana"), QStringLiteral("a"));
    EXPECT_EQ(banana.count, 3);
    EXPECT_EQ(banana.pieceLengths, (std::vector<int>{1, 1, 1, 0}));
    EXPECT_EQ(banana.stripped, QStringLiteral("bnn"));

    EXPECT_EQ(SplitCount(QStringLiteral("banana"), QStringLiteral("  ")).count, -1);
    EXPECT_EQ(SplitCount(QStringLiteral("banana"), QStringLiteral("x")).count, -1);
    EXPECT_EQ(SplitCount(QStringLiteral("   "), QStringLiteral(" ")).count, -1);
    EXPECT_EQ(SplitCount(QStringLiteral("aXbXc"), QStringLiteral("X")).count, 2);
    EXPECT_EQ(SplitCount(QStringLiteral("axbxc"), QStringLiteral("X")).count, -1);
}

TEST(NameText, SplitCountHasNoLimitOnOccurrences)
{
    QString name;
    for (int i = 0; i < 40; ++i)
        name += QStringLiteral("ab");
    const SplitPieces split = SplitCount(name, QStringLiteral("b"));
    EXPECT_EQ(split.count, 40);
    EXPECT_EQ(split.stripped, QString(40, u'a'));
}

TEST(NameText, SplitCountCanKeepAPositionOutOfTheOccurrences)
{
    // "ab|ab" with the position 2 kept out: "ba" would contain it.
    const SplitPieces split = SplitCount(QStringLiteral("abab"), QStringLiteral("ba"), 2);
    EXPECT_EQ(split.count, -1);
    const SplitPieces edge = SplitCount(QStringLiteral("abab"), QStringLiteral("ab"), 2);
    EXPECT_EQ(edge.count, 2);
}

TEST(NameText, CaseMappingKeepsTheLength)
{
    EXPECT_EQ(toCapitalLetters(QStringLiteral("My Photo.JPG")), QStringLiteral("MY PHOTO.JPG"));
    EXPECT_EQ(toSmallLetters(QStringLiteral("My Photo.JPG")), QStringLiteral("my photo.jpg"));
    EXPECT_EQ(toCapitalLetters(QStringLiteral("straße")), QStringLiteral("STRAßE"));
    EXPECT_EQ(toCapitalLetters(QStringLiteral("istanbul")), QStringLiteral("ISTANBUL"));
    EXPECT_EQ(toSmallLetters(QStringLiteral("İ")), QStringLiteral("i"));
    EXPECT_EQ(toCapitalLetters(QStringLiteral("ᾳ")), QStringLiteral("ᾼ"));
    EXPECT_EQ(toSmallLetters(QStringLiteral("ᾈ")), QStringLiteral("ᾀ"));
    const QString ligature = QStringLiteral("ﬁle"); // full mapping would give "FILE"
    EXPECT_EQ(toCapitalLetters(ligature).size(), ligature.size());
    EXPECT_EQ(toCapitalLetters(QStringLiteral("صورة")), QStringLiteral("صورة"));
    // Deseret small letter long i (U+10428) has a capital outside the BMP as well.
    EXPECT_EQ(toCapitalLetters(QString::fromUcs4(U"\U00010428")), QString::fromUcs4(U"\U00010400"));
    const QString already = QStringLiteral("ABC");
    EXPECT_EQ(toCapitalLetters(already).constData(), already.constData());
}

TEST(NameText, NumericTextsArePlainDecimalNumbers)
{
    for (const char *yes : {"5", "-3", "+2", "0.5", "5.", ".5", " 7 ", "007", "-0.25"}) {
        SCOPED_TRACE(yes);
        EXPECT_TRUE(isNumericText(QString::fromLatin1(yes)));
    }
    for (const char *no : {"", " ", "-", ".", "1e3", "1,000", "0x10", "5 6", "abc", "5a", "--1"}) {
        SCOPED_TRACE(no);
        EXPECT_FALSE(isNumericText(QString::fromLatin1(no)));
    }
}

TEST(NameText, LeadingNumberValueReadsFromTheStart)
{
    EXPECT_EQ(leadingNumberValue(u"  12abc"), 12);
    EXPECT_EQ(leadingNumberValue(u"-1.5"), -1.5);
    EXPECT_EQ(leadingNumberValue(u"abc"), 0);
    EXPECT_EQ(leadingNumberValue(u""), 0);
    EXPECT_EQ(leadingNumberValue(u".5x"), 0.5);
    EXPECT_EQ(leadingNumberValue(u"-"), 0);
}

TEST(NameText, NumbersArePlainDecimalTexts)
{
    EXPECT_EQ(plainNumberText(0), QStringLiteral("0"));
    EXPECT_EQ(plainNumberText(-0.0), QStringLiteral("0"));
    EXPECT_EQ(plainNumberText(7), QStringLiteral("7"));
    EXPECT_EQ(plainNumberText(-1), QStringLiteral("-1"));
    EXPECT_EQ(plainNumberText(1.5), QStringLiteral("1.5"));
    EXPECT_EQ(plainNumberText(0.1 + 0.2), QStringLiteral("0.3"));
    EXPECT_EQ(plainNumberText(-0.00001), QStringLiteral("-0.00001"));
    EXPECT_EQ(plainNumberText(1e20), QStringLiteral("100000000000000000000"));
    EXPECT_EQ(plainNumberText(123456789012.5), QStringLiteral("123456789012.5"));
}

TEST(NameClashes, MarksWhatAnExecutionCouldNotDoAsShown)
{
    using namespace NameClash;
    const QStringList listed{"a.txt", "b.txt", "c.txt", "d.txt"};
    const QString arabic128(128, QChar(0x0635)); // two bytes each: 256
    const QString chinese85(85, QChar(0x4E2D));  // three bytes each: 255
    const QString nul = QStringLiteral("x") + QChar(0) + QStringLiteral("y");
    struct Row
    {
        const char *what;
        QStringList preview;
        std::vector<bool> excluded;
        std::vector<quint8> expected;
    };
    const Row rows[] = {
        {"nothing changes", listed, {}, {None, None, None, None}},
        {"chain: b moves away", {"b.txt", "x", "c.txt", "d.txt"}, {}, {None, None, None, None}},
        {"cycle", {"b.txt", "a.txt", "c.txt", "d.txt"}, {}, {None, None, None, None}},
        {"b keeps its name",
         {"b.txt", "b.txt", "c.txt", "d.txt"},
         {},
         {NameTaken | SameNewName, SameNewName, None, None}},
        {"b is excluded",
         {"b.txt", "y", "c.txt", "d.txt"},
         {false, true},
         {NameTaken, None, None, None}},
        {"hidden file and folder",
         {".hidden", "sub", "c.txt", "d.txt"},
         {},
         {NameTaken, NameTaken, None, None}},
        {"equal new names",
         {"x", "x", "c.txt", "x"},
         {},
         {SameNewName, SameNewName, None, SameNewName}},
        {"excluded entries still count as equal",
         {"x", "x", "c.txt", "d.txt"},
         {true},
         {SameNewName, SameNewName, None, None}},
        {"refused names",
         {"", ".", "..", "a/b"},
         {},
         {NameRefused, NameRefused, NameRefused, NameRefused}},
        {"refused names, more",
         {nul, QString(256, u'n'), arabic128, chinese85},
         {},
         {NameRefused, NameRefused, NameRefused, None}},
        {"a refused name keeps its old one",
         {"c.txt", "b.txt", "", "d.txt"},
         {},
         {NameTaken, None, NameRefused, None}},
        {"excluded refused name is not marked",
         {"a.txt", "b.txt", "", "d.txt"},
         {false, false, true},
         {None, None, None, None}},
        {"letter case differs", {"A.txt", "B.TXT", "c.txt", "d.txt"}, {}, {None, None, None, None}},
    };
    NameClashFinder finder;
    finder.setFolder(listed, {".hidden", "sub"});
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(finder.find(row.preview, row.excluded), row.expected);
    }
}

// The window finds the marks of List1 from the keys of the entries' parts, without
// building the entries: whatever the rules did, those are the marks of the names
// List1 shows. More than 4,096 entries, so that every rule leaves them to be
// composed when read.
TEST(NameClashes, MarksFromTheEntriesPartsAreTheMarksOfTheNames)
{
    QStringList names;
    for (int i = 0; i < 5000; ++i) {
        const QString n = QString::number(i);
        const QString forms[] = {"photo " + n + ".jpg", "letter." + n + ".doc", "readme" + n,
                                 "dot" + n + ".",       "😀 صورة " + n + ".PNG", "." + n + "cfg"};
        names << forms[i % 6];
    }
    test::EngineUnderTest t(names);
    RenameEngine &e = *t.engine;
    NameClashFinder finder;
    // What some of the rules below make of entry 0 and 2, held by things that stay.
    finder.setFolder(names, {"x", "x1.jpg", "1X", "PHOTO 001.JPG", "x1"});
    using Step = std::function<void()>;
    const std::pair<const char *, Step> steps[] = {
        {"change", [&] { t.click(e.reFil()), e.txtFil().userEdit("x"); }},
        {"numbers before the extension",
         [&] {
             e.txtStart().userEdit("1");
             e.txtStep().userEdit("1");
             t.click(e.NumA());
         }},
        {"one number for all", [&] { e.txtStep().userEdit("0"); }},
        {"numbers at the start", [&] { t.click(e.NumB()); }},
        {"capitals", [&] { t.click(e.NB()); }},
        {"no name rule", [&] { t.click(e.Filno()); }},
        {"zero fill",
         [&] {
             e.txtStep().userEdit("1");
             e.txtZ().userEdit("2");
             t.click(e.NumA());
         }},
        {"extension deleted", [&] { t.click(e.ExDel()); }},
        {"extension with a dot",
         [&] {
             t.click(e.ExRen());
             e.txtEX().userEdit("tar.gz");
         }},
        {"dots replaced", [&] { t.type(e.txtDel(), "."); }},
        {"slash typed", [&] { t.type(e.txtW(), "/"); }},
    };
    quint8 seen = 0;
    for (const auto &[what, step] : steps) {
        SCOPED_TRACE(what);
        step();
        const std::vector<quint8> fromParts = finder.find(e.List1(), {});
        EXPECT_EQ(fromParts, finder.find(t.preview(), {}));
        for (quint8 marks : fromParts)
            seen |= marks;
    }
    EXPECT_EQ(seen, NameClash::SameNewName | NameClash::NameTaken | NameClash::NameRefused);
}

TEST(NameClashes, CountsBytesAsTheNameIsStored)
{
    EXPECT_EQ(encodedNameLength(u"abc"), 3);
    EXPECT_EQ(encodedNameLength(u"صورة"), 8);
    EXPECT_EQ(encodedNameLength(u"中"), 3);
    EXPECT_EQ(encodedNameLength(u"😀"), 4);
    // A stray byte of a name that is not UTF-8 is one byte again on disk.
    EXPECT_EQ(encodedNameLength(QString(QChar(0xDCE9))), 1);
    // A lone high surrogate can only be written as U+FFFD.
    EXPECT_EQ(encodedNameLength(QString(QChar(0xD800))), 3);
    EXPECT_TRUE(isRefusedFileName(QString(256, QChar(0xDCE9))));
    EXPECT_FALSE(isRefusedFileName(QString(255, QChar(0xDCE9))));
}
