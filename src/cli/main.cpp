// dorvanel-cli: the program's database work without windows, for set-up,
// scheduled and bulk imports.
#include "cli/CliCommands.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {
int usage()
{
    std::fputs("usage: dorvanel-cli create-db PATH\n"
               "       dorvanel-cli import [--db PATH] [--keep] [--suppress-warnings] FILE...\n",
               stderr);
    return 2;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Dorvanel"));
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    if (command == QLatin1String("create-db"))
        return runCreateDb(args);
    if (command == QLatin1String("import"))
        return runImport(args);
    return usage();
}
