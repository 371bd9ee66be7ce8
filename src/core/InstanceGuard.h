#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace tessel {

// Answers whether another instance of the program already runs.
class InstanceGuard
{
public:
    virtual ~InstanceGuard() = default;

    // True when this is the only instance; it then stays so until destroyed.
    virtual bool tryAcquire() = 0;
};

// A lock file keyed to the program folder, so two kits may run side by side.
// A lock left behind by a crashed run is taken over.
class LockFileInstanceGuard final : public InstanceGuard
{
public:
    // lockFolder defaults to the user's runtime folder.
    explicit LockFileInstanceGuard(const QString& programFolder, const QString& lockFolder = {});
    ~LockFileInstanceGuard() override;

    bool tryAcquire() override;
    QString lockPath() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace tessel
