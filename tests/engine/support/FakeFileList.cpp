#include "FakeFileList.h"

namespace lorvane::test {

void FakeFileList::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    ++m_patternSets;
    relist();
}

void FakeFileList::setFolder(const QString &path, QStringList names)
{
    m_path = path;
    m_all = std::move(names);
    relist();
}

void FakeFileList::relist()
{
    m_listed.clear();
    const QString suffix = m_pattern == QStringLiteral("*.*") ? QString() : m_pattern.mid(1);
    for (const QString &name : m_all) {
        if (suffix.isEmpty() || name.endsWith(suffix, Qt::CaseInsensitive))
            m_listed.append(name);
    }
}

} // namespace lorvane::test
