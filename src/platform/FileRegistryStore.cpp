#include "platform/FileRegistryStore.h"

#include "core/Errors.h"
#include "platform/RegFileFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace dv {

namespace {

QStringList keyParts(const QString &keyPath)
{
    QStringList parts = keyPath.split(u'\\', Qt::SkipEmptyParts);
    if (!parts.isEmpty() && parts.first().compare(QLatin1String("SOFTWARE"), Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    for (const QString &p : parts)
        if (p == QLatin1String(".") || p == QLatin1String("..") || p.contains(u'/'))
            return {};
    return parts;
}

QString headerFor(const QString &keyPath)
{
    QString path = keyPath;
    while (path.startsWith(u'\\'))
        path.remove(0, 1);
    return QStringLiteral("[HKEY_CURRENT_USER\\") + path + u']';
}

// Reads the file; nullopt when it exists but cannot be read, an empty text
// when it does not exist.
std::optional<QString> load(const QString &file)
{
    QFile f(file);
    if (!f.exists())
        return QString();
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromUtf8(f.readAll());
}

bool save(const QString &file, const QString &text)
{
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        return false;
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = text.toUtf8();
    if (f.write(bytes) != bytes.size())
        return false;
    return f.commit();
}

} // namespace

FileRegistryStore::FileRegistryStore(QString configRoot) : root_(std::move(configRoot)) {}

QString FileRegistryStore::defaultConfigRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString FileRegistryStore::fileFor(const QString &keyPath) const
{
    const QStringList parts = keyParts(keyPath);
    if (parts.isEmpty() || root_.isEmpty())
        return {};
    return root_ + u'/' + parts.join(u'/') + QStringLiteral(".reg");
}

bool FileRegistryStore::openOrCreateKey(const QString &keyPath)
{
    const QString file = fileFor(keyPath);
    if (file.isEmpty())
        return false;
    const QFileInfo info(file);
    if (info.exists())
        return info.isFile() && info.isReadable();
    return save(file, RegFileFormat::fresh(headerFor(keyPath)).text());
}

std::optional<RegValue> FileRegistryStore::read(const QString &keyPath, const QString &name)
{
    const QString file = fileFor(keyPath);
    if (file.isEmpty())
        return std::nullopt;
    const std::optional<QString> text = load(file);
    if (!text || text->isEmpty())
        return std::nullopt;
    return RegFileFormat::parse(*text).value(name);
}

void FileRegistryStore::write(const QString &keyPath, const QString &name, const RegValue &value)
{
    const QString file = fileFor(keyPath);
    const auto refuse = [&name] {
        throw ERegistryException(QStringLiteral("Failed to set data for '%1'").arg(name));
    };
    if (file.isEmpty() || name.isEmpty())
        refuse();
    // A file we cannot read is never replaced: that would lose its other values.
    const std::optional<QString> text = load(file);
    if (!text)
        refuse();
    RegFileFormat content = text->isEmpty() ? RegFileFormat::fresh(headerFor(keyPath))
                                            : RegFileFormat::parse(*text);
    content.set(name, value);
    if (!save(file, content.text()))
        refuse();
}

} // namespace dv
