#include "EngineFixture.h"
#include "NameText.h"

#include <gtest/gtest.h>

using namespace lorvane;
using namespace lorvane::test;

namespace {

const QStringList kNames = {"photo.jpg", "readme",   "archive.tar.gz", "notes.",
                            ".cfg",      "صورة.JPG", "2004 Trip.png",  "straße.txt"};

struct Choice
{
    const char *fileRule;
    const char *extRule;
    const char *numRule;
    const char *caseRule;
};

// What the selected options and texts say for one folder name, the rule groups
// applied in order: file-name rule, extension rule, numbering, letter case.
QString expectedName(const QString &name, int index, const Choice &c, const QString &fil,
                     const QString &ex)
{
    QString ext = name.last(dottedExtensionLength(name));
    QString base = name.first(name.size() - ext.size());
    const QString rule = QString::fromLatin1(c.fileRule);
    if (rule == u"FilDel")
        base.clear();
    else if (rule == u"reFil")
        base = fil;
    else if (rule == u"FilAf")
        base = fil + base;
    else if (rule == u"FilBe")
        base = base + fil;
    const QString extRule = QString::fromLatin1(c.extRule);
    if (extRule == u"ExDel")
        ext.clear();
    else if (extRule == u"ExRen")
        ext = ex.isEmpty() ? QString() : u'.' + ex;
    const QString number = QString::number(0.5 + index, 'f', 1);
    const QString numRule = QString::fromLatin1(c.numRule);
    // NumA: before the last dotted part of the entry as the other rules leave it.
    QString whole = base + ext;
    if (numRule == u"NumA")
        whole.insert(whole.size() - dottedExtensionLength(whole), number);
    else if (numRule == u"NumB")
        whole.prepend(number);
    const QString caseRule = QString::fromLatin1(c.caseRule);
    if (caseRule == u"NB")
        whole = toCapitalLetters(whole);
    if (caseRule == u"NF" || caseRule == u"NS")
        whole = toSmallLetters(whole);
    if (caseRule == u"NS") {
        for (qsizetype i = 0; i < whole.size(); ++i) {
            if (whole[i].isDigit())
                continue;
            capitaliseAt(whole, i);
            break;
        }
    }
    return whole;
}

QStringList expectedPreview(const QStringList &names, const Choice &c, const QString &fil,
                            const QString &ex)
{
    QStringList out;
    for (int i = 0; i < names.size(); ++i)
        out.append(expectedName(names.at(i), i, c, fil, ex));
    return out;
}

std::vector<Choice> everyChoice()
{
    std::vector<Choice> all;
    for (const char *f : {"Filno", "FilDel", "reFil", "FilAf", "FilBe"})
        for (const char *x : {"ExNo", "ExDel", "ExRen"})
            for (const char *n : {"Numno", "NumA", "NumB"})
                for (const char *k : {"Nno", "NB", "NF", "NS"})
                    all.push_back({f, x, n, k});
    return all;
}

std::string describe(const Choice &c)
{
    return std::string(c.fileRule) + " " + c.extRule + " " + c.numRule + " " + c.caseRule;
}

// Chooses the options as a user does: numbering first, then the file-name rule with
// its text already typed, the extension rule, and the letter case last.
void choose(EngineUnderTest &t, const Choice &c, const QString &fil, const QString &ex)
{
    RenameEngine &e = *t.engine;
    e.txtStart().userEdit(QStringLiteral("0.5"));
    e.txtStep().userEdit(QStringLiteral("1"));
    e.txtFil().userEdit(fil);
    t.click(*e.option(QString::fromLatin1(c.numRule)));
    t.click(*e.option(QString::fromLatin1(c.fileRule)));
    t.click(*e.option(QString::fromLatin1(c.extRule)));
    if (!ex.isEmpty())
        e.txtEX().userEdit(ex);
    t.click(*e.option(QString::fromLatin1(c.caseRule)));
}

} // namespace

TEST(Rebuild, EveryCombinationOfRulesShowsWhatTheOptionsSay)
{
    const QString fil = QStringLiteral("Ab.c");
    for (const QString &ex : {QStringLiteral("Md"), QStringLiteral("t.Gz"), QString()}) {
        for (const Choice &c : everyChoice()) {
            SCOPED_TRACE(describe(c) + " txtEX=" + ex.toStdString());
            EngineUnderTest t(kNames);
            choose(t, c, fil, ex);
            const QStringList expected = expectedPreview(kNames, c, fil, ex);
            EXPECT_EQ(t.preview(), expected);
            // Rules survive the same folder listed again.
            t.engine->folderListed();
            EXPECT_EQ(t.preview(), expected);
        }
    }
}

