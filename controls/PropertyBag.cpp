#include "PropertyBag.h"

#include <algorithm>

namespace lorvane {

const PropertyBag::Entry *PropertyBag::find(const QString &key) const
{
    auto it = std::find_if(m_entries.begin(), m_entries.end(), [&key](const Entry &e) {
        return e.key.compare(key, Qt::CaseInsensitive) == 0;
    });
    return it == m_entries.end() ? nullptr : &*it;
}

bool PropertyBag::contains(const QString &key) const
{
    return find(key) != nullptr;
}

QVariant PropertyBag::value(const QString &key, const QVariant &fallback) const
{
    const Entry *e = find(key);
    return e ? e->value : fallback;
}

void PropertyBag::setValue(const QString &key, const QVariant &value)
{
    if (auto *e = const_cast<Entry *>(find(key))) {
        e->value = value;
        return;
    }
    m_entries.push_back({key, value});
}

void PropertyBag::remove(const QString &key)
{
    std::erase_if(m_entries,
                  [&key](const Entry &e) { return e.key.compare(key, Qt::CaseInsensitive) == 0; });
}

QStringList PropertyBag::keys() const
{
    QStringList result;
    for (const Entry &e : m_entries)
        result << e.key;
    return result;
}

} // namespace lorvane
