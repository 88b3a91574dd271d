// The saved design values of one button (or any control): named values whose
// names match without regard to letter case, kept in the order they were first
// written. CmdButton::WriteProperties fills one, CmdButton::ReadProperties reads
// one; StoredButtons keeps a window's bags as text.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace lorvane {

class PropertyBag
{
public:
    bool contains(const QString &key) const;
    // The stored value, or `fallback` when the key is missing.
    QVariant value(const QString &key, const QVariant &fallback = {}) const;
    // Replaces the value in place when the key exists (keeping its first spelling
    // and position), else appends it.
    void setValue(const QString &key, const QVariant &value);
    void remove(const QString &key);
    // Keys in their first spelling and order.
    QStringList keys() const;
    bool isEmpty() const { return m_entries.empty(); }

    friend bool operator==(const PropertyBag &, const PropertyBag &) = default;

private:
    struct Entry
    {
        QString key;
        QVariant value;
        friend bool operator==(const Entry &, const Entry &) = default;
    };
    const Entry *find(const QString &key) const;
    std::vector<Entry> m_entries;
};

} // namespace lorvane