TEST(Rebuild, NoChangeOfLetterCaseRebuildsEveryOtherRule)
{
    const QString fil = QStringLiteral("Ab.c");
    const QString ex = QStringLiteral("Md");
    for (const Choice &c : everyChoice()) {
        if (QByteArray(c.caseRule) == "Nno")
            continue;
        SCOPED_TRACE(describe(c));
        EngineUnderTest t(kNames);
        choose(t, c, fil, ex);
        t.click(t.engine->Nno());
        Choice plain = c;
        plain.caseRule = "Nno";
        EXPECT_EQ(t.preview(), expectedPreview(kNames, plain, fil, ex));
    }
}

TEST(Rebuild, FolderAndFilterChangesKeepTheRules)
{
    EngineUnderTest t(kNames);
    RenameEngine &e = *t.engine;
    const Choice c{"FilAf", "ExRen", "NumB", "NB"};
    choose(t, c, QStringLiteral("x"), QStringLiteral("bak"));
    int resets = 0;
    QObject::connect(&e.List1(), &PreviewList::entriesReset, [&] { ++resets; });

    const QStringList other = {"IMG_1.jpg", "IMG_2.jpg", "clip.mp4"};
    t.files.setFolder(QStringLiteral("/other"), other);
    e.folderListed();
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(t.preview(), expectedPreview(other, c, QStringLiteral("x"), QStringLiteral("bak")));

    t.type(e.txtP(), QStringLiteral("mp4"));
    EXPECT_EQ(resets, 2);
    EXPECT_EQ(t.preview(), QStringList{"0.5XCLIP.BAK"});

    // Typing into txtFil afterwards starts from the new folder's names.
    t.clickInto(e.txtFil());
    t.type(e.txtFil(), QStringLiteral("y"));
    EXPECT_EQ(t.preview(), QStringList{"0.5XYCLIP.BAK"});
}

TEST(Rebuild, PreviewIsPublishedOncePerUserAction)
{
    EngineUnderTest t({"a.txt", "b.txt", "c.txt"});
    RenameEngine &e = *t.engine;
    std::vector<std::pair<int, int>> changes;
    int resets = 0;
    QObject::connect(&e.List1(), &PreviewList::entriesChanged,
                     [&](int first, int last) { changes.emplace_back(first, last); });
    QObject::connect(&e.List1(), &PreviewList::entriesReset, [&] { ++resets; });
    e.txtStart().userEdit(QStringLiteral("1"));
    t.click(e.NumA());
    t.click(e.NB());
    t.click(e.reFil());
    changes.clear();
    t.type(e.txtFil(), QStringLiteral("n"));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes.front(), std::make_pair(0, 2));
    changes.clear();
    t.type(e.txtFil(), QStringLiteral("?")); // refused: nothing changes
    e.setFocusControl(QStringLiteral("Nno"));
    EXPECT_TRUE(changes.empty());
    // Only the entries that changed are reported.
    EngineUnderTest u({"keep.txt", "bab.txt", "keep2.txt"});
    QObject::connect(&u.engine->List1(), &PreviewList::entriesChanged,
                     [&](int first, int last) { changes.emplace_back(first, last); });
    u.type(u.engine->txtDel(), QStringLiteral("b"));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes.back(), std::make_pair(1, 1));
    EXPECT_EQ(resets, 0);
}

TEST(Rebuild, LargeFoldersAreHandledExactly)
{
    const int n = 30000;
    QStringList names;
    for (int i = 0; i < n; ++i)
        names.append(QStringLiteral("file %1.part.%2").arg(i).arg(i % 7 ? "dat" : "DAT"));
    EngineUnderTest t(names);
    RenameEngine &e = *t.engine;
    e.txtStart().userEdit(QStringLiteral("1"));
    t.click(e.NumA());
    t.type(e.txtDel(), QStringLiteral("part"));
    t.type(e.txtW(), QStringLiteral("p"));
    EXPECT_EQ(t.entry(n - 1), QStringLiteral("file 29999.p30000.dat"));
    EXPECT_EQ(t.entry(28), QStringLiteral("file 28.p29.DAT"));
    t.backspace(e.txtW());
    e.txtDel().userEdit(QString());
    t.click(e.Numno());
    EXPECT_TRUE(t.preview() == names); // not EXPECT_EQ: no dump of 30,000 names
    t.click(e.FilAf());
    t.type(e.txtFil(), QStringLiteral("x"));
    t.click(e.ExDel());
    EXPECT_EQ(t.entry(12345), QStringLiteral("xfile 12345.part"));
    t.click(e.Filno());
    t.click(e.ExNo());
    EXPECT_TRUE(t.preview() == names);
}
