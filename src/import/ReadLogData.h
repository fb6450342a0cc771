#pragma once

#include "import/ImportState.h"
#include "import/LocalDateTimeCache.h"

class tInfo;
class TdmDataBase;
class ImportObserver;
namespace dv {
class Prompter;
}

// Reads the log file held in ImportState::Ms1 into the event table under the
// current download row, with the warning boxes and the summary box the
// operator sees. All rows of one file go in one transaction, committed when
// the file ends or when an error ends the read, so rows before a bad record
// stay and a crash leaves none of the file.
class ReadLogData {
public:
    ReadLogData(TdmDataBase &db, tInfo &info, dv::Prompter &prompter, ImportState &state);

    // Treat "Suppress Warnings" as True without storing it (command-line use).
    void setForceSuppressWarnings(bool on) { forceSuppress_ = on; }

    // True when every record had a good terminator and found the database
    // connected. Throws dv::EConvertError for a record whose date or time is
    // invalid, and dv::EDatabaseError when the database refuses a row; the
    // rows before it are committed and no summary box is shown.
    bool run(ImportObserver *observer = nullptr);

    // Decodes the date and time of state.ExcavatorData into db.DateTime_Stamp.
    void GetDateTimeStamp();

private:
    bool warningsSuppressed();

    TdmDataBase &db_;
    tInfo &info_;
    dv::Prompter &prompter_;
    ImportState &state_;
    bool forceSuppress_ = false;
    LocalDateTimeCache clock_;
};
