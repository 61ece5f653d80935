#include "controls/combo.h"

#include <algorithm>
#include <cmath>

#include "common/ascii_case.h"
#include "common/file_io.h"
#include "common/program_folder.h"
#include "common/text_codec.h"

namespace torvane::controls {
namespace {

// Virtual-key codes the open list answers.
constexpr int kKeyReturn = 0x0D;
constexpr int kKeyEscape = 0x1B;
constexpr int kKeyPageUp = 0x21;
constexpr int kKeyPageDown = 0x22;
constexpr int kKeyUp = 0x26;
constexpr int kKeyDown = 0x28;
constexpr int kKeyF4 = 0x73;
constexpr int kWheelRows = 3;

// Places of the parts, in twips.
constexpr int kListTop = 30;
constexpr int kButtonFromRight = 285;
constexpr int kButtonTop = 30;
constexpr int kButtonSize = 255;  // 17 pixels at 96 DPI
constexpr int kTextLeft = 60;
constexpr int kTextTop = 60;
constexpr int kTextNarrower = 375;
constexpr int kTextBottomGap = 45;
constexpr int kTextRisePerPoint = 15;

std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// Codes compare without regard to ASCII letter case.
std::string UpperCode(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) { return AsciiUpper(c); });
    return out;
}

// The first `count` characters of UTF-8 text; a character is never split.
std::string_view FirstChars(std::string_view text, size_t count) {
    size_t at = 0;
    for (size_t n = 0; n < count && at < text.size(); ++n) {
        const size_t length = Utf8SequenceLength(text.substr(at));
        at += length == 0 ? 1 : length;
    }
    return text.substr(0, at);
}

size_t CharCount(std::string_view text) {
    size_t count = 0;
    for (size_t at = 0; at < text.size(); ++count) {
        const size_t length = Utf8SequenceLength(text.substr(at));
        at += length == 0 ? 1 : length;
    }
    return count;
}

}  // namespace

SplitEntry Split(std::string_view entry) {
    std::string_view e = TrimSpaces(entry);
    const size_t equals = e.find('=');
    if (equals == 0) {
        e.remove_prefix(1);
    } else if (equals != std::string_view::npos && equals + 1 == e.size()) {
        e.remove_suffix(1);
    } else if (equals != std::string_view::npos) {
        return {std::string(TrimSpaces(e.substr(0, equals))), std::string(TrimSpaces(e.substr(equals + 1))), true};
    }
    return {std::string(e), std::string(e), false};
}

std::vector<std::string> ListFileLines(std::string_view text) {
    std::string buffer;
    buffer.reserve(text.size() + 1);
    for (char c : text) {
        if (c != '\n') buffer += c;
    }
    if (buffer.empty() || buffer.back() != '\r') buffer += '\r';
    std::vector<std::string> lines;
    for (size_t at = 0; at < buffer.size();) {
        const size_t end = buffer.find('\r', at);
        std::string_view line = std::string_view(buffer).substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.front() == ';') line = ";";
        lines.emplace_back(FirstChars(line, kMaxLineChars));
    }
    return lines;
}

Combo::Combo(std::string name, ComboEvents* events) : name_(std::move(name)), events_(events) {}

// --- Properties -----------------------------------------------------------------

void Combo::SetText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    MarkProperty();
    RaiseChange();
    Changed();
}

void Combo::SetTextQuietly(std::string text) { text_ = std::move(text); }

void Combo::SetFileName(std::string fileName) { fileName_ = std::move(fileName), MarkProperty(); }

void Combo::SetBackColor(Rgb color) { backColor_ = color, MarkProperty(), Changed(); }

void Combo::SetForeColor(Rgb color) { foreColor_ = color, MarkProperty(), Changed(); }

void Combo::SetFont(ComboFont font) {
    font_ = std::move(font);
    MarkProperty();
    Changed();  // the layout follows the font
}

void Combo::SetLocked(bool locked) { locked_ = locked, MarkProperty(), Changed(); }

