#pragma once

// A real tmpfs volume for tests, mounted with mount(2) and always unmounted
// again. Mounting needs root (CAP_SYS_ADMIN); ok() is false and why() says so
// where the machine refuses.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QString>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

namespace dvtest {

class TmpfsMount {
public:
    // Mounts a fresh tmpfs at path (created when missing).
    explicit TmpfsMount(const QString &path) : path_(path)
    {
        QDir().mkpath(path);
        if (::mount("dorvanel-test", enc(path).constData(), "tmpfs", 0, "size=4m") != 0)
            why_ = fail("mount -t tmpfs", errno);
        else
            mounted_ = true;
    }
    // Binds the whole of an already mounted tmpfs at path, so the volume
    // appears with its files already in place (as a stick does).
    TmpfsMount(const QString &from, const QString &path) : path_(path)
    {
        QDir().mkpath(path);
        if (::mount(enc(from).constData(), enc(path).constData(), nullptr, MS_BIND, nullptr) != 0)
            why_ = fail("mount --bind", errno);
        else
            mounted_ = true;
    }
    ~TmpfsMount() { unmount(); }
    TmpfsMount(const TmpfsMount &) = delete;
    TmpfsMount &operator=(const TmpfsMount &) = delete;

    bool ok() const { return mounted_; }
    const QString &why() const { return why_; }
    const QString &path() const { return path_; }

    bool unmount()
    {
        if (!mounted_)
            return true;
        if (::umount2(enc(path_).constData(), MNT_DETACH) != 0)
            return false;
        mounted_ = false;
        return true;
    }

private:
    static QByteArray enc(const QString &p) { return QFile::encodeName(p); }
    QString fail(const char *what, int err) const
    {
        return QStringLiteral("cannot %1 on %2 (%3): this test needs root with mount rights")
            .arg(QLatin1String(what), path_, QString::fromLocal8Bit(std::strerror(err)));
    }

    QString path_;
    QString why_;
    bool mounted_ = false;
};

// Waits for the notice about this root (other mounts on the machine may
// come and go meanwhile); false after timeoutMs without it.
inline bool waitForNotice(QSignalSpy &spy, const QString &root, bool attached, int timeoutMs = 5000)
{
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        for (const QList<QVariant> &n : spy)
            if (n[0].toString() == root && n[1].toBool() == attached)
                return true;
        spy.wait(100);
    }
    return false;
}

} // namespace dvtest
