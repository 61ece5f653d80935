// Combo, the image combo box: a text area, a drop-down list and an image
// button in a thin border. Besides the usual list operations it has a
// TagCode mode, in which an entry "xxx=yyy" shows yyy and keeps xxx as its
// hidden code, and it saves its list to a GBK text file and loads it back.
// This is the whole control as a model: the Win32 window "Torvane.Combo"
// (controls/win/) shows it and reports the user's actions to it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/element.h"
#include "ui/geometry.h"

namespace torvane::controls {

using ui::Rect;
using ui::Rgb;

inline constexpr std::string_view kComboClassName = "Torvane.Combo";

// Codes exist for entries 0 to 99 only.
inline constexpr int kTagSlots = 100;
inline constexpr int kMinWidthTwips = 400;
inline constexpr int kHeightTwips = 315;
inline constexpr Rgb kBorderEnabled{0x7F, 0x9D, 0xB9};
inline constexpr Rgb kBorderDisabled{0xC0, 0xC0, 0xC0};
inline constexpr Rgb kDefaultBackColor{255, 255, 255};
inline constexpr Rgb kWindowText{0, 0, 0};
// A list file line keeps at most this many characters.
inline constexpr size_t kMaxLineChars = 80;
// Rows the open list shows at once; a longer list scrolls.
inline constexpr int kDropRows = 10;

// The button's pictures, Img(0) to Img(3).
enum class ButtonPicture : uint8_t { Normal, Hover, Pressed, Disabled };

struct ComboFont {
    std::string face{ui::kFontFace};
    int centiPt = 900;
    bool bold = false;
    friend bool operator==(const ComboFont&, const ComboFont&) = default;
};

// Mouse buttons and shift keys as the events report them.
enum MouseButtons : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftKeys : int { kShiftKey = 1, kCtrlKey = 2, kAltKey = 4 };

struct MouseArgs {
    int button = 0;  // MouseButtons
    int shift = 0;   // ShiftKeys
    int x = 0, y = 0;  // twips from the control's top left
};

// The control's parts in its own twips.
struct ComboLayout {
    Rect border;  // ShapeBorder, one pixel wide
    Rect back;    // BackMain
    Rect list;    // JCombo: the open list hangs from its bottom
    Rect button;  // JImgCbo
    Rect text;    // JTexto
};

// The design-time property set of the host form; a missing key takes its default.
struct ComboProperties {
    std::optional<std::string> text;
    std::optional<Rgb> backColor;
    std::optional<ComboFont> font;
    std::optional<Rgb> foreColor;
    std::optional<int> listIndex;
    std::optional<bool> locked;
    std::optional<int> maxLength;
    std::optional<std::string> toolTipText;
    std::optional<std::string> fieldName;
    std::optional<bool> enabled;
    std::optional<bool> tagCode;
    std::optional<std::string> fileName;
    friend bool operator==(const ComboProperties&, const ComboProperties&) = default;
};

class Combo;

// What the host hears, in the order of declaration. Key handlers may change
// the key; zero swallows it.
class ComboEvents {
public:
    virtual ~ComboEvents() = default;
    virtual void Click(Combo&) {}
    virtual void Change(Combo&) {}
    virtual void MouseMove(Combo&, const MouseArgs&) {}
    virtual void MouseDown(Combo&, const MouseArgs&) {}
    virtual void KeyPress(Combo&, int& /*keyAscii*/) {}
    virtual void KeyDown(Combo&, int& /*keyCode*/, int /*shift*/) {}
    virtual void KeyUp(Combo&, int& /*keyCode*/, int /*shift*/) {}
};

// An entry split into its code and its visible text (TagCode mode).
struct SplitEntry {
    std::string tag;
    std::string display;
    bool hasCode = false;
};
SplitEntry Split(std::string_view entry);

// The lines of a list file's text (UTF-8) as the loader takes them: LF
// dropped, lines ended by CR, a line starting with ";" as ";", each cut to
// kMaxLineChars characters.
std::vector<std::string> ListFileLines(std::string_view text);

class Combo {
public:
    // `name` is the instance's name on its form; it names the default list file.
    explicit Combo(std::string name, ComboEvents* events = nullptr);

    void SetEvents(ComboEvents* events) { events_ = events; }
    // Called after every change of what the control shows; the view syncs.
    void SetObserver(std::function<void()> observer) { observer_ = std::move(observer); }
    const std::string& name() const { return name_; }