void Combo::SetMaxLength(int maxLength) { maxLength_ = std::max(maxLength, 0), MarkProperty(), Changed(); }

void Combo::SetToolTipText(std::string tip) { toolTip_ = std::move(tip), MarkProperty(), Changed(); }

void Combo::SetFieldName(std::string fieldName) { fieldName_ = std::move(fieldName), MarkProperty(); }

void Combo::SetTagCode(bool on) { tagCode_ = on, MarkProperty(); }

std::string Combo::SelText() const {
    const std::u16string text = Utf8ToUtf16(text_);
    const size_t start = std::min<size_t>(static_cast<size_t>(selStart_), text.size());
    return Utf16ToUtf8(std::u16string_view(text).substr(start, static_cast<size_t>(selLength_)));
}

void Combo::SetEnabled(bool enabled) {
    enabled_ = enabled;
    textEnabled_ = enabled;
    MarkProperty();
    picture_ = enabled ? ButtonPicture::Normal : ButtonPicture::Disabled;
    border_ = enabled ? kBorderEnabled : kBorderDisabled;
    if (!enabled) SetDropped(false);
    Changed();
}

void Combo::SetListIndex(int index) {
    if (index == -1) {
        listIndex_ = -1;
        Changed();
        return;
    }
    if (index < 0 || index >= ListCount()) return;  // no such entry: nothing happens
    listIndex_ = index;
    if (tagCode_ && index < kTagSlots) {
        currentTag_ = tags_[static_cast<size_t>(index)];
    } else if (!tagCode_) {
        currentTag_.clear();
    }
    SetText(entries_[static_cast<size_t>(index)]);
    Changed();
}

// --- List methods -----------------------------------------------------------------

void Combo::Append(const SplitEntry& split, std::string_view item) {
    entries_.emplace_back(tagCode_ ? std::string_view(split.display) : item);
    currentIndex_ = ListCount() - 1;
    if (tagCode_ && currentIndex_ < kTagSlots) {
        tags_[static_cast<size_t>(currentIndex_)] = currentTag_;
        lastTag_ = currentIndex_;
    }
}

bool Combo::AddEntry(std::string_view item, std::optional<int> index) {
    SplitEntry split;
    if (tagCode_) {
        split = Split(item);
        if (split.display.empty()) return false;
        currentTag_ = split.tag;
        currentDisplay_ = split.display;
    } else if (item.empty()) {
        return false;
    }
    if (index && *index < 0) index = 0;
    if (index && *index > ListCount() - 1) index.reset();
    if (!index) {
        Append(split, item);
        return true;
    }
    const int at = *index;
    entries_.insert(entries_.begin() + at, tagCode_ ? split.display : std::string(item));
    if (tagCode_ && at < kTagSlots) {
        // The codes behind the new entry move down one place; the last slot's
        // code falls off with its entry, which now lies past the table.
        const int f = std::clamp(at, 0, lastTag_);
        for (int i = std::min(lastTag_, kTagSlots - 2); i >= f; --i)
            tags_[static_cast<size_t>(i + 1)] = tags_[static_cast<size_t>(i)];
        tags_[static_cast<size_t>(f)] = currentTag_;
        lastTag_ = std::min(lastTag_ + 1, kTagSlots - 1);
    }
    if (listIndex_ >= at) ++listIndex_;
    currentIndex_ = at;
    return true;
}

void Combo::AddItem(std::string_view item, std::optional<int> index) {
    if (!AddEntry(item, index)) return;
    listIndex_ = currentIndex_;
    SetTextQuietly(entries_[static_cast<size_t>(currentIndex_)]);
    RaiseChange();
    Changed();
}

