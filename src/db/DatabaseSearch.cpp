#include "db/DatabaseSearch.h"

#include "platform/Prompter.h"
#include "settings/L3Registry.h"

#include <QDir>
#include <QFileInfo>

namespace dv {

namespace {
bool fileExists(const QString &path) { return QFileInfo(path).isFile(); }
} // namespace

DatabaseSearch::DatabaseSearch(tInfo &info, Prompter &prompter, QString myDocuments, QString appPath)
    : info_(info), prompter_(prompter), myDocuments_(std::move(myDocuments)), appPath_(std::move(appPath))
{
}

DatabaseSearch::Outcome DatabaseSearch::run()
{
    const QString sep = QDir::separator();
    const QString name = info_.text(ivDATABASENAME);
    const QString docsFolder = myDocuments_ + sep + QStringLiteral("VidedorovIzarir") + sep;
    QString candidate = info_.text(ivDATABASEPATH) + sep + name;
    int attempt = 0;
    for (;;) {
        if (fileExists(candidate))
            return attempt == 0 ? Outcome::FoundBySettings : Outcome::FoundElsewhere;
        ++attempt;
        if (attempt == 1)
            candidate = docsFolder + name;
        else if (attempt == 2)
            candidate = appPath_ + name;

        if (fileExists(candidate) && (attempt == 1 || attempt == 2)) {
            const MsgButton answer = prompter_.ask(
                MsgKind::Confirmation,
                QStringLiteral("Database Found in :- ") + candidate + QStringLiteral(" Update Registry?"),
                mbOK | mbCancel, mbCancel);
            if (answer == mbOK)
                info_.SetVariable(ivDATABASEPATH, attempt == 1 ? docsFolder : appPath_);
        }
        if (attempt >= 3 && !fileExists(candidate)) {
            prompter_.show(MsgKind::Error, QStringLiteral("Database Filename doesn't exist :- ") + candidate);
            return Outcome::NotFound;
        }
    }
}

} // namespace dv
