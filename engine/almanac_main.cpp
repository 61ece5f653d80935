// almanac FROM TO: the almanac of every day from FROM to TO (YYYY-MM-DD, both
// included), one tab-separated line a day after a header line, for checking
// the engine against outside references.
#include <cstdio>
#include <string>

#include "engine/almanac.h"

namespace {

using namespace torvane;

int Usage(const char* problem) {
    std::fprintf(stderr, "almanac: %s\nusage: almanac FROM TO   (dates YYYY-MM-DD, 1900-01-01 .. 2100-12-31)\n",
                 problem);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return Usage("two dates are needed");
    const std::optional<CivilDate> from = almanac::ParseIsoDate(argv[1]);
    const std::optional<CivilDate> to = almanac::ParseIsoDate(argv[2]);
    if (!from || !to) return Usage("a date is not a YYYY-MM-DD day of the calendar");
    const int64_t first = DaysFromCivil(from->year, from->month, from->day);
    const int64_t last = DaysFromCivil(to->year, to->month, to->day);
    if (first > last) return Usage("FROM is after TO");
    if (!AlmanacOfDay(first).valid || !AlmanacOfDay(last).valid) {
        return Usage("the almanac covers 1900-01-01 .. 2100-12-31");
    }

    std::string out(almanac::LineHeader());
    out += '\n';
    for (int64_t day = first; day <= last; ++day) {
        out += almanac::Line(CivilFromDays(day), AlmanacOfDay(day));
        out += '\n';
        if (out.size() > (1u << 16)) {
            if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size()) return 1;
            out.clear();
        }
    }
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) return 1;
    return 0;
}