void Combo::UpdateItem(std::string_view item, int index) {
    if (index < 0 || index > ListCount() - 1) return;
    if (tagCode_ && index < kTagSlots && index <= lastTag_) {
        const SplitEntry split = Split(item);
        currentTag_ = split.tag;
        currentDisplay_ = split.display;
        entries_[static_cast<size_t>(index)] = split.display;
        tags_[static_cast<size_t>(index)] = split.tag;
    } else {
        entries_[static_cast<size_t>(index)] = std::string(item);
    }
    currentIndex_ = index;
    if (listIndex_ >= 0) SetTextQuietly(entries_[static_cast<size_t>(listIndex_)]);
    RaiseChange();
    Changed();
}

std::string Combo::GetItem(std::optional<int> index) const {
    if (!index) {
        if (entries_.empty()) return {};
        index = ListCount() - 1;
    }
    const int at = std::max(*index, 0);
    const std::string text = at < ListCount() ? entries_[static_cast<size_t>(at)] : std::string();
    // Entries past the tag table have no code: their text alone.
    if (!tagCode_ || at >= kTagSlots) return text;
    return tags_[static_cast<size_t>(at)] + "=" + text;
}

void Combo::RemoveItem(std::optional<int> index) {
    if (!index) {
        if (entries_.empty()) return;
        index = ListCount() - 1;
    }
    const int at = std::max(*index, 0);
    if (at >= ListCount()) return;
    if (tagCode_ && at < kTagSlots) {
        for (int i = at; i < kTagSlots - 1; ++i) tags_[static_cast<size_t>(i)] = tags_[static_cast<size_t>(i + 1)];
        tags_[kTagSlots - 1].clear();
        lastTag_ = std::max(lastTag_ - 1, 0);
    }
    entries_.erase(entries_.begin() + at);
    if (listIndex_ == at) {
        listIndex_ = -1;
    } else if (listIndex_ > at) {
        --listIndex_;
    }
    hot_ = std::min(hot_, ListCount() - 1);
    if (entries_.empty()) SetDropped(false);
    RaiseChange();
    Changed();
}

void Combo::Clear() {
    entries_.clear();
    lastTag_ = 0;
    listIndex_ = -1;
    hot_ = -1;
    top_ = 0;
    SetDropped(false);
    Changed();
}

std::string Combo::GetTagCode() {
    currentTag_.clear();
    if (listIndex_ >= 0 && tagCode_ && listIndex_ < kTagSlots) currentTag_ = tags_[static_cast<size_t>(listIndex_)];
    return currentTag_;
}

bool Combo::SetTagCode(std::string_view tgCode, int& startingFromIndex) {
    const int lastSearched = std::min(ListCount() - 1, kTagSlots - 1);
    const int start = startingFromIndex > lastSearched ? 0 : std::max(startingFromIndex, 0);
    const std::string key = UpperCode(TrimSpaces(tgCode));
    currentTag_ = key;
    int found = -1;
    if (!key.empty()) {
        for (int i = start; i <= lastSearched && found < 0; ++i) {
            if (UpperCode(tags_[static_cast<size_t>(i)]) == key) found = i;
        }
    }
    if (found >= 0) {
        listIndex_ = found;
        SetTextQuietly(entries_[static_cast<size_t>(found)]);
        startingFromIndex = found + 1 > lastSearched ? 0 : found + 1;
    } else {
        listIndex_ = -1;
        SetTextQuietly({});
    }
    RaiseChange();
    Changed();
    return found >= 0;
}

// --- The list file --------------------------------------------------------------------

std::string Combo::ListFilePath() const {
    const std::string_view named = TrimSpaces(fileName_);
    return named.empty() ? ProgramFilePath(name_ + ".Txt") : std::string(named);
}

bool Combo::SaveToFile() const {
    std::string text;
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (tagCode_ && i < kTagSlots) text += tags_[i] + "=";
        text += entries_[i] + "\r\n";
    }
    // Written beside the old file and moved over it: a failed write (a full
    // disk) leaves the previous list whole.
    return ReplaceFileContents(ListFilePath(), Utf8ToGbk(text));
}

