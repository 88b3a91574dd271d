// Stored button data: the text format, the property bag and loading buttons
// from it.
#include "CmdButton.h"
#include "PropertyBag.h"
#include "QtPrinters.h"
#include "StoredButtons.h"

#include <QApplication>
#include <QPalette>
#include <QSignalSpy>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

using namespace lorvane;

namespace {

QString examplePath()
{
    return QStringLiteral(QT_TESTCASE_SOURCEDIR "/tests/controls/example.buttons");
}

} // namespace

TEST(PropertyBag, KeysMatchWithoutRegardToCaseAndKeepTheirOrder)
{
    PropertyBag bag;
    bag.setValue("BTYPE", 3);
    bag.setValue("tx", QStringLiteral("a"));
    bag.setValue("Btype", 4);
    EXPECT_EQ(bag.keys(), (QStringList{"BTYPE", "tx"}));
    EXPECT_EQ(bag.value("btype").toInt(), 4);
    EXPECT_TRUE(bag.contains("TX"));
    EXPECT_EQ(bag.value("missing", 7).toInt(), 7);
    bag.remove("bType");
    EXPECT_EQ(bag.keys(), (QStringList{"tx"}));
}

TEST(StoredButtons, ParsesTheExampleFile)
{
    const StoredButtons stored = StoredButtons::load(examplePath());
    ASSERT_TRUE(stored.errors().isEmpty()) << stored.errors().join('\n').toStdString();
    EXPECT_EQ(stored.names(), (QStringList{"CmdOk", "cmdLater"}));
    const PropertyBag ok = stored.bag("CmdOk");
    EXPECT_EQ(ok.value("TX").toString(), QStringLiteral(" &Rename"));
    EXPECT_EQ(ok.value("_EXTENTX").toString(), QStringLiteral("1215"));
    EXPECT_EQ(stored.bag("cmdLater").value("tx").toString(), QStringLiteral("Say \"hi\""));
    EXPECT_TRUE(stored.bag("nothing").isEmpty());
}

TEST(StoredButtons, ReportsEveryUnreadableLine)
{
    const StoredButtons stored = StoredButtons::parse(QStringLiteral("btype = 3\n"
                                                                     "[A]\n"
                                                                     "no equals sign\n"
                                                                     "tx = \"open\n"
                                                                     "tx = \"bad \\q\"\n"
                                                                     "btype = 3\n"
                                                                     "BTYPE = 4\n"
                                                                     "[A]\n"
                                                                     "[]\n"));
    const QStringList errors = stored.errors();
    ASSERT_EQ(errors.size(), 7) << errors.join('\n').toStdString();
    EXPECT_TRUE(errors[0].startsWith("line 1:"));
    EXPECT_TRUE(errors[1].startsWith("line 3:"));
    EXPECT_TRUE(errors[2].startsWith("line 4:"));
    EXPECT_TRUE(errors[3].startsWith("line 5:"));
    EXPECT_TRUE(errors[4].startsWith("line 7:"));
    EXPECT_TRUE(errors[5].startsWith("line 8:"));
    EXPECT_TRUE(errors[6].startsWith("line 9:"));
    EXPECT_EQ(stored.bag("A").value("btype").toString(), QStringLiteral("3"));

    const StoredButtons missing = StoredButtons::load("/nonexistent/x.buttons");
    EXPECT_EQ(missing.errors().size(), 1);
}

