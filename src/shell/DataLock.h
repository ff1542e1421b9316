#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// One process at a time may write Korvanta's stores: the lock lives in the
// data folder beside them. A lock left by a crashed process is taken over.
class DataLock {
public:
    explicit DataLock(const QString &dataFolder);
    bool acquire();
    static QString busySentence();

private:
    std::unique_ptr<QLockFile> m_lock;
};
