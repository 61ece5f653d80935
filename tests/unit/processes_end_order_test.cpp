#include <gtest/gtest.h>

#include <vector>

#include "processes/end_order.h"

namespace torvane {
namespace {

constexpr ProcessId kSelf = 40;
using Ids = std::vector<ProcessId>;

TEST(ProcessesToEnd, MatchesTheWholeNameWhateverItsCase)
{
    const std::vector<ProcessRecord> list = {
        {4, L"services.exe"},  {40, L"torvane.exe"},     {12, L"Torvane.EXE"},
        {16, L"torvo.exe"},    {20, L"torvane.exe.bak"}, {24, L"torvane"},
        {28, L"TORVANE.exe"},  {32, L"xtorvane.exe"},    {36, L""}};
    EXPECT_EQ(ProcessesToEnd(list, L"TORVANE.EXE", 0), (Ids{40, 12, 28}));
    EXPECT_EQ(ProcessesToEnd(list, L"torvo.exe", 0), (Ids{16}));
    // Not a prefix, a stem or a suffix: "torvane" ends only a process of
    // exactly that name.
    EXPECT_EQ(ProcessesToEnd(list, L"torvane", 0), (Ids{24}));
    EXPECT_TRUE(ProcessesToEnd(list, L"torvane.ex", 0).empty());
    EXPECT_TRUE(ProcessesToEnd(list, L"orvane.exe", 0).empty());
    // An empty name would match the nameless entry; it ends nothing.
    EXPECT_TRUE(ProcessesToEnd(list, L"", 0).empty());
}

TEST(ProcessesToEnd, CallerComesLastWhereverItStands)
{
    const std::vector<ProcessRecord> callerFirst = {
        {kSelf, L"twin.exe"}, {8, L"twin.exe"}, {4, L"other.exe"}, {12, L"TWIN.EXE"}};
    EXPECT_EQ(ProcessesToEnd(callerFirst, L"twin.exe", kSelf), (Ids{8, 12, kSelf}));

    const std::vector<ProcessRecord> callerMiddle = {
        {8, L"twin.exe"}, {kSelf, L"twin.exe"}, {12, L"twin.exe"}};
    EXPECT_EQ(ProcessesToEnd(callerMiddle, L"twin.exe", kSelf), (Ids{8, 12, kSelf}));

    // A caller of another name is never on the list.
    const std::vector<ProcessRecord> other = {{kSelf, L"halter.exe"}, {8, L"twin.exe"}};
    EXPECT_EQ(ProcessesToEnd(other, L"twin.exe", kSelf), (Ids{8}));
}

TEST(NameField, StopsAtTheFirstNul)
{
    const wchar_t field[8] = {L't', L'v', L'.', L'e', L'x', L'e', L'\0', L'z'};
    EXPECT_EQ(NameField(std::wstring_view(field, 8)), L"tv.exe");
    EXPECT_EQ(NameField(std::wstring_view(L"no-nul", 6)), L"no-nul");
    EXPECT_EQ(NameField(std::wstring_view(field + 6, 2)), L"");
}

}  // namespace
}  // namespace torvane
