#include "reports/clsMailingLabels.h"

#include <algorithm>
#include <stdexcept>

clsMailingLabels::clsMailingLabels() = default;
clsMailingLabels::~clsMailingLabels() = default;

clsMailingLabel& clsMailingLabels::Add(const QString& FirstName, const QString& LastName,
                                       const QString& City, const QString& State,
                                       const QString& Zip, bool Skip, const QString& Address,
                                       const QString& Key)
{
    if (!Key.isEmpty() && m_byKey.contains(folded(Key)))
        throw std::invalid_argument("The key \"" + Key.toStdString() +
                                    "\" is already associated with an element of this collection.");
    auto entry = std::make_unique<Entry>();
    entry->key = Key;
    clsMailingLabel& label = entry->label;
    label.FirstName = FirstName;
    label.LastName = LastName;
    label.City = City;
    label.State = State;
    label.Zip = Zip;
    label.Skip = Skip;
    label.Address = Address;
    if (!Key.isEmpty())
        m_byKey.insert(folded(Key), entry.get());
    m_entries.push_back(std::move(entry));
    return label;
}

clsMailingLabel* clsMailingLabels::Item(qsizetype position)
{
    if (position < 1 || position > Count())
        return nullptr;
    return &m_entries[std::size_t(position - 1)]->label;
}

const clsMailingLabel* clsMailingLabels::Item(qsizetype position) const
{
    return const_cast<clsMailingLabels*>(this)->Item(position);
}

clsMailingLabel* clsMailingLabels::Item(const QString& key)
{
    if (key.isEmpty())
        return nullptr;
    Entry* entry = m_byKey.value(folded(key));
    return entry ? &entry->label : nullptr;
}

const clsMailingLabel* clsMailingLabels::Item(const QString& key) const
{
    return const_cast<clsMailingLabels*>(this)->Item(key);
}

void clsMailingLabels::Remove(qsizetype position)
{
    if (position < 1 || position > Count())
        throw std::out_of_range("There is no label " + std::to_string(position) + ".");
    const auto it = m_entries.begin() + (position - 1);
    if (!(*it)->key.isEmpty())
        m_byKey.remove(folded((*it)->key));
    m_entries.erase(it);
}

void clsMailingLabels::Remove(const QString& key)
{
    const clsMailingLabel* label = Item(key);
    if (!label)
        throw std::out_of_range("There is no label \"" + key.toStdString() + "\".");
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [&](const auto& entry) { return &entry->label == label; });
    Remove(qsizetype(it - m_entries.begin()) + 1);
}
