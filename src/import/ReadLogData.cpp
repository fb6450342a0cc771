#include "import/ReadLogData.h"

#include "core/Errors.h"
#include "db/L3Data.h"
#include "db/SqlValues.h"
#include "import/LogReader.h"
#include "import/ImportObserver.h"
#include "platform/Prompter.h"
#include "settings/L3Registry.h"

#include <memory>

using dv::LogEvent;

ReadLogData::ReadLogData(TdmDataBase &db, tInfo &info, dv::Prompter &prompter, ImportState &state)
    : db_(db), info_(info), prompter_(prompter), state_(state)
{
}

bool ReadLogData::warningsSuppressed()
{
    // Read at each box, so a change made while a box is open counts.
    return forceSuppress_ || info_.flag(ivSUPPRESSWARNINGS);
}

void ReadLogData::GetDateTimeStamp()
{
    const ExcavRec_t &rec = state_.ExcavatorData.ExcavRecs;
    const dv::LogDateTime t = dv::decodeLogDateTime(rec.Time, rec.Date);
    db_.DateTime_Stamp = clock_.make(t.year, t.month, t.day, t.hours, t.mins, t.secs);
}

bool ReadLogData::run(ImportObserver *observer)
{
    state_.LogToDataBase = false;
    bool result = true;
    dv::LogReader reader(state_.Ms1);
    std::unique_ptr<dv::EventInserter> inserter;
    qint32 downLoad = 0;
    EventRow row;
    dv::LogDateTime last{};
    bool haveLast = false;
    const auto stampLast = [&] {
        if (haveLast)
            db_.DateTime_Stamp = clock_.make(last.year, last.month, last.day, last.hours, last.mins, last.secs);
    };

    try {
        LogEvent ev;
        while (reader.next(ev)) {
            const auto n = [&ev] { return QString::number(ev.index); };
            switch (ev.kind) {
            case LogEvent::Kind::FoundTermination:
                state_.ExcavatorData = ev.data;
                state_.LogToDataBase = false;
                result = false;
                if (!warningsSuppressed())
                    prompter_.show(dv::MsgKind::Error, QStringLiteral("Found Termination in Record ") + n()
                                                           + QStringLiteral(" But record discarded"));
                break;
            case LogEvent::Kind::ErrorReading:
                if (!ev.cutShort)
                    state_.ExcavatorData = ev.data;
                state_.LogToDataBase = false;
                result = false;
                if (!warningsSuppressed())
                    prompter_.show(dv::MsgKind::Error, QStringLiteral("Error Reading Data in Record ") + n());
                break;
            case LogEvent::Kind::Record: {
                state_.ExcavatorData = ev.data;
                state_.LogToDataBase = true;
                ++state_.DwnldRecrd; // a 16-bit count: wraps from 65535 to 0
                if (!db_.connected()) {
                    prompter_.show(dv::MsgKind::Warning, QStringLiteral("Connection to DataBase Failed"));
                    result = false;
                    break;
                }
                if (!inserter) {
                    if (!db_.L3DownLoadTbl.active() || db_.L3DownLoadTbl.recNo() < 0)
                        throw dv::EDatabaseError(
                            QStringLiteral("DownloadReqTable: no download row for the events of this file"));
                    downLoad = db_.L3DownLoadTbl.field(QStringLiteral("DownLoad")).toInt();
                    inserter = db_.beginEventInsert();
                }
                // The date is decoded before anything is written, so an invalid
                // one never leaves a half-filled row behind. The row takes the
                // wall-clock text straight from the fields; the data module's
                // stamp is set once from the last stored record (see below),
                // because a local date-time per row costs a time-zone lookup.
                const ExcavRec_t &rec = ev.data.ExcavRecs;
                const dv::LogDateTime t = dv::decodeLogDateTime(rec.Time, rec.Date);
                row.DownLoad = downLoad;
                row.DateTimeText = dv::sqlvalues::dateTimeText(t.year, t.month, t.day, t.hours, t.mins, t.secs);
                row.ErrorCode = QString(QChar(char16_t(rec.Machine)));
                row.ErrorStr = QString::number(rec.LoadID);
                row.PeakSpeed = float(rec.LoadWght / 100.0);
                inserter->add(row);
                last = t;
                haveLast = true;
                if (observer)
                    observer->recordStored(state_.DwnldRecrd);
                break;
            }
            }
        }
        stampLast();
        if (inserter)
            inserter->commit();
    } catch (...) {
        stampLast();
        // Keep what was read before the failing record; the first error is
        // the one worth reporting, so a failing commit here does not replace it.
        if (inserter) {
            try {
                inserter->commit();
            } catch (...) {
            }
        }
        throw;
    }

    prompter_.show(dv::MsgKind::Plain,
                   QString::number(reader.recordsRead()) + QStringLiteral(" Records were read into Database"));
    return result;
}
