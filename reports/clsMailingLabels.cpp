#include "reports/clsMailingLabels.h"

#include <stdexcept>

clsMailingLabels::clsMailingLabels() = default;
clsMailingLabels::~clsMailingLabels() = default;

clsMailingLabel& clsMailingLabels::Add(const QString& FirstName, const QString& LastName,
                                       const QString& City, const QString& State,
                                       const QString& Zip, bool Skip, const QString& Address,
                                       const QString& Key)
{
    const QString key = folded(Key);
    if (!key.isEmpty() && m_byKey.contains(key))
        throw std::invalid_argument("The key \"" + Key.toStdString() +
                                    "\" is already associated with an element of this collection.");
    clsMailingLabel& label = m_labels.emplace_back();
    label.FirstName = FirstName;
    label.LastName = LastName;
    label.City = City;
    label.State = State;
    label.Zip = Zip;
    label.Skip = Skip;
    label.Address = Address;
    m_keys.push_back(key);
    if (!key.isEmpty())
        m_byKey.insert(key, &label);
    return label;
}

clsMailingLabel* clsMailingLabels::Item(qsizetype position)
{
    if (position < 1 || position > Count())
        return nullptr;
    return &m_labels[std::size_t(position - 1)];
}

const clsMailingLabel* clsMailingLabels::Item(qsizetype position) const
{
    return const_cast<clsMailingLabels*>(this)->Item(position);
}

clsMailingLabel* clsMailingLabels::Item(const QString& key)
{
    return key.isEmpty() ? nullptr : m_byKey.value(folded(key));
}

const clsMailingLabel* clsMailingLabels::Item(const QString& key) const
{
    return const_cast<clsMailingLabels*>(this)->Item(key);
}

void clsMailingLabels::Remove(qsizetype position)
{
    if (position < 1 || position > Count())
        throw std::out_of_range("There is no label " + std::to_string(position) + ".");
    m_labels.erase(m_labels.begin() + (position - 1));
    m_keys.erase(m_keys.begin() + (position - 1));
    // Erasing moved the labels after it.
    m_byKey.clear();
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        if (!m_keys[i].isEmpty())
            m_byKey.insert(m_keys[i], &m_labels[i]);
    }
}

void clsMailingLabels::Remove(const QString& key)
{
    const QString folded = clsMailingLabels::folded(key);
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        if (!folded.isEmpty() && m_keys[i] == folded) {
            Remove(qsizetype(i) + 1);
            return;
        }
    }
    throw std::out_of_range("There is no label \"" + key.toStdString() + "\".");
}
