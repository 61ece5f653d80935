#include "common/settings.h"

#include "common/ini_document.h"

namespace torvane {
namespace {

constexpr std::string_view kTrueText = "True";
constexpr std::string_view kFalseText = "False";

}  // namespace

bool IsFlagOn(std::string_view text)
{
    return ini::EqualsIgnoreAsciiCase(text, kTrueText);
}

std::string_view FlagText(bool on)
{
    return on ? kTrueText : kFalseText;
}

}  // namespace torvane
