#pragma once

#include "import/ImportObserver.h"
#include "import/ImportState.h"

#include <QString>
#include <QStringList>

class tInfo;
class TdmDataBase;
namespace dv { class Prompter; }

// The Read Log File command without its widgets: for each file in order, one
// download row under the serial number of its name, the file's records read
// into the event table, then a backup or deletion of a cleanly read file.
class ReadLogFileCommand {
public:
    ReadLogFileCommand(TdmDataBase &db, tInfo &info, dv::Prompter &prompter, ImportState &state);

    // Leave every file where it is, whatever the settings say.
    void setKeepFiles(bool keep) { keepFiles_ = keep; }
    // Treat "Suppress Warnings" as True without storing it.
    void setSuppressWarnings(bool suppress) { suppressWarnings_ = suppress; }

    // True when every file read clean (and its backup or deletion worked).
    // An error that ends the command is thrown after that file's rows read so
    // far are committed; the files after it are not read.
    bool run(const QStringList &paths, ImportObserver *observer = nullptr);

    // Serial number from a file name: the characters 6 to 9 that exist.
    static QString SerialFromFileName(const QString &fileName);

    // Where a cleanly read file is moved: <Documents>/VidedorovIzarir/__backup/<name>.E~S.
    static QString BackupPathFor(const QString &path);

private:
    // Loads the file into Ms1; throws dv::EInOutError when it cannot be read.
    void loadFile(const QString &path);
    // Backup or deletion as the settings say; false (after an error box) when it failed.
    bool disposeOfFile(const QString &path);

    TdmDataBase &db_;
    tInfo &info_;
    dv::Prompter &prompter_;
    ImportState &state_;
    bool keepFiles_ = false;
    bool suppressWarnings_ = false;
};
