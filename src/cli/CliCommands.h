#pragma once

#include <QStringList>

// Subcommands of dorvanel-cli. Each takes the arguments after its name and
// returns the process exit status.
int runCreateDb(const QStringList &args); // create-db PATH
int runImport(const QStringList &args);   // import [--db PATH] [--keep] [--suppress-warnings] FILE...
