#include "PreviewClashes.h"

#include "FolderListModel.h"
#include "PreviewList.h"

namespace {

namespace text {
const QString sameNewName =
    QStringLiteral("الاسم الجديد مكرر في القائمة، وسيضاف إليه رقم عند التنفيذ");
const QString nameTaken = QStringLiteral("يوجد في المجلد ملف أو مجلد آخر بهذا الاسم لن يتغير اسمه");
const QString nameRefused =
    QStringLiteral("لا يصلح اسما لملف: فارغ أو \".\" أو \"..\" أو فيه \"/\" أو أطول من 255 بايت");
} // namespace text

} // namespace

PreviewClashes::PreviewClashes(FolderListModel &file1, lorvane::PreviewList &list1, QObject *parent)
    : QObject(parent), m_file1(file1), m_list1(list1)
{
    connect(&m_file1, &FolderListModel::listed, this, &PreviewClashes::folderListed);
    connect(&m_list1, &lorvane::PreviewList::entriesReset, this, &PreviewClashes::findAgain);
    connect(&m_list1, &lorvane::PreviewList::entriesChanged, this, &PreviewClashes::findAgain);
    folderListed();
}

void PreviewClashes::folderListed()
{
    // A new listing starts without excluded files.
    m_excluded.clear();
    m_finder.setFolder(m_file1.names(), m_file1.unlisted());
    findAgain();
}

void PreviewClashes::setExcluded(std::vector<bool> excluded)
{
    if (excluded == m_excluded)
        return;
    m_excluded = std::move(excluded);
    findAgain();
}

void PreviewClashes::findAgain()
{
    const std::vector<quint8> &found = m_finder.find(m_list1, m_excluded);
    const size_t n = qMax(found.size(), m_shown.size());
    size_t first = n;
    size_t last = 0;
    for (size_t i = 0; i < n; ++i) {
        const quint8 now = i < found.size() ? found[i] : 0;
        const quint8 before = i < m_shown.size() ? m_shown[i] : 0;
        if (now == before)
            continue;
        first = qMin(first, i);
        last = i;
    }
    m_shown = found;
    if (first < n)
        emit marksChanged(int(first), int(last));
}

quint8 PreviewClashes::marks(int row) const
{
    return row >= 0 && size_t(row) < m_shown.size() ? m_shown[size_t(row)] : 0;
}

QString PreviewClashes::reasons(quint8 marks)
{
    QStringList lines;
    if (marks & lorvane::NameClash::NameRefused)
        lines << text::nameRefused;
    if (marks & lorvane::NameClash::NameTaken)
        lines << text::nameTaken;
    if (marks & lorvane::NameClash::SameNewName)
        lines << text::sameNewName;
    return lines.join(u'\n');
}
