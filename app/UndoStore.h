#pragma once

#include "BatchRename.h"

#include <QByteArray>
#include <QString>

#include <vector>

// UndoNames: the record of the last confirmed renaming, kept in memory for as
// long as the program runs. It holds the folder and, in the order the files
// were renamed, each rename that really took place with the identity of the
// renamed file, so an undo puts back exactly that and leaves alone a file that
// has since taken a new name's place. There is no limit on its length.
class UndoStore
{
public:
    // Forgets the old record; the count reads "0" from now on.
    void reset(const QByteArray &folder);
    // Records every rename of `batch` that took place, in the batch's order.
    void record(const lorvane::BatchRename &batch);

    [[nodiscard]] qsizetype count() const { return qsizetype(m_done.size()); }
    [[nodiscard]] const QByteArray &folder() const { return m_folder; }
    // The renames that give every recorded file its old name back, first to last.
    [[nodiscard]] std::vector<lorvane::RenamePair> restorePairs() const;

private:
    QByteArray m_folder;
    std::vector<lorvane::RenamePair> m_done;
};
