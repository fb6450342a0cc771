#pragma once

#include <QString>

class tInfo;
namespace dv {
class Prompter;

// The start-up search for the database file. It runs before the data module
// exists, so a file found in a usual place can be recorded in the settings
// first. Looks in the folder of the settings, then in
// <Documents>/VidedorovIzarir, then in the program folder; offers to record a
// found folder, or reports that the file is nowhere. Only the folder setting
// is ever written.
class DatabaseSearch {
public:
    // `myDocuments` without a trailing separator; `appPath` with one.
    DatabaseSearch(tInfo &info, Prompter &prompter, QString myDocuments, QString appPath);

    enum class Outcome {
        FoundBySettings,  // the settings already name an existing file
        FoundElsewhere,   // found in Documents or the program folder (asked to record it)
        NotFound,         // reported in an error box
    };
    Outcome run();

private:
    tInfo &info_;
    Prompter &prompter_;
    QString myDocuments_;
    QString appPath_;
};

} // namespace dv