    // --- Properties -------------------------------------------------------
    const std::string& Text() const { return text_; }
    void SetText(std::string text);
    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string fileName);
    Rgb BackColor() const { return backColor_; }
    void SetBackColor(Rgb color);
    Rgb ForeColor() const { return foreColor_; }
    void SetForeColor(Rgb color);
    const ComboFont& Font() const { return font_; }
    void SetFont(ComboFont font);
    int ListIndex() const { return listIndex_; }
    void SetListIndex(int index);
    int ListCount() const { return static_cast<int>(entries_.size()); }
    bool Locked() const { return locked_; }
    void SetLocked(bool locked);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int maxLength);
    const std::string& ToolTipText() const { return toolTip_; }
    void SetToolTipText(std::string tip);
    const std::string& FieldName() const { return fieldName_; }
    void SetFieldName(std::string fieldName);
    // The selection inside the text area, in UTF-16 units as the platform counts.
    int SelStart() const { return selStart_; }
    int SelLength() const { return selLength_; }
    std::string SelText() const;
    bool TagCode() const { return tagCode_; }
    void SetTagCode(bool on);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Whether the user may use the text area and the button now.
    bool TextEnabled() const { return textEnabled_; }

    // --- Methods ----------------------------------------------------------
    void AddItem(std::string_view item, std::optional<int> index = std::nullopt);
    void UpdateItem(std::string_view item, int index);
    std::string GetItem(std::optional<int> index = std::nullopt) const;
    void RemoveItem(std::optional<int> index = std::nullopt);
    void Clear();
    std::string GetTagCode();
    bool SetTagCode(std::string_view tgCode, int& startingFromIndex);
    // Replaces the list file in one step; false, with the old file whole,
    // when it could not be written.
    bool SaveToFile() const;
    bool LoadedFromFile();
    void ResetPic();
    // The list file: FileName, or "<program folder>/<name>.Txt".
    std::string ListFilePath() const;

    // --- Persistence ------------------------------------------------------
    void ReadProperties(const ComboProperties& properties);
    ComboProperties WriteProperties() const;
    // A property was written since the set was last read or written.
    bool PropertiesChanged() const { return propertiesChanged_; }

    // --- Layout (twips) ---------------------------------------------------
    // The host asks for a size; the control keeps its own rules.
    void Resize(int widthTwips, int heightTwips);
    int Width() const { return width_; }
    int Height() const { return kHeightTwips; }
    ComboLayout Layout() const;
    Rgb BorderColor() const { return border_; }
    ButtonPicture Picture() const { return picture_; }

    // --- The open list ----------------------------------------------------
    bool DroppedDown() const { return dropped_; }
    void SetDroppedDown(bool dropped);
    int HotIndex() const { return hot_; }   // the row the keys or the mouse point at
    int TopIndex() const { return top_; }   // the first row shown
    const std::vector<std::string>& Entries() const { return entries_; }

    // --- What the user did (the view reports) -----------------------------
    void OnTextEdited(std::string text);
    void OnSelectionChanged(int start, int length);
    void OnTextClick();
    void OnTextMouseDown(const MouseArgs& args);
    void OnMouseMove(const MouseArgs& args);  // text area or surface
    void OnButtonMouseMove(const MouseArgs& args);
    // A press of any mouse button on the drop-down button: the list opens
    // or closes, and the pressed picture goes back at once.
    void OnButtonDown();
    void OnButtonUp();
    // True when the key was the control's own (list navigation) and must
    // not reach the text area.
    bool OnKeyDown(int keyCode, int shift);
    void OnKeyUp(int keyCode, int shift);
    // The character to type, or 0 to swallow it.
    int OnKeyPress(int keyAscii);
    // Wheel notches (up positive); true when the open list took them.
    bool OnWheel(int notches);
    void OnListHover(int index);
    // The open list's scroll bar moved its first row.
    void OnListScroll(int top);
    void OnListChoose(int index);
    // The control lost the focus: an open list closes.
    void OnFocusLost();

private:
    void Append(const SplitEntry& split, std::string_view item);
    bool AddEntry(std::string_view item, std::optional<int> index);
    void SetTextQuietly(std::string text);
    void SelectEntry(int index);
    void SetDropped(bool dropped);
    void ScrollTo(int index);
    void RaiseChange();
    void Changed();
    void MarkProperty();

    std::string name_;
    ComboEvents* events_ = nullptr;
    std::function<void()> observer_;

    std::vector<std::string> entries_;
    std::array<std::string, kTagSlots> tags_;
    int lastTag_ = 0;
    int currentIndex_ = -1;
    std::string currentTag_;
    std::string currentDisplay_;
    int listIndex_ = -1;

    std::string text_;
    std::string fileName_;
    Rgb backColor_ = kDefaultBackColor;
    Rgb foreColor_ = kWindowText;
    ComboFont font_;
    bool locked_ = false;
    int maxLength_ = 0;
    std::string toolTip_;
    std::string fieldName_;
    int selStart_ = 0, selLength_ = 0;
    bool tagCode_ = false;
    bool enabled_ = false;
    bool textEnabled_ = true;
    bool propertiesChanged_ = false;

    int width_ = kMinWidthTwips;
    Rgb border_ = kBorderEnabled;
    ButtonPicture picture_ = ButtonPicture::Normal;
    bool dropped_ = false;
    int hot_ = -1;
    int top_ = 0;
};

}  // namespace torvane::controls
