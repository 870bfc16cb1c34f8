#pragma once

#include "reports/clsMailingLabel.h"

#include <QHash>
#include <QString>

#include <deque>

// The labels of one run, in the order they were added, each reachable by its position (from
// 1) or by its key. A key occurs at most once and matches without regard to letter case;
// labels may also be added without a key.
class clsMailingLabels {
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

    qsizetype Count() const { return static_cast<qsizetype>(m_labels.size()); }

    // Removes the label at a position or under a key; throws std::out_of_range when there is
    // none.
    void Remove(qsizetype position);
    void Remove(const QString& key);

    // The labels in the order they were added.
    auto begin() const { return m_labels.cbegin(); }
    auto end() const { return m_labels.cend(); }

private:
    static QString folded(const QString& key) { return key.toCaseFolded(); }

    // Labels keep their place in memory while others are added.
    std::deque<clsMailingLabel> m_labels;
    std::deque<QString> m_keys; // folded, by position; empty for a label without a key
    QHash<QString, clsMailingLabel*> m_byKey;
};
