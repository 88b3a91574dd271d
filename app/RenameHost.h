#pragma once

#include "FileIdentity.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace lorvane {
class RenameJob;
}

// What the renaming and its undo need from the main window. The window
// implements it over its controls; tests implement it over plain data.
class RenameHost
{
public:
    enum class Icon { Information, Question };

    virtual ~RenameHost() = default;

    // The folder list File1: its folder and entries as exact on-disk bytes.
    [[nodiscard]] virtual QByteArray folderBytes() const = 0;
    [[nodiscard]] virtual std::vector<QByteArray> fileBytes() const = 0;
    // What each File1 entry named when it was listed, in the same order.
    [[nodiscard]] virtual std::vector<lorvane::FileIdentity> fileIdentities() const = 0;
    // One flag per File1 entry: selected, that is excluded from renaming.
    [[nodiscard]] virtual std::vector<bool> excludedRows() const = 0;
    // The preview List1, one name per File1 entry.
    [[nodiscard]] virtual QStringList previewNames() const = 0;

    // When two preview names are equal, running numbers at the start of every
    // name, start 1 and step 1 (RenameEngine::resolveDuplicates).
    virtual void resolveDuplicates() = 0;
    // A modal question titled "Lorvane"; true only for Yes.
    [[nodiscard]] virtual bool askYesNo(const QString &text, Icon icon) = 0;
    // A modal message titled "Lorvane" with an OK button; `details`, when
    // not empty, can be unfolded and scrolled through.
    virtual void report(const QString &text, const QString &details) = 0;
    virtual void setUndoEnabled(bool enabled) = 0;
    // Shows the progress window modally for `filesToProcess` files while
    // the started `job` runs; the window goes when the job has finished.
    virtual void showProgress(qint64 filesToProcess, lorvane::RenameJob &job) = 0;
    // Lets pending window events run once.
    virtual void letEventsRun() = 0;
    // After a renaming or an undo: File1 read again, the load routine, every
    // rule group back to "no change", exclusion off.
    virtual void reload() = 0;
};
