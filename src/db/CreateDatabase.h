#pragma once

#include <QString>

namespace dv {

// Makes a new, empty event database at `path` with the three tables.
// Refuses (EDatabaseError) when anything already exists at `path`; that file
// is left untouched. The program itself never creates a database: this is
// for set-up (dorvanel-cli create-db) and tests.
void createDatabase(const QString &path);

// The schema text the database is made from.
QString schemaSql();

} // namespace dv
