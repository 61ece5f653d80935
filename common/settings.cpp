#include "common/settings.h"

#include "common/ascii_case.h"

namespace torvane {
namespace {

constexpr std::string_view kTrueText = "True";
constexpr std::string_view kFalseText = "False";

}  // namespace

bool IsFlagOn(std::string_view text)
{
    return EqualsIgnoreAsciiCase(text, kTrueText);
}

std::string_view FlagText(bool on)
{
    return on ? kTrueText : kFalseText;
}

}  // namespace torvane
