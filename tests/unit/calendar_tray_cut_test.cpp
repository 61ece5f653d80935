// Tray texts with malformed UTF-8 (found by fuzz/text_fuzzer): the cut must
// still fit the field once converted and never split a character.
#include <gtest/gtest.h>

#include <string>

#include "calendar/tray.h"
#include "common/text_codec.h"

namespace torvane::calendar {
namespace {

std::string Repeat(std::string_view piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

TEST(CalendarTrayCut, AStrayLeadByteDoesNotSwallowTheCharacterAfterIt) {
    const std::string text = "\xE4" "中";  // a lone lead byte, then a whole character
    EXPECT_EQ(CutToAnsiField(text, 3), "\xE4");
    EXPECT_EQ(CutToAnsiField(text, 5), text);
}

TEST(CalendarTrayCut, MalformedTextFitsTheFieldOnceConverted) {
    // A cut-off sequence followed by ASCII: three characters to every converter.
    const std::string text = Repeat("\xE4\xB8" "a", 60);
    for (size_t field : {kTrayInfoTitleBytes, kTrayTipBytes}) {
        SCOPED_TRACE(field);
        const std::string cut = CutToAnsiField(text, field);
        EXPECT_LT(Utf8ToGbk(cut).size(), field);
        EXPECT_LT(Utf8ToUtf16(cut).size(), field);
        EXPECT_EQ(text.substr(0, cut.size()), cut);
    }
}

}  // namespace
}  // namespace torvane::calendar
