#include "platform/LinuxVolumeMonitor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

namespace dv {

namespace {

// mountinfo writes space, tab, newline and backslash in paths as \ooo.
QString unescape(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (int i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const QByteArray oct = field.mid(i + 1, 3);
            bool ok = false;
            const int v = oct.toInt(&ok, 8);
            if (ok) {
                out.append(char(v));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return QString::fromUtf8(out);
}

bool isUnder(const QString &path, const QString &folder)
{
    if (folder.isEmpty())
        return false;
    QString f = QDir::cleanPath(folder);
    if (path == f)
        return true;
    if (!f.endsWith(QLatin1Char('/')))
        f += QLatin1Char('/');
    return path.startsWith(f);
}

} // namespace

LinuxVolumeMonitor::LinuxVolumeMonitor(QObject *parent) : LinuxVolumeMonitor(Options{}, parent) {}

LinuxVolumeMonitor::LinuxVolumeMonitor(Options options, QObject *parent)
    : VolumeMonitor(parent), options_(std::move(options))
{
}

LinuxVolumeMonitor::~LinuxVolumeMonitor()
{
    delete notifier_;
    if (watchFd_ >= 0)
        ::close(watchFd_);
}

QList<MountEntry> LinuxVolumeMonitor::parseMountInfo(const QByteArray &text)
{
    QList<MountEntry> entries;
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        // id parent major:minor root mountpoint options [optional...] - fstype source superoptions
        const int dash = f.indexOf("-");
        if (f.size() < 7 || dash < 6 || dash + 2 >= f.size())
            continue;
        const QList<QByteArray> mm = f[2].split(':');
        if (mm.size() != 2)
            continue;
        MountEntry e;
        e.major = mm[0].toInt();
        e.minor = mm[1].toInt();
        e.root = unescape(f[3]);
        e.mountPoint = unescape(f[4]);
        e.fsType = unescape(f[dash + 1]);
        e.source = unescape(f[dash + 2]);
        entries.append(e);
    }
    return entries;
}

bool LinuxVolumeMonitor::isVolume(const MountEntry &e) const
{
    if (e.root != QLatin1String("/"))
        return false; // a bind of a folder or a file, not a volume
    if (e.major != 0 && e.source.startsWith(QLatin1String("/dev/")))
        return true;
    static const char *const removableRoots[] = {"/media", "/run/media", "/mnt"};
    for (const char *r : removableRoots)
        if (isUnder(e.mountPoint, QLatin1String(r)) && e.mountPoint != QLatin1String(r))
            return true;
    for (const QString &r : options_.includeRoots)
        if (isUnder(e.mountPoint, r))
            return true;
    return false;
}

int LinuxVolumeMonitor::busTypeOf(const MountEntry &e) const
{
    if (e.major == 0)
        return 0; // no block device behind it
    const QString sys = QDir::cleanPath(options_.sysfsRoot);
    QString real = QFileInfo(sys + QStringLiteral("/dev/block/%1:%2").arg(e.major).arg(e.minor))
                       .canonicalFilePath();
    if (real.isEmpty() && e.source.startsWith(QLatin1String("/dev/"))) {
        const QString dev = QFileInfo(QFileInfo(e.source).canonicalFilePath()).fileName();
        const QString name = dev.isEmpty() ? QFileInfo(e.source).fileName() : dev;
        real = QFileInfo(sys + QStringLiteral("/class/block/") + name).canonicalFilePath();
    }
    if (real.isEmpty())
        return 0;
    // Only the part below the sysfs root speaks about the bus.
    const QString canonSys = QFileInfo(sys).canonicalFilePath();
    if (!canonSys.isEmpty() && real.startsWith(canonSys + QLatin1Char('/')))
        real = real.mid(canonSys.size());
    static const QRegularExpression usbNode(QStringLiteral("^usb\\d+$"));
    for (const QString &part : real.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        if (usbNode.match(part).hasMatch())
            return 7;
    return 0;
}

QMap<QString, Volume> LinuxVolumeMonitor::readVolumes() const
{
    QMap<QString, Volume> result;
    QFile f(options_.mountInfoPath);
    if (!f.open(QIODevice::ReadOnly))
        return result;
    // Later lines mount over earlier ones at the same place: the last one is what is seen.
    for (const MountEntry &e : parseMountInfo(f.readAll())) {
        if (!isVolume(e)) {
            result.remove(e.mountPoint);
            continue;
        }
        Volume v;
        v.root = e.mountPoint;
        v.device = e.source;
        v.fileSystem = e.fsType;
        v.busType = busTypeOf(e);
        v.system = e.mountPoint == QLatin1String("/");
        result.insert(v.root, v);
    }
    return result;
}

QList<Volume> LinuxVolumeMonitor::volumes()
{
    return readVolumes().values();
}

void LinuxVolumeMonitor::start()
{
    if (watchFd_ >= 0)
        return;
    known_ = readVolumes();
    watchFd_ = ::open(QFile::encodeName(options_.mountInfoPath).constData(), O_RDONLY | O_CLOEXEC);
    if (watchFd_ < 0) {
        qWarning("Cannot watch %s for volume changes", qPrintable(options_.mountInfoPath));
        return;
    }
    notifier_ = new QSocketNotifier(watchFd_, QSocketNotifier::Exception);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { rescan(); });
}

void LinuxVolumeMonitor::rescan()
{
    const QMap<QString, Volume> now = readVolumes();
    const QMap<QString, Volume> before = known_;
    known_ = now;
    QStringList gone, came;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        const auto n = now.constFind(it.key());
        if (n == now.cend() || n->device != it->device)
            gone.append(it.key());
    }
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        const auto b = before.constFind(it.key());
        if (b == before.cend() || b->device != it->device)
            came.append(it.key());
    }
    for (const QString &root : gone)
        Q_EMIT volumeChanged(root, false);
    for (const QString &root : came)
        Q_EMIT volumeChanged(root, true);
}

} // namespace dv