bool Combo::LoadedFromFile() {
    const FileBytes file = ReadFileBytes(ListFilePath());
    if (file.outcome != ReadOutcome::Read || file.bytes.empty()) return false;
    // Decoded before the lines are cut, so a cut never splits a character.
    const std::vector<std::string> lines = ListFileLines(GbkToUtf8(file.bytes));
    const auto first = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return CharCount(l) >= 2; });
    if (first == lines.end()) return false;
    Clear();
    tagCode_ = Split(*first).hasCode;
    AddEntry(*first, std::nullopt);
    for (auto line = first + 1; line != lines.end(); ++line) {
        if (*line == ";" || TrimSpaces(*line).empty()) continue;
        AddEntry(*line, std::nullopt);
    }
    Changed();
    return true;
}

// --- Pictures and the open list ------------------------------------------------------

void Combo::ResetPic() {
    // A disabled control keeps its disabled picture.
    if (picture_ == ButtonPicture::Normal || !textEnabled_) return;
    picture_ = ButtonPicture::Normal;
    Changed();
}

void Combo::SetDropped(bool dropped) {
    if (dropped && entries_.empty()) dropped = false;
    if (dropped == dropped_) return;
    dropped_ = dropped;
    if (dropped) {
        hot_ = std::max(listIndex_, 0);
        ScrollTo(hot_);
    }
}

void Combo::SetDroppedDown(bool dropped) {
    if (dropped && !textEnabled_) return;
    SetDropped(dropped);
    Changed();
}

void Combo::ScrollTo(int index) {
    const int lastTop = std::max(ListCount() - kDropRows, 0);
    if (index < top_) top_ = index;
    if (index >= top_ + kDropRows) top_ = index - kDropRows + 1;
    top_ = std::clamp(top_, 0, lastTop);
}

// --- Events and notes -------------------------------------------------------------------

void Combo::RaiseChange() {
    if (events_) events_->Change(*this);
}

void Combo::Changed() {
    if (observer_) observer_();
}

void Combo::MarkProperty() { propertiesChanged_ = true; }

// --- Persistence ----------------------------------------------------------------------------

void Combo::ReadProperties(const ComboProperties& p) {
    text_ = p.text.value_or("0");
    backColor_ = p.backColor.value_or(kDefaultBackColor);
    font_ = p.font.value_or(ComboFont{});
    foreColor_ = p.foreColor.value_or(kWindowText);
    const int index = p.listIndex.value_or(-1);
    listIndex_ = index >= 0 && index < ListCount() ? index : -1;
    locked_ = p.locked.value_or(false);
    maxLength_ = std::max(p.maxLength.value_or(0), 0);
    toolTip_ = p.toolTipText.value_or("");
    fieldName_ = p.fieldName.value_or("");
    enabled_ = p.enabled.value_or(false);  // the flag only: the look stays
    tagCode_ = p.tagCode.value_or(false);
    fileName_ = p.fileName.value_or("");
    propertiesChanged_ = false;
    Changed();
}

ComboProperties Combo::WriteProperties() const {
    return ComboProperties{text_,    backColor_, font_,    foreColor_, listIndex_, locked_,
                           maxLength_, toolTip_, fieldName_, enabled_, tagCode_,  fileName_};
}

// --- Layout ------------------------------------------------------------------------------------

void Combo::Resize(int widthTwips, int /*heightTwips*/) {
    const int width = std::max(widthTwips, kMinWidthTwips);
    if (width == width_) return;
    width_ = width;
    Changed();
}

ComboLayout Combo::Layout() const {
    const int w = width_, h = kHeightTwips;
    int textTop = kTextTop;
    if (font_.centiPt > 800) textTop -= kTextRisePerPoint * static_cast<int>(std::lround((font_.centiPt - 800) / 100.0));
    return ComboLayout{
        Rect{0, 0, w, h},
        Rect{0, 0, w, h},
        Rect{0, kListTop, w, h - kListTop},
        Rect{w - kButtonFromRight, kButtonTop, kButtonSize, kButtonSize},
        Rect{kTextLeft, textTop, w - kTextNarrower, h - textTop - kTextBottomGap},
    };
}

