#pragma once

#include <QString>

namespace lorvane {

// The common file dialog `Coco` as the pane uses it: a file name that goes in
// and comes out, a title, a filter of description and pattern pairs separated
// by "|" ("Bitmap|*.bmp|"), and an open and a save dialog. The file name and
// the other values persist between dialogs, so one dialog's choice is the
// next one's starting value. Tests answer it through a class of their own.
class CommonDialog
{
public:
    enum class Answer { Accepted, Cancelled };

    virtual ~CommonDialog();

    QString FileName() const { return m_fileName; }
    void setFileName(const QString &name) { m_fileName = name; }
    QString DialogTitle() const { return m_dialogTitle; }
    void setDialogTitle(const QString &title) { m_dialogTitle = title; }
    QString Filter() const { return m_filter; }
    void setFilter(const QString &filter) { m_filter = filter; }

    // On Accepted the chosen path is in FileName(); on Cancelled FileName()
    // keeps its value.
    virtual Answer ShowOpen() = 0;
    virtual Answer ShowSave() = 0;

    // The filter in the form of Qt's file dialogs: "Bitmap (*.bmp)".
    static QString qtFilter(const QString &filter);

private:
    QString m_fileName;
    QString m_dialogTitle;
    QString m_filter;
};

} // namespace lorvane
