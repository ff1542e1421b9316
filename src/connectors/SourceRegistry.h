#pragma once

#include "connectors/KeySource.h"
#include "core/Platform.h"

#include <QList>
#include <map>

// Which connector reads which platform. Framer has no entry: it is read
// through the web session, outside the poller.
class SourceRegistry {
public:
    void add(Platform platform, SourceEntry entry);
    const SourceEntry *find(Platform platform) const;
    // In ascending order of the platform's raw value.
    QList<Platform> platformsByRawValue() const;
    bool isEmpty() const { return m_entries.empty(); }

private:
    std::map<Platform, SourceEntry> m_entries;
};