// --- The user -----------------------------------------------------------------------------------

void Combo::OnTextEdited(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    RaiseChange();
    Changed();
}

void Combo::OnSelectionChanged(int start, int length) {
    selStart_ = std::max(start, 0);
    selLength_ = std::max(length, 0);
}

void Combo::OnTextClick() {
    if (events_) events_->Click(*this);
}

void Combo::OnTextMouseDown(const MouseArgs& args) {
    if (events_) events_->MouseDown(*this, args);
}

void Combo::OnMouseMove(const MouseArgs& args) {
    if (events_) events_->MouseMove(*this, args);
}

void Combo::OnButtonMouseMove(const MouseArgs& args) {
    if (textEnabled_ && picture_ != ButtonPicture::Hover && picture_ != ButtonPicture::Pressed) {
        picture_ = ButtonPicture::Hover;
        Changed();
    }
    OnMouseMove(args);
}

void Combo::OnButtonDown() {
    if (!textEnabled_) return;
    // The pressed picture is shown for the toggle only: the window paints
    // it while it hears of the change, then the normal one comes back.
    picture_ = ButtonPicture::Pressed;
    SetDropped(!dropped_);
    Changed();
    ResetPic();
}

void Combo::OnButtonUp() { ResetPic(); }

bool Combo::OnKeyDown(int keyCode, int shift) {
    if (events_) events_->KeyDown(*this, keyCode, shift);
    if (keyCode == 0 || !textEnabled_) return keyCode == 0;
    const bool alt = (shift & kAltKey) != 0;
    if (keyCode == kKeyF4 || (alt && (keyCode == kKeyDown || keyCode == kKeyUp))) {
        SetDropped(!dropped_);
        Changed();
        return true;
    }
    if (dropped_) {
        switch (keyCode) {
            case kKeyDown: hot_ = std::min(hot_ + 1, ListCount() - 1); break;
            case kKeyUp: hot_ = std::max(hot_ - 1, 0); break;
            case kKeyPageDown: hot_ = std::min(hot_ + kDropRows, ListCount() - 1); break;
            case kKeyPageUp: hot_ = std::max(hot_ - kDropRows, 0); break;
            case kKeyReturn: OnListChoose(hot_); return true;
            case kKeyEscape: SetDropped(false), Changed(); return true;
            default: return false;
        }
        ScrollTo(hot_);
        Changed();
        return true;
    }
    if (entries_.empty()) return false;
    if (keyCode == kKeyDown) {
        SetListIndex(std::min(listIndex_ + 1, ListCount() - 1));
        return true;
    }
    if (keyCode == kKeyUp) {
        SetListIndex(std::max(listIndex_ - 1, 0));
        return true;
    }
    return false;
}

void Combo::OnKeyUp(int keyCode, int shift) {
    if (events_) events_->KeyUp(*this, keyCode, shift);
}

int Combo::OnKeyPress(int keyAscii) {
    if (events_) events_->KeyPress(*this, keyAscii);
    return keyAscii;
}

bool Combo::OnWheel(int notches) {
    if (!dropped_) return false;
    top_ = std::clamp(top_ - notches * kWheelRows, 0, std::max(ListCount() - kDropRows, 0));
    Changed();
    return true;
}

void Combo::OnListScroll(int top) {
    if (!dropped_) return;
    top_ = std::clamp(top, 0, std::max(ListCount() - kDropRows, 0));
    Changed();
}

void Combo::OnListHover(int index) {
    if (!dropped_ || index < 0 || index >= ListCount() || index == hot_) return;
    hot_ = index;
    Changed();
}

void Combo::OnListChoose(int index) {
    SetDropped(false);
    if (index >= 0 && index < ListCount()) SetListIndex(index);
    Changed();
}

void Combo::OnFocusLost() {
    if (!dropped_) return;
    SetDropped(false);
    Changed();
}

}  // namespace torvane::controls
