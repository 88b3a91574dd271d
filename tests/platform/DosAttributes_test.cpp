#include "DosAttributes.h"

#include "FileNameCodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace lorvane;

namespace {

QByteArray le16(quint16 v)
{
    return QByteArray(1, char(v & 0xff)) + char(v >> 8);
}

QByteArray le32(quint32 v)
{
    QByteArray b;
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xff));
    return b;
}

// The binary record as Samba lays it out: hex string, NUL, pad to even,
// version, level, then the record's first fields and some trailing times.
QByteArray sambaBlob(const QByteArray &hex, quint16 version, quint32 validFlags, quint32 attrib)
{
    QByteArray b = hex + '\0';
    if (b.size() % 2)
        b.append('\0');
    b += le16(version) + le32(version);
    if (version != 1)
        b += le32(validFlags);
    b += le32(attrib) + QByteArray(16, '\x5a');
    return b;
}

bool userXattrsWork(const QString &dir)
{
    const QByteArray probe = encodeFileName(dir);
    return ::setxattr(probe.constData(), "user.lorvane-probe", "1", 1, 0) == 0;
}

class DosAttributesOnDisk : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        if (!userXattrsWork(m_dir.path()))
            GTEST_SKIP() << "user extended attributes are not supported here";
    }
    QString file(const QString &name, const QByteArray &contents = "x")
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contents);
        return path;
    }
    QByteArray raw(const QString &path) { return readRawDosAttrib(path).value_or("<none>"); }

    QTemporaryDir m_dir;
};

} // namespace

TEST(DosAttribParse, LegacyAndBinaryForms)
{
    struct Row
    {
        const char *what;
        QByteArray blob;
        std::optional<quint32> word;
    };
    const Row rows[] = {
        {"legacy with NUL", QByteArray("0x22\0", 5), 0x22},
        {"legacy without NUL", "0x22", 0x22},
        {"legacy upper-case digits", "0X1A0", 0x1a0},
        {"legacy not hex", "0xZZ", std::nullopt},
        {"legacy too long", "0x123456789", std::nullopt},
        {"bare prefix", "0x", std::nullopt},
        {"empty", "", std::nullopt},
        {"samba v5, empty hex", sambaBlob("", 5, 0x11, 0x20), 0x20},
        {"samba v4, empty hex", sambaBlob("", 4, 0x1, 0x26), 0x26},
        {"samba v3 with hex", sambaBlob("0x22", 3, 0x1, 0x22), 0x22},
        {"samba v3, odd hex length", sambaBlob("0x2", 3, 0x1, 0x2), 0x2},
        {"samba v1", sambaBlob("0x4", 1, 0, 0x4), 0x4},
        {"samba v2 (flags not checked)", sambaBlob("0x20", 2, 0, 0x20), 0x20},
        {"samba v5, attribute not valid", sambaBlob("", 5, 0x10, 0x20), std::nullopt},
        {"samba v3 not valid falls back to its hex", sambaBlob("0x21", 3, 0x0, 0x22), 0x21},
        {"unknown version", sambaBlob("", 9, 0x1, 0x20), std::nullopt},
        {"truncated record", sambaBlob("", 5, 0x1, 0x20).first(10), std::nullopt},
        {"level differs from version", QByteArray(2, '\0') + le16(5) + le32(4) + le32(1) + le32(2),
         std::nullopt},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(parseDosAttrib(row.blob), row.word);
    }
    EXPECT_EQ(legacyDosAttribText(0x22), QByteArray("0x22\0", 5));
}

TEST_F(DosAttributesOnDisk, WordRoundTripsInTheLegacyForm)
{
    const QString path = file("a.txt");
    const quint32 words[] = {dos::Hidden | dos::Archive, dos::System, dos::Temporary | dos::Hidden,
                             dos::Normal,
                             dos::Hidden | dos::System | dos::Archive | dos::Temporary};
    for (const quint32 word : words) {
        SCOPED_TRACE(word);
        ASSERT_TRUE(writeDosAttributes(path, word).ok());
        EXPECT_EQ(raw(path), legacyDosAttribText(word));
        const DosAttributesRead read = readDosAttributes(path);
        ASSERT_TRUE(read.result.ok());
        EXPECT_EQ(read.word, word);
    }
}

