// dorvanel-cli import [--db PATH] [--keep] [--suppress-warnings] FILE...:
// the Read Log File command without windows; every box is a line on stdout.
#include "cli/CliCommands.h"

#include "core/Errors.h"
#include "db/L3Data.h"
#include "import/ImportState.h"
#include "import/ReadLogFile.h"
#include "platform/FileRegistryStore.h"
#include "platform/StreamPrompter.h"
#include "settings/L3Registry.h"

#include <QDir>

#include <cstdio>
#include <exception>

namespace {

int usage(const char *why)
{
    std::fprintf(stderr, "dorvanel-cli import: %s\n"
                         "usage: dorvanel-cli import [--db PATH] [--keep] [--suppress-warnings] FILE...\n",
                 why);
    return 2;
}

void complain(const QString &text) { std::fprintf(stderr, "dorvanel-cli: %s\n", text.toLocal8Bit().constData()); }

// Remembers which file is being read, so an error can name it.
class CurrentFile : public ImportObserver {
public:
    void fileStarted(const QString &fileName) override { name = fileName; }
    QString name;
};

struct Options {
    QString dbPath;
    bool keep = false;
    bool suppressWarnings = false;
    QStringList files;
};

// Empty text when the arguments are fine, else what is wrong with them.
const char *parse(const QStringList &args, Options &o)
{
    bool optionsEnd = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (optionsEnd || !a.startsWith(u'-') || a == QLatin1String("-")) {
            o.files << a;
        } else if (a == QLatin1String("--")) {
            optionsEnd = true;
        } else if (a == QLatin1String("--db")) {
            if (++i >= args.size() || args[i].isEmpty())
                return "--db needs a database file";
            o.dbPath = args[i];
        } else if (a.startsWith(QLatin1String("--db="))) {
            o.dbPath = a.mid(5);
            if (o.dbPath.isEmpty())
                return "--db needs a database file";
        } else if (a == QLatin1String("--keep")) {
            o.keep = true;
        } else if (a == QLatin1String("--suppress-warnings")) {
            o.suppressWarnings = true;
        } else {
            return "unknown option";
        }
    }
    if (o.files.isEmpty())
        return "no log file given";
    return "";
}

} // namespace

int runImport(const QStringList &args)
{
    Options o;
    if (const char *why = parse(args, o); *why)
        return usage(why);

    dv::FileRegistryStore registry;
    dv::StreamPrompter prompter(stdout);
    tInfo info(registry, prompter);
    info.RegPath = QString::fromLatin1(kSettingsKeyPath);
    TdmDataBase db(info, prompter);

    try {
        const QString path = !o.dbPath.isEmpty()
            ? o.dbPath
            : info.text(ivDATABASEPATH) + QDir::separator() + info.text(ivDATABASENAME);
        db.OpenDBConnection(path);
        // Both tables must be there before any file is touched.
        db.L3EventTbl.open();
        db.L3EventTbl.close();
        db.L3DownLoadTbl.open();
    } catch (const dv::Error &e) {
        complain(e.message());
        return 2;
    }

    ImportState state;
    ReadLogFileCommand command(db, info, prompter, state);
    command.setKeepFiles(o.keep);
    command.setSuppressWarnings(o.suppressWarnings);
    CurrentFile current;
    try {
        return command.run(o.files, &current) ? 0 : 1;
    } catch (const dv::Error &e) {
        complain(current.name + QStringLiteral(": ") + e.className() + QStringLiteral(": ") + e.message());
    } catch (const std::exception &e) {
        complain(current.name + QStringLiteral(": ") + QString::fromLocal8Bit(e.what()));
    }
    return 1;
}
