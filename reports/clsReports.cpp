#include "reports/clsReports.h"

#include <stdexcept>

clsReports::clsReports() = default;
clsReports::~clsReports() = default;

clsReport& clsReports::Add(const QString& title, const QString& objectName,
                           const QString& description, const QString& key)
{
    if (!key.isEmpty() && find(key) >= 0)
        throw std::invalid_argument("The key \"" + key.toStdString() +
                                    "\" is already associated with an element of this collection.");
    auto entry = std::make_unique<Entry>();
    entry->key = key;
    entry->report.Title = title;
    entry->report.ObjectName = objectName;
    entry->report.Description = description;
    m_entries.push_back(std::move(entry));
    return m_entries.back()->report;
}

int clsReports::find(const QString& key) const
{
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const QString& k = m_entries[i]->key;
        if (!k.isEmpty() && k.compare(key, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

void clsReports::checkIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("There is no catalogue entry " + std::to_string(index) + ".");
}

clsReport& clsReports::Item(int index)
{
    checkIndex(index);
    return m_entries[static_cast<std::size_t>(index)]->report;
}

const clsReport& clsReports::Item(int index) const
{
    checkIndex(index);
    return m_entries[static_cast<std::size_t>(index)]->report;
}

clsReport& clsReports::Item(const QString& key)
{
    const int index = find(key);
    if (index < 0)
        throw std::out_of_range("There is no catalogue entry \"" + key.toStdString() + "\".");
    return Item(index);
}

const clsReport& clsReports::Item(const QString& key) const
{
    const int index = find(key);
    if (index < 0)
        throw std::out_of_range("There is no catalogue entry \"" + key.toStdString() + "\".");
    return Item(index);
}

void clsReports::Remove(int index)
{
    checkIndex(index);
    m_entries.erase(m_entries.begin() + index);
}

void clsReports::Remove(const QString& key)
{
    const int index = find(key);
    if (index < 0)
        throw std::out_of_range("There is no catalogue entry \"" + key.toStdString() + "\".");
    Remove(index);
}
