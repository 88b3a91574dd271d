#pragma once

#include "NameClashes.h"

#include <QObject>

#include <vector>

class FolderListModel;
namespace lorvane {
class PreviewList;
}

// The clash marks of the preview List1 (NameClashes.h), kept in step with the
// preview, the folder listing and the excluded files: whenever one of them changes
// the marks are found again, and marksChanged() names the rows whose marks differ.
class PreviewClashes : public QObject
{
    Q_OBJECT

public:
    PreviewClashes(FolderListModel &file1, lorvane::PreviewList &list1, QObject *parent = nullptr);

    // The files the execution leaves alone (File1's selection), one flag per row.
    void setExcluded(std::vector<bool> excluded);

    // NameClash bits of a row; 0 for a row out of range.
    [[nodiscard]] quint8 marks(int row) const;
    // Why a row is marked, one line per reason; empty when it is not.
    [[nodiscard]] static QString reasons(quint8 marks);

signals:
    void marksChanged(int first, int last);

private:
    void folderListed();
    void findAgain();

    FolderListModel &m_file1;
    lorvane::PreviewList &m_list1;
    lorvane::NameClashFinder m_finder;
    std::vector<bool> m_excluded;
    std::vector<quint8> m_shown;
};
