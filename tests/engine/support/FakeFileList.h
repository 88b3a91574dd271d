#pragma once

#include "FileList.h"

#include <QStringList>

namespace lorvane::test {

// File1 for engine tests: a fixed folder of names; the pattern "*.*" lists them all,
// "*.ext" those whose name ends in ".ext" (letter case ignored, as a folder list
// filter on a case-insensitive file system would).
class FakeFileList : public FileList
{
public:
    explicit FakeFileList(QStringList names = {}) : m_all(std::move(names)) { relist(); }

    int count() const override { return int(m_listed.size()); }
    QString entry(int index) const override { return m_listed.at(index); }
    QString pattern() const override { return m_pattern; }
    void setPattern(const QString &pattern) override;
    QString path() const override { return m_path; }

    // A new folder: the names change, the pattern stays.
    void setFolder(const QString &path, QStringList names);
    int patternSets() const { return m_patternSets; }

private:
    void relist();

    QStringList m_all;
    QStringList m_listed;
    QString m_pattern = QStringLiteral("*.*");
    QString m_path = QStringLiteral("/fake");
    int m_patternSets = 0;
};

} // namespace lorvane::test
