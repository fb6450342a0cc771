// dorvanel-cli create-db PATH: makes a new, empty event database.
#include "cli/CliCommands.h"

#include "core/Errors.h"
#include "db/CreateDatabase.h"

#include <cstdio>

int runCreateDb(const QStringList &args)
{
    if (args.size() != 1 || args.front().isEmpty() || args.front().startsWith(u'-')) {
        std::fputs("usage: dorvanel-cli create-db PATH\n", stderr);
        return 2;
    }
    try {
        dv::createDatabase(args.front());
    } catch (const dv::Error &e) {
        std::fprintf(stderr, "dorvanel-cli: %s\n", e.message().toLocal8Bit().constData());
        return 1;
    }
    std::fprintf(stdout, "Created %s\n", args.front().toLocal8Bit().constData());
    return 0;
}
