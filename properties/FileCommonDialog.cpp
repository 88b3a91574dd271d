#include "FileCommonDialog.h"

#include <QFileDialog>
#include <QFileInfo>

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
