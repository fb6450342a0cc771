#include "import/ReadLogFile.h"

#include "core/Errors.h"
#include "db/L3Data.h"
#include "import/ReadLogData.h"
#include "platform/Documents.h"
#include "platform/Prompter.h"
#include "settings/L3Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

ReadLogFileCommand::ReadLogFileCommand(TdmDataBase &db, tInfo &info, dv::Prompter &prompter, ImportState &state)
    : db_(db), info_(info), prompter_(prompter), state_(state)
{
}

QString ReadLogFileCommand::SerialFromFileName(const QString &fileName)
{
    // Characters 6 to 9 of the (at most 15 character) name; a short name gives
    // what it has from character 6 on, possibly nothing.
    return fileName.left(15).mid(5, 4);
}

QString ReadLogFileCommand::BackupPathFor(const QString &path)
{
    return dv::GetMyDocuments() + QStringLiteral("/VidedorovIzarir/__backup/") + QFileInfo(path).completeBaseName()
        + QStringLiteral(".E~S");
}

void ReadLogFileCommand::loadFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw dv::EInOutError(QStringLiteral("Cannot open log file ") + path + QStringLiteral(": ")
                              + file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw dv::EInOutError(QStringLiteral("Cannot read log file ") + path + QStringLiteral(": ")
                              + file.errorString());
    state_.Ms1 = std::move(bytes);
}

bool ReadLogFileCommand::disposeOfFile(const QString &path)
{
    if (info_.flag(ivBACKUPONREADLOGFILE)) {
        const QString target = BackupPathFor(path);
        const QString folder = QFileInfo(target).absolutePath();
        QString why;
        if (!QFileInfo(folder).isDir()) {
            why = QStringLiteral("the backup folder ") + QDir::toNativeSeparators(folder)
                + QStringLiteral(" does not exist");
        } else {
            // One move: the file either arrives under its backup name or stays
            // where it was under its own (across drives Qt copies, then removes
            // the original, and takes the copy back if that removal fails).
            QFile file(path);
            if (file.rename(target))
                return true;
            why = file.errorString();
        }
        prompter_.show(dv::MsgKind::Error, QStringLiteral("Could not back up ") + QDir::toNativeSeparators(path)
                                               + QStringLiteral(" to ") + QDir::toNativeSeparators(target)
                                               + QStringLiteral(": ") + why);
        return false;
    }
    if (info_.flag(ivDELETEONREADLOGFILE)) {
        QFile file(path);
        if (file.remove())
            return true;
        prompter_.show(dv::MsgKind::Error, QStringLiteral("Could not delete ") + QDir::toNativeSeparators(path)
                                               + QStringLiteral(": ") + file.errorString());
        return false;
    }
    return true;
}

bool ReadLogFileCommand::run(const QStringList &paths, ImportObserver *observer)
{
    ReadLogData reader(db_, info_, prompter_, state_);
    reader.setForceSuppressWarnings(suppressWarnings_);
    bool allClean = true;
    for (const QString &path : paths) {
        const QString name = QFileInfo(path).fileName();
        // Assigned whole, so a short name never keeps characters of a longer one.
        state_.FileName.FileNameStr = name.left(15);
        const QString serial = SerialFromFileName(name);
        if (observer)
            observer->fileStarted(name);

        loadFile(path);
        db_.DownloadTableUpdateFileSerialNum(serial);
        const bool clean = reader.run(observer);
        // The file is no longer needed in memory once read.
        state_.Ms1.clear();

        if (!clean) {
            allClean = false; // left untouched, so it can be read again
            continue;
        }
        if (!keepFiles_ && !disposeOfFile(path))
            allClean = false;
    }
    return allClean;
}
