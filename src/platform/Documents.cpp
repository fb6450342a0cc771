#include "platform/Documents.h"

#include "core/Errors.h"

#include <QStandardPaths>

namespace dv {

QString documentsLocation()
{
    // writableLocation only reports the folder; it never creates it.
    QString path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

QString GetMyDocuments()
{
    const QString path = documentsLocation();
    if (path.isEmpty())
        throw EGeneralError(QStringLiteral("Could not find MyDocuments folder location."));
    return path;
}

} // namespace dv
