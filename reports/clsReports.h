#pragma once

#include "reports/clsReport.h"

#include <QString>

#include <memory>
#include <vector>

// The report catalogue: report entries in the order they were added, each reachable by its
// position (from 0) or by its key. A key occurs at most once; keys match without regard to
// letter case.
class clsReports {
    struct Entry {
        QString key; // empty: added without a key
        clsReport report;
    };

public:
    clsReports();
    ~clsReports();
    clsReports(const clsReports&) = delete;
    clsReports& operator=(const clsReports&) = delete;

    // Adds a new entry with the title, layout name and description; under the key when the
    // key is not empty. Throws std::invalid_argument when the key is taken already.
    clsReport& Add(const QString& title, const QString& objectName, const QString& description,
                   const QString& key);

    // Throw std::out_of_range for a position or key that is not there.
    clsReport& Item(int index);
    clsReport& Item(const QString& key);
    const clsReport& Item(int index) const;
    const clsReport& Item(const QString& key) const;

    int Count() const { return static_cast<int>(m_entries.size()); }
    bool Contains(const QString& key) const { return find(key) >= 0; }

    // Throw std::out_of_range for a position or key that is not there.
    void Remove(int index);
    void Remove(const QString& key);

    // Walks the entries in order.
    class const_iterator {
    public:
        using Inner = std::vector<std::unique_ptr<Entry>>::const_iterator;
        explicit const_iterator(Inner it) : m_it(it) {}
        const clsReport& operator*() const { return (*m_it)->report; }
        const clsReport* operator->() const { return &**this; }
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
    int find(const QString& key) const;
    void checkIndex(int index) const;

    std::vector<std::unique_ptr<Entry>> m_entries;
};
