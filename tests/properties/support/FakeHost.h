#pragma once

#include "CommonDialog.h"
#include "PropertiesHost.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>

namespace lorvane {
class CmdButton;
}

// A main window reduced to what the properties pane asks of it.
class FakeHost : public lorvane::PropertiesHost
{
public:
    explicit FakeHost(QWidget *window);

    QString folder() const override { return shownFolder; }
    QString file1SelectedEntry() const override { return selected; }
    void setFile1Enabled(bool enabled) override { file1Enabled = enabled; }
    void setFile1ToolTip(const QString &tip) override { file1ToolTip = tip; }
    void chkKeepOffSomeFl_Click() override { ++exclusionClicks; }
    void setFramVisible(bool visible) override { framVisible = visible; }
    lorvane::CmdButton *cmdTO() override { return m_cmdTO; }
    void file1RefreshAndFormLoad() override { ++reloads; }

    QString shownFolder;
    QString selected;
    bool file1Enabled = false;
    QString file1ToolTip;
    int exclusionClicks = 0;
    bool framVisible = true;
    int reloads = 0;

private:
    lorvane::CmdButton *m_cmdTO;
};

// The common dialog answered by the test: each show takes the next answer
// and records the title, filter and file name it was shown with.
class ScriptedDialog : public lorvane::CommonDialog
{
public:
    struct Shown
    {
        bool save;
        QString title;
        QString filter;
        QString fileName;
    };
    struct Reply
    {
        Answer answer;
        QString fileName;
    };

    QList<Reply> replies;
    QList<Shown> shown;

    Answer ShowOpen() override { return reply(false); }
    Answer ShowSave() override { return reply(true); }

private:
    Answer reply(bool save);
};
