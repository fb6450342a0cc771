#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace dv {

// The program runs once per user: a lock file "Dorvanel.lock" in the user's
// runtime folder (the temporary folder when there is none). A lock left by a
// copy that crashed is taken over, since its process no longer runs. The lock
// is released when the object goes away.
class SingleInstance {
public:
    // folder: where the lock file lives; empty = the runtime folder.
    explicit SingleInstance(const QString &folder = {},
                            const QString &name = QStringLiteral("Dorvanel.lock"));
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // True when this object holds the lock (now or from an earlier call);
    // false when another running process holds it or the file cannot be made.
    bool tryLock();
    bool isLocked() const;
    void release();

    QString lockFilePath() const { return path_; }

    static QString defaultFolder();

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace dv
