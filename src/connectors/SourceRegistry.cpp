#include "connectors/SourceRegistry.h"

#include <algorithm>

void SourceRegistry::add(Platform platform, SourceEntry entry)
{
    m_entries[platform] = entry;
}

const SourceEntry *SourceRegistry::find(Platform platform) const
{
    const auto it = m_entries.find(platform);
    return it == m_entries.end() ? nullptr : &it->second;
}

QList<Platform> SourceRegistry::platformsByRawValue() const
{
    QList<Platform> list;
    for (const auto &[platform, entry] : m_entries)
        list.append(platform);
    std::sort(list.begin(), list.end(), [](Platform a, Platform b) {
        return Platforms::rawValue(a) < Platforms::rawValue(b);
    });
    return list;
}
