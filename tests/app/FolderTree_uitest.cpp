// The folder tree over the real file system.
#include "AppTestSupport.h"
#include "TestFolder.h"

#include "FileNameCodec.h"
#include "FolderTree.h"
#include "FolderTreeModel.h"

#include <QDir>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QStringList childNames(FolderTreeModel &model, const QModelIndex &parent)
{
    if (model.canFetchMore(parent))
        model.fetchMore(parent);
    QStringList out;
    for (int r = 0; r < model.rowCount(parent); ++r)
        out << model.index(r, 0, parent).data().toString();
    return out;
}

class FolderTreeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_root = QDir::cleanPath(m_dir.pathText());
        for (const char *sub : {"b", "a10", "a2", ".hidden", ".hidden/inner", "a2/deep"})
            ASSERT_TRUE(QDir(m_root).mkpath(sub)) << sub;
        apptest::makeFiles(m_root, {"file.txt"});
    }

    TestFolder m_dir; // holds a name that is not UTF-8
    QString m_root;
};

} // namespace

TEST_F(FolderTreeTest, ListsFoldersOnlyFromTheRootInNaturalOrder)
{
    // No QAbstractItemModelTester here: it walks every folder it can reach,
    // and links like /proc/self/root make the file system endless.
    FolderTreeModel model;
    ASSERT_EQ(model.rowCount(), 1);
    const QModelIndex top = model.index(0, 0);
    EXPECT_EQ(top.data().toString(), "/");
    EXPECT_TRUE(childNames(model, top).contains("tmp") || childNames(model, top).contains("usr"));

    const QModelIndex root = model.indexForPath(m_root);
    ASSERT_TRUE(root.isValid());
    EXPECT_EQ(root.data(FolderTreeModel::PathRole).toString(), m_root);
    EXPECT_EQ(childNames(model, root), (QStringList{"a2", "a10", "b"}));
    // Not read yet: offered for expanding; read and found empty: no longer.
    const QModelIndex b = model.index(2, 0, root);
    EXPECT_TRUE(model.hasChildren(b));
    EXPECT_TRUE(childNames(model, b).isEmpty());
    EXPECT_FALSE(model.hasChildren(b));
    EXPECT_FALSE(model.indexForPath(m_root + "/file.txt").isValid());
    EXPECT_FALSE(model.indexForPath(m_root + "/missing").isValid());
    EXPECT_FALSE(model.indexForPath("relative/path").isValid());
}

TEST_F(FolderTreeTest, HiddenAndNonUtf8FoldersAreReachable)
{
    const QByteArray latin1 = QFile::encodeName(m_root) + "/caf\xe9";
    ASSERT_EQ(::mkdir(latin1.constData(), 0755), 0);
    FolderTreeModel model;

    const QModelIndex hidden = model.indexForPath(m_root + "/.hidden/inner");
    ASSERT_TRUE(hidden.isValid());
    EXPECT_EQ(hidden.data().toString(), "inner");
    EXPECT_EQ(hidden.parent().data().toString(), ".hidden");

    const QString decoded = lorvane::decodeFileName(latin1);
    const QModelIndex odd = model.indexForPath(decoded);
    ASSERT_TRUE(odd.isValid());
    EXPECT_EQ(odd.data(FolderTreeModel::PathBytesRole).toByteArray(), latin1);
    EXPECT_EQ(odd.data(FolderTreeModel::PathRole).toString(), decoded);
}

TEST_F(FolderTreeTest, SelectingReportsThePathAndOpensTheWay)
{
    FolderTree tree;
    QSignalSpy spy(&tree, &FolderTree::folderSelected);
    ASSERT_TRUE(tree.selectFolder(m_root + "/a2/deep"));
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), m_root + "/a2/deep");
    EXPECT_EQ(tree.currentFolder(), m_root + "/a2/deep");
    EXPECT_TRUE(tree.isExpanded(tree.currentIndex().parent()));

    // The same folder again is no new selection.
    EXPECT_TRUE(tree.selectFolder(m_root + "/a2/deep/"));
    EXPECT_EQ(spy.size(), 1);
    EXPECT_FALSE(tree.selectFolder(m_root + "/nope"));
    EXPECT_EQ(tree.currentFolder(), m_root + "/a2/deep");
}

TEST_F(FolderTreeTest, ExpandedFoldersFollowTheDiskAndAVanishedCurrentFolderIsReported)
{
    FolderTree tree;
    ASSERT_TRUE(tree.selectFolder(m_root + "/a2"));
    FolderTreeModel &model = *tree.folderModel();
    const QPersistentModelIndex root = model.indexForPath(m_root);
    tree.expand(root);
    auto names = [&] {
        QStringList out;
        for (int r = 0; r < model.rowCount(root); ++r)
            out << model.index(r, 0, root).data().toString();
        return out;
    };
    ASSERT_EQ(names(), (QStringList{"a2", "a10", "b"}));

    // Watched while expanded: made and removed while the program runs.
    ASSERT_TRUE(QDir(m_root).mkdir("new"));
    ASSERT_TRUE(QDir(m_root).rmdir("b"));
    EXPECT_TRUE(apptest::waitFor([&] { return names() == QStringList{"a2", "a10", "new"}; }));
    EXPECT_EQ(tree.currentFolder(), m_root + "/a2");

    // Collapsed: no longer watched, but read again when expanded.
    tree.collapse(root);
    ASSERT_TRUE(QDir(m_root).mkdir("later"));
    tree.expand(root);
    EXPECT_EQ(names(), (QStringList{"a2", "a10", "later", "new"}));

    // The current folder goes: no other folder is chosen in its place.
    QSignalSpy selected(&tree, &FolderTree::folderSelected);
    QSignalSpy vanished(&tree, &FolderTree::currentFolderVanished);
    ASSERT_TRUE(QDir(m_root).rename("a2", "moved"));
    ASSERT_TRUE(apptest::waitFor([&] { return vanished.size() == 1; }));
    EXPECT_EQ(vanished.at(0).at(0).toString(), m_root + "/a2");
    EXPECT_EQ(selected.size(), 0);
    EXPECT_TRUE(tree.currentFolder().isEmpty());
}
