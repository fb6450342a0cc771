#include "platform/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace dv {

SingleInstance::SingleInstance(const QString &folder, const QString &name)
{
    const QString dir = folder.isEmpty() ? defaultFolder() : folder;
    path_ = QDir(dir).filePath(name);
    lock_ = std::make_unique<QLockFile>(path_);
    // Never stale by age: a running copy may hold the lock for weeks. A lock
    // whose process has died is still recognised as stale and taken over.
    lock_->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default; // QLockFile unlocks on destruction

QString SingleInstance::defaultFolder()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir;
}

bool SingleInstance::tryLock()
{
    if (lock_->isLocked())
        return true;
    if (lock_->tryLock(0))
        return true;
    if (lock_->error() == QLockFile::LockFailedError) {
        // tryLock already removes a stale lock; this covers a lock file whose
        // owner cannot be read (empty or damaged), which QLockFile treats as held.
        qint64 pid = 0;
        QString host, app;
        if (!lock_->getLockInfo(&pid, &host, &app) && lock_->removeStaleLockFile())
            return lock_->tryLock(0);
    }
    return false;
}

bool SingleInstance::isLocked() const { return lock_->isLocked(); }

void SingleInstance::release()
{
    if (lock_->isLocked())
        lock_->unlock();
}

} // namespace dv
