#include "FileNameCodec.h"
#include "ShownName.h"

#include <gtest/gtest.h>

#include <random>

using namespace lorvane;

TEST(FileNameCodec, DecodesValidUtf8AsText)
{
    const QByteArray arabic = QByteArrayLiteral("\xd8\xb5\xd9\x88\xd8\xb1\xd8\xa9.jpg");
    EXPECT_EQ(decodeFileName(arabic), QString::fromUtf8(arabic));
    EXPECT_FALSE(hasEscapedBytes(decodeFileName(arabic)));
    const QByteArray emoji = QByteArrayLiteral("\xf0\x9f\x98\x80 x");
    EXPECT_EQ(decodeFileName(emoji), QString::fromUtf8(emoji));
    EXPECT_EQ(encodeFileName(QString::fromUtf8(emoji)), emoji);
    const QString path = QStringLiteral("/tmp/صورة #1 %20?.jpg");
    EXPECT_EQ(localFileUrl(path).toLocalFile(), path);
}

TEST(FileNameCodec, InvalidBytesBecomeEscapesAndComeBackExactly)
{
    struct Row
    {
        const char *what;
        QByteArray bytes;
    };
    const Row rows[] = {
        {"latin-1 e acute", QByteArrayLiteral("caf\xe9.txt")},
        {"stray continuation", QByteArrayLiteral("a\x80z")},
        {"overlong slash", QByteArrayLiteral("\xc0\xaf")},
        {"encoded surrogate", QByteArrayLiteral("\xed\xa0\x80")},
        {"beyond U+10FFFF", QByteArrayLiteral("\xf4\x90\x80\x80")},
        {"truncated at end", QByteArrayLiteral("ab\xe2\x82")},
        {"0xff", QByteArrayLiteral("\xff\xfe")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        const QString decoded = decodeFileName(row.bytes);
        EXPECT_TRUE(hasEscapedBytes(decoded));
        EXPECT_EQ(encodeFileName(decoded), row.bytes);
        // The folder is opened through its URL: the bytes must reach it unchanged.
        EXPECT_EQ(QByteArray::fromPercentEncoding(localFileUrl(u'/' + decoded).toEncoded()),
                  "file:///" + row.bytes);
    }
    EXPECT_EQ(decodeFileName(QByteArrayLiteral("caf\xe9")),
              QStringLiteral("caf") + QChar(char16_t(0xDCE9)));
}

TEST(FileNameCodec, RandomByteStringsRoundTrip)
{
    std::mt19937 gen(12345);
    std::uniform_int_distribution<int> byte(1, 255);
    std::uniform_int_distribution<int> length(1, 40);
    for (int i = 0; i < 20000; ++i) {
        QByteArray b;
        const int n = length(gen);
        for (int k = 0; k < n; ++k)
            b.append(static_cast<char>(byte(gen)));
        ASSERT_EQ(encodeFileName(decodeFileName(b)), b) << b.toHex().constData();
    }
}

// A name is shown whole: nothing in it may hide part of it or reorder it.
TEST(FileNameCodec, ShownNamesMarkWhatCouldHidePartOfAName)
{
    struct Row
    {
        const char *what;
        QString name;
        QString shown;
    };
    const Row rows[] = {
        {"plain", QStringLiteral("01 intro.mp3"), QStringLiteral("01 intro.mp3")},
        {"arabic and emoji", QStringLiteral("صورة 😀.jpg"), QStringLiteral("صورة 😀.jpg")},
        {"line feed and tab", QStringLiteral("a\nb\tc"), QStringLiteral("a␊b␉c")},
        {"nul and del", QString::fromUtf16(u"a\0b\x7f", 4), QStringLiteral("a␀b␡")},
        {"right-to-left override", QStringLiteral("rlo\u202Etxt.exe"),
         QStringLiteral("rlo⟨U+202E⟩txt.exe")},
        {"isolates and marks", QStringLiteral("\u2066x\u2069\u200F\u061C"),
         QStringLiteral("⟨U+2066⟩x⟨U+2069⟩⟨U+200F⟩⟨U+061C⟩")},
        {"c1 control and line separator", QStringLiteral("a\u0085b\u2028"),
         QStringLiteral("a⟨U+0085⟩b⟨U+2028⟩")},
        {"bytes that are not utf-8", decodeFileName(QByteArrayLiteral("caf\xe9\xff")),
         QStringLiteral("caf⟨xE9⟩⟨xFF⟩")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(shownName(row.name), row.shown);
        EXPECT_EQ(needsMarks(row.name), row.shown != row.name);
        EXPECT_EQ(isolatedName(row.name), QChar(0x2068) + row.shown + QChar(0x2069));
    }
}
