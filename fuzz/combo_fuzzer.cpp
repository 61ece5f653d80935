// The combo box's list files are outside input: anyone may edit one. Taking
// their lines and splitting entries never fails, a line keeps at most 80
// whole characters, an entry's code holds no "=" and its text is trimmed, and
// a list built from them keeps codes for its first hundred entries only.
//
// Input: any bytes, decoded from GBK as the loader decodes a file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/text_codec.h"
#include "controls/combo.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace torvane;
    const std::string text = GbkToUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    controls::Combo combo("fuzz");
    combo.SetTagCode(true);
    for (const std::string& line : controls::ListFileLines(text)) {
        FUZZ_CHECK(line.find('\r') == std::string::npos && line.find('\n') == std::string::npos);
        FUZZ_CHECK(Utf8ToUtf16(line).size() <= 2 * controls::kMaxLineChars);  // a character is one or two units
        FUZZ_CHECK(SanitizeUtf8(line) == line);  // no character was cut in two
        const controls::SplitEntry entry = controls::Split(line);
        if (entry.hasCode) FUZZ_CHECK(entry.tag.find('=') == std::string::npos);
        if (entry.hasCode) FUZZ_CHECK(entry.display.empty() || (entry.display.front() != ' ' && entry.display.back() != ' '));
        combo.AddItem(line);
    }
    for (int i = 0; i < combo.ListCount(); ++i) {
        const std::string item = combo.GetItem(i);
        if (i >= controls::kTagSlots) FUZZ_CHECK(item == combo.Entries()[static_cast<size_t>(i)]);
    }
    return 0;
}
