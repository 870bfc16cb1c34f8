#pragma once

#include <QHash>
#include <QString>

namespace data {

// A table or field name as a look-up key: names match without regard to letter case
// ("Youth_EMail" finds "Youth_Email"), without building a folded copy for every look-up.
struct NameKey {
    QString name;

    NameKey(const QString& n) : name(n) {}
    friend bool operator==(const NameKey& a, const NameKey& b)
    {
        return a.name.compare(b.name, Qt::CaseInsensitive) == 0;
    }
};

inline size_t qHash(const NameKey& key, size_t seed = 0) noexcept
{
    size_t h = seed ^ 0xcbf29ce484222325ull;
    for (const QChar c : key.name) {
        char16_t u = c.unicode();
        if (u < 128) {
            if (u >= 'A' && u <= 'Z')
                u = static_cast<char16_t>(u + ('a' - 'A'));
        } else {
            u = c.toCaseFolded().unicode();
        }
        h = (h ^ u) * 0x100000001b3ull;
    }
    return h;
}

// Positions by name, without regard to case.
using NameIndex = QHash<NameKey, int>;

} // namespace data
