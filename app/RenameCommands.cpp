#include "RenameCommands.h"

#include "FolderListModel.h"
#include "Form1.h"
#include "Form3.h"
#include "RenameExecution.h"
#include "RenameHost.h"

#include "CmdButton.h"
#include "RenameEngine.h"

#include "MessageBox.h"
#include <QCheckBox>
#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>

namespace {} // namespace

class RenameCommands::Host final : public RenameHost
{
public:
    explicit Host(Form1 &window) : m_window(window) {}

    QByteArray folderBytes() const override { return m_window.File1Model()->pathBytes(); }

    std::vector<QByteArray> fileBytes() const override
    {
        const FolderListModel &file1 = *m_window.File1Model();
        std::vector<QByteArray> bytes;
        bytes.reserve(size_t(file1.count()));
        for (int row = 0; row < file1.count(); ++row)
            bytes.push_back(file1.bytes(row));
        return bytes;
    }

    std::vector<lorvane::FileIdentity> fileIdentities() const override
    {
        const FolderListModel &file1 = *m_window.File1Model();
        std::vector<lorvane::FileIdentity> identities;
        identities.reserve(size_t(file1.count()));
        for (int row = 0; row < file1.count(); ++row)
            identities.push_back(file1.identity(row));
        return identities;
    }

    std::vector<bool> excludedRows() const override
    {
        std::vector<bool> excluded(size_t(m_window.File1Model()->count()), false);
        for (const QModelIndex &index : m_window.File1->selectionModel()->selectedRows()) {
            if (index.row() >= 0 && size_t(index.row()) < excluded.size())
                excluded[size_t(index.row())] = true;
        }
        return excluded;
    }

    QStringList previewNames() const override { return m_window.List1Names(); }

    void resolveDuplicates() override { m_window.engine().resolveDuplicates(); }

    bool askYesNo(const QString &text, Icon icon) override
    {
        return lorvane::Message(text, icon == Icon::Question ? QMessageBox::Question
                                                             : QMessageBox::Information)
                   .buttons(QMessageBox::Yes | QMessageBox::No)
                   .exec(&m_window) == QMessageBox::Yes;
    }

    void report(const QString &text, const QString &details) override
    {
        lorvane::Message(text, QMessageBox::Warning).details(details).exec(&m_window);
    }

    void setUndoEnabled(bool enabled) override { m_window.cmdUnRename->setButtonEnabled(enabled); }

    void showProgress(qint64 filesToProcess, lorvane::RenameJob &job) override
    {
        Form3 progress(&m_window);
        progress.setJob(&job);
        progress.Text1->setText(QString::number(filesToProcess));
        progress.exec();
    }

    void letEventsRun() override { QCoreApplication::processEvents(); }

    void reload() override
    {
        // The rule groups go back to "no change" while the preview still
        // matches the listing it was made for; the load routine then finds no
        // rule to apply to the new listing, where it would re-apply every rule
        // chosen only for the reset to take it off again.
        m_window.resetRuleGroups();
        m_window.File1Model()->refresh();
        m_window.Form_Load();
        m_window.chkKeepOffSomeFl->setChecked(false);
        m_window.chkKeepOffSomeFl_Click();
    }

private:
    Form1 &m_window;
};

RenameCommands::RenameCommands(Form1 &window)
    : QObject(&window), m_host(std::make_unique<Host>(window)),
      m_execution(std::make_unique<RenameExecution>(*m_host))
{
    setObjectName(QStringLiteral("RenameCommands"));
    // Nothing to undo before the first renaming.
    window.cmdUnRename->setButtonEnabled(false);
}

RenameCommands::~RenameCommands() = default;

RenameCommands &RenameCommands::of(Form1 &window)
{
    if (auto *existing = window.findChild<RenameCommands *>(QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new RenameCommands(window);
}

void RenameCommands::CmdDoNow_Click()
{
    m_execution->CmdDoNow_Click();
}

void RenameCommands::cmdUnRename_Click()
{
    m_execution->cmdUnRename_Click();
}

const UndoStore &RenameCommands::UndoNames() const
{
    return m_execution->UndoNames();
}
