#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace dvtest {

QString documents() { return home() + QStringLiteral("/Documents"); }

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write fixture %s", qPrintable(path));
    f.write(bytes);
    return path;
}

} // namespace dvtest
