#pragma once

#include "reports/clsMailingLabel.h"

#include <QHash>
#include <QString>

#include <memory>
#include <vector>

// The labels of one run, in the order they were added, each reachable by its position (from
// 1) or by its key. A key occurs at most once and matches without regard to letter case;
// labels may also be added without a key.
class clsMailingLabels {
    struct Entry {
        QString key; // empty: added without a key
        clsMailingLabel label;
    };

public:
    clsMailingLabels();
    ~clsMailingLabels();
    clsMailingLabels(const clsMailingLabels&) = delete;
    clsMailingLabels& operator=(const clsMailingLabels&) = delete;

    // Appends a new label with these values, under the key when it is not empty, and returns
    // it. Throws std::invalid_argument when the key is taken already.
    clsMailingLabel& Add(const QString& FirstName, const QString& LastName, const QString& City,
                         const QString& State, const QString& Zip, bool Skip,
                         const QString& Address, const QString& Key);

    // The label at a position (1 for the first) or under a key; nullptr when there is none.
    clsMailingLabel* Item(qsizetype position);
    clsMailingLabel* Item(const QString& key);
    const clsMailingLabel* Item(qsizetype position) const;
    const clsMailingLabel* Item(const QString& key) const;

    qsizetype Count() const { return static_cast<qsizetype>(m_entries.size()); }

    // Removes the label at a position or under a key; throws std::out_of_range when there is
    // none.
    void Remove(qsizetype position);
    void Remove(const QString& key);

    // Walks the labels in the order they were added.
    class const_iterator {
    public:
        using Inner = std::vector<std::unique_ptr<Entry>>::const_iterator;
        explicit const_iterator(Inner it) : m_it(it) {}
        const clsMailingLabel& operator*() const { return (*m_it)->label; }
        const clsMailingLabel* operator->() const { return &**this; }
        const_iterator& operator++()
        {
            ++m_it;
            return *this;
        }
        bool operator==(const const_iterator& other) const { return m_it == other.m_it; }

    private:
        Inner m_it;
    };
    const_iterator begin() const { return const_iterator(m_entries.begin()); }
    const_iterator end() const { return const_iterator(m_entries.end()); }

private:
    static QString folded(const QString& key) { return key.toCaseFolded(); }

    std::vector<std::unique_ptr<Entry>> m_entries;
    QHash<QString, Entry*> m_byKey; // folded key -> entry
};
