#include "FileNameCodec.h"

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
