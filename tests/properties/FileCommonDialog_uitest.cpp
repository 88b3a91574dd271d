// The common dialog on the desktop: a real QFileDialog, answered by the test.
#include "FileCommonDialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using lorvane::CommonDialog;
using lorvane::FileCommonDialog;

namespace {

// Runs `act` on the file dialog once it is the active modal window.
void whenDialog(std::function<void(QFileDialog *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(dialog);
    });
    timer->start();
}

} // namespace

TEST(FileCommonDialog, ShowsTitleFilterAndNameAndReturnsTheChoice)
{
    QTemporaryDir dir;
    QFile(dir.filePath("Icon1.ico")).open(QIODevice::WriteOnly);
    QFile(dir.filePath("other.ico")).open(QIODevice::WriteOnly);
    QWidget parent;
    FileCommonDialog coco(&parent);
    coco.setDialogTitle(QStringLiteral("اختر أيقونة"));
    coco.setFilter(QStringLiteral("IconFile|*.ico|"));
    coco.setFileName(dir.filePath("Icon1.ico"));

    QString title;
    QStringList filters;
    QString shownDir;
    QStringList initial;
    whenDialog([&](QFileDialog *d) {
        initial = d->selectedFiles();
        title = d->windowTitle();
        filters = d->nameFilters();
        shownDir = d->directory().absolutePath();
        d->selectFile(dir.filePath("other.ico"));
        static_cast<QDialog *>(d)->accept();
    });
    ASSERT_EQ(coco.ShowOpen(), CommonDialog::Answer::Accepted);
    EXPECT_EQ(title, QStringLiteral("اختر أيقونة"));
    EXPECT_EQ(filters, QStringList{QStringLiteral("IconFile (*.ico)")});
    EXPECT_EQ(shownDir, QDir(dir.path()).absolutePath());
    EXPECT_EQ(initial, QStringList{dir.filePath("Icon1.ico")});
    EXPECT_EQ(coco.FileName(), dir.filePath("other.ico"));

    // Cancelled, the name stays what it was.
    whenDialog([](QFileDialog *d) { d->reject(); });
    EXPECT_EQ(coco.ShowSave(), CommonDialog::Answer::Cancelled);
    EXPECT_EQ(coco.FileName(), dir.filePath("other.ico"));
}