TEST(StoredButtons, CreatesButtonsFromTheirStoredValues)
{
    const StoredButtons stored = StoredButtons::load(examplePath());
    QWidget window;
    CmdButton *ok = stored.create("CmdOk", &window);
    EXPECT_EQ(ok->objectName(), QStringLiteral("CmdOk"));
    EXPECT_EQ(ok->buttonType(), 3);
    EXPECT_EQ(ok->caption(), QStringLiteral(" &Rename"));
    EXPECT_TRUE(ok->isButtonEnabled());
    EXPECT_EQ(ok->fontName(), QStringLiteral("Noto Sans"));
    EXPECT_TRUE(ok->fontBold());
    EXPECT_EQ(ok->fontSize(), 10); // 9.75 points read back whole
    EXPECT_EQ(ok->backColor(), RGB(192, 192, 192));
    EXPECT_EQ(ok->foreOver(), RGB(255, 0, 0));
    EXPECT_EQ(ok->accessKey(), QLatin1Char('r'));

    // Missing keys take their defaults, the colours the system's at load time.
    CmdButton *later = stored.create("cmdLater", &window);
    EXPECT_EQ(later->buttonType(), 4);
    EXPECT_FALSE(later->isButtonEnabled());
    EXPECT_FALSE(later->isEnabled());
    EXPECT_EQ(later->colorScheme(), 1);
    EXPECT_TRUE(later->showFocusRect());
    EXPECT_EQ(later->mousePointer(), 0);
    const QColor face = QApplication::palette().color(QPalette::Button);
    EXPECT_EQ(later->backColor(), RGB(face.red(), face.green(), face.blue()));
}

TEST(StoredButtons, UnreadableValuesTakeTheirDefaultsAndAreNamed)
{
    PropertyBag bag;
    bag.setValue("btype", "three");
    bag.setValue("enab", "perhaps");
    bag.setValue("font", "Noto Sans");
    bag.setValue("coltype", "2");
    CmdButton button;
    const QStringList unreadable = button.ReadProperties(bag);
    EXPECT_EQ(unreadable, (QStringList{"BTYPE", "ENAB", "FONT"}));
    EXPECT_EQ(button.buttonType(), 2);
    EXPECT_TRUE(button.isButtonEnabled());
    EXPECT_EQ(button.colorScheme(), 2);
}

TEST(StoredButtons, WrittenValuesReadBackTheSame)
{
    CmdButton original;
    original.InitProperties("CmdButton1");
    original.setButtonType(5);
    original.setCaption(QStringLiteral("خروج \"&x\"\\"));
    original.setColorScheme(2);
    original.setBackColor(RGB(1, 2, 3));
    original.setForeOver(RGB(250, 0, 7));
    original.setMousePointer(11);
    original.setShowFocusRect(false);
    original.setFontItalic(true);
    QImage icon(4, 4, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    original.setMouseIcon(QPixmap::fromImage(icon));

    PropertyBag typed;
    original.WriteProperties(typed);
    EXPECT_EQ(typed.keys(), (QStringList{"BTYPE", "TX", "ENAB", "FONT", "COLTYPE", "FOCUSR", "BCOL",
                                         "FCOL", "FCOLO", "MPTR", "MICON"}));

    StoredButtons stored;
    stored.setBag("CmdX", typed);
    const QString text = stored.toText();
    EXPECT_TRUE(text.contains("\nbtype = 5\n")) << text.toStdString();
    const StoredButtons reread = StoredButtons::parse(text);
    ASSERT_TRUE(reread.errors().isEmpty()) << reread.errors().join('\n').toStdString();

    for (const PropertyBag &bag : {typed, reread.bag("CmdX")}) {
        CmdButton copy;
        EXPECT_TRUE(copy.ReadProperties(bag).isEmpty());
        EXPECT_EQ(copy.buttonType(), 5);
        EXPECT_EQ(copy.caption(), original.caption());
        EXPECT_EQ(copy.colorScheme(), 2);
        EXPECT_EQ(copy.backColor(), RGB(1, 2, 3));
        EXPECT_EQ(copy.foreColor(), original.foreColor());
        EXPECT_EQ(copy.foreOver(), RGB(250, 0, 7));
        EXPECT_EQ(copy.mousePointer(), 11);
        EXPECT_FALSE(copy.showFocusRect());
        EXPECT_TRUE(copy.fontItalic());
        EXPECT_EQ(copy.fontName(), original.fontName());
        EXPECT_EQ(copy.mouseIcon().toImage().pixelColor(1, 1), QColor(Qt::red));
    }
}