TEST_F(DosAttributesOnDisk, ReadOnlyIsTheOwnersWritePermission)
{
    const QString path = file("b.txt");
    const QByteArray native = encodeFileName(path);
    ASSERT_TRUE(writeDosAttributes(path, dos::ReadOnly | dos::Hidden).ok());
    struct stat st = {};
    ASSERT_EQ(::stat(native.constData(), &st), 0);
    EXPECT_EQ(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH), 0u);
    EXPECT_EQ(readDosAttributes(path).word, dos::ReadOnly | dos::Hidden);

    // Permissions changed by other programs win over the stored bit.
    ASSERT_EQ(::chmod(native.constData(), 0644), 0);
    EXPECT_EQ(readDosAttributes(path).word, dos::Hidden);
    ASSERT_EQ(::chmod(native.constData(), 0444), 0);
    EXPECT_EQ(readDosAttributes(path).word, dos::ReadOnly | dos::Hidden);

    // Writing a read-only file again, and clearing read-only.
    ASSERT_TRUE(writeDosAttributes(path, dos::ReadOnly | dos::System).ok());
    EXPECT_EQ(readDosAttributes(path).word, dos::ReadOnly | dos::System);
    ASSERT_TRUE(writeDosAttributes(path, dos::Archive).ok());
    ASSERT_EQ(::stat(native.constData(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IWUSR);
    EXPECT_EQ(readDosAttributes(path).word, dos::Archive);
}

TEST_F(DosAttributesOnDisk, FolderAndCompressedAreFactsNotWritten)
{
    const QString sub = m_dir.filePath("sub");
    ASSERT_TRUE(QDir().mkdir(sub));
    EXPECT_EQ(readDosAttributes(sub).word, dos::Directory);
    ASSERT_TRUE(writeDosAttributes(sub, dos::Hidden | dos::Compressed).ok());
    EXPECT_EQ(readDosAttributes(sub).word, dos::Directory | dos::Hidden);

    const QString path = file("c.txt");
    ASSERT_TRUE(writeDosAttributes(path, dos::Directory | dos::Compressed | dos::Archive).ok());
    EXPECT_EQ(raw(path), legacyDosAttribText(dos::Archive));
    EXPECT_EQ(readDosAttributes(path).word, dos::Archive);

    // A stored folder or compressed bit on a plain file is not believed.
    ASSERT_TRUE(writeRawDosAttrib(path, legacyDosAttribText(0x830)).ok());
    EXPECT_EQ(readDosAttributes(path).word, dos::Archive);
}

TEST_F(DosAttributesOnDisk, SambaBinaryFormIsReadAndUnknownBitsKept)
{
    const QString path = file("shared.doc");
    constexpr quint32 NotIndexed = 0x2000;
    ASSERT_TRUE(writeRawDosAttrib(path, sambaBlob("", 5, 0x11, 0x22 | NotIndexed)).ok());
    EXPECT_EQ(readDosAttributes(path).word, 0x22 | NotIndexed);
    ASSERT_TRUE(writeDosAttributes(path, dos::System).ok());
    EXPECT_EQ(readDosAttributes(path).word, dos::System | NotIndexed);
}

TEST_F(DosAttributesOnDisk, NothingStoredReadsAsNormalAndAddingKeepsTheRest)
{
    const QString path = file("d.txt");
    EXPECT_EQ(readDosAttributes(path).word, dos::Normal);
    ASSERT_TRUE(addDosAttributes(path, dos::Hidden).ok());
    EXPECT_EQ(readDosAttributes(path).word, dos::Hidden);
    ASSERT_TRUE(addDosAttributes(path, dos::System).ok());
    EXPECT_EQ(readDosAttributes(path).word, dos::Hidden | dos::System);
}

TEST_F(DosAttributesOnDisk, NamesThatAreNotUtf8)
{
    const QString path = m_dir.path() + QLatin1Char('/') + decodeFileName("caf\xe9.txt");
    const QByteArray native = encodeFileName(path);
    FILE *out = std::fopen(native.constData(), "w");
    ASSERT_NE(out, nullptr);
    std::fclose(out);
    ASSERT_TRUE(writeDosAttributes(path, dos::Hidden).ok());
    EXPECT_EQ(readDosAttributes(path).word, dos::Hidden);
    ::unlink(native.constData());
}

TEST(DosAttributesFailures, MissingFileIsReportedNotPassedOver)
{
    QTemporaryDir dir;
    const QString gone = dir.filePath("gone.txt");
    const ServiceResult written = writeDosAttributes(gone, dos::Hidden);
    EXPECT_FALSE(written.ok());
    EXPECT_TRUE(written.reason().contains(gone)) << written.reason().toStdString();
    EXPECT_FALSE(readDosAttributes(gone).result.ok());
    EXPECT_FALSE(writeDosAttributes(QString(), 0).ok());
    // A file system that keeps no user attributes refuses the hidden bit.
    const QString proc = QStringLiteral("/proc/self/status");
    if (QFile::exists(proc)) {
        const ServiceResult refused = writeDosAttributes(proc, dos::Hidden);
        EXPECT_FALSE(refused.ok());
        EXPECT_FALSE(refused.reason().isEmpty());
    }
}
