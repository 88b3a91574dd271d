#include "FileCommonDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QTreeView>

namespace lorvane {

FileCommonDialog::FileCommonDialog(QWidget *parent) : m_parent(parent) {}

CommonDialog::Answer FileCommonDialog::ShowOpen()
{
    return show(false);
}

CommonDialog::Answer FileCommonDialog::ShowSave()
{
    return show(true);
}

CommonDialog::Answer FileCommonDialog::show(bool save)
{
    QFileDialog dialog(m_parent, DialogTitle());
    dialog.setLayoutDirection(Qt::RightToLeft);
    dialog.setNameFilter(qtFilter(Filter()));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Qt's own dialog (where the desktop offers none) starts its columns too
    // narrow for the modification time, which it then cuts with dots.
    if (auto *details = dialog.findChild<QTreeView *>())
        details->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (!FileName().isEmpty()) {
        const QFileInfo start(FileName());
        dialog.setDirectory(start.absolutePath());
        dialog.selectFile(start.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return Answer::Cancelled;
    setFileName(dialog.selectedFiles().constFirst());
    return Answer::Accepted;
}

} // namespace lorvane
