// Any bytes must walk to the end without a crash, and every good record must
// be exactly the 15 bytes the file holds at its offset, ending in the terminator.
#include "core/Errors.h"
#include "import/LogReader.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

std::uint16_t word(const std::uint8_t *p) { return std::uint16_t(p[0] | p[1] << 8); }

void check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    dv::LogReader reader(bytes);
    dv::LogEvent ev;
    int lastIndex = -1;
    std::size_t events = 0;
    while (reader.next(ev)) {
        check(++events <= size * 2); // every record consumes at least one byte
        check(ev.index >= lastIndex && ev.index <= lastIndex + 1);
        lastIndex = ev.index;
        check(ev.offset >= 0 && std::size_t(ev.offset) < size);
        if (ev.kind != dv::LogEvent::Kind::Record)
            continue;
        check(std::size_t(ev.offset) + dv::kLogRecordSize <= size);
        const std::uint8_t *r = data + ev.offset;
        const ExcavRec_t &rec = ev.data.ExcavRecs;
        check(rec.DataType == r[0]);
        check(rec.Time.Secs == r[1] && rec.Time.Mins == r[2] && rec.Time.Hours == r[3] &&
              rec.Time.NU0 == r[4]);
        check(rec.Date.DateStamp == word(r + 5));
        check(rec.LoadWght == word(r + 7));
        check(rec.Machine == word(r + 9));
        check(rec.LoadID == word(r + 11));
        check(ev.data.Termination == dv::kLogTermination && word(r + 13) == dv::kLogTermination);
        try {
            const dv::LogDateTime t = dv::decodeLogDateTime(rec.Time, rec.Date);
            check(t.year >= 2000 && t.year <= 2099 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
                  t.day <= 31 && t.hours < 24 && t.mins < 60 && t.secs < 60);
        } catch (const dv::EConvertError &) {
        }
    }
    check(reader.recordsRead() == lastIndex + 1);
    return 0;
}
