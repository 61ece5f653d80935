// The image combo box's list rules (adding, inserting, codes, removing,
// searching, the list file) and what the user does to the control.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/text_codec.h"
#include "controls/combo.h"
#include "tests/unit/temp_folder.h"

namespace torvane::controls {
namespace {

// Records the events, in order.
struct Recorder : ComboEvents {
    std::vector<std::string> log;
    void Click(Combo&) override { log.push_back("click"); }
    void Change(Combo& c) override { log.push_back("change " + c.Text()); }
    void KeyDown(Combo&, int& key, int) override { log.push_back("key " + std::to_string(key)); }
};

std::vector<std::string> Items(const Combo& c) {
    std::vector<std::string> items;
    for (int i = 0; i < c.ListCount(); ++i) items.push_back(c.GetItem(i));
    return items;
}

using Items_ = std::vector<std::string>;

TEST(ComboList, SplitRule) {
    struct Case { std::string_view entry, tag, display; bool code; };
    const Case cases[] = {
        {"0571=杭州", "0571", "杭州", true},
        {"  0571 = 杭州  ", "0571", "杭州", true},
        {"=杭州", "杭州", "杭州", false},
        {"杭州=", "杭州", "杭州", false},
        {"a=b=c", "a", "b=c", true},
        {"杭州", "杭州", "杭州", false},
        {"=", "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        const SplitEntry s = Split(c.entry);
        EXPECT_EQ(s.tag, c.tag);
        EXPECT_EQ(s.display, c.display);
        EXPECT_EQ(s.hasCode, c.code);
    }
}

// Each case: the mode, the operations ("+text" appends, "+N:text" inserts
// before N, "-N" removes N, "-" removes the last, "~N:text" updates N),
// then the list as GetItem gives it back.
TEST(ComboList, AddInsertUpdateRemoveAndGet) {
    struct Case { bool tagCode; std::vector<std::string> ops; Items_ items; };
    const Case cases[] = {
        {false, {"+福州", "+", "+厦门"}, {"福州", "厦门"}},
        {false, {"+福州", "+0:厦门", "+-5:莆田", "+99:三明"}, {"莆田", "厦门", "福州", "三明"}},
        {true, {"+0571=杭州", "+=宁波", "+温州=", "+  "}, {"0571=杭州", "宁波=宁波", "温州=温州"}},
        // An insert moves the codes behind it with their entries.
        {true, {"+1=a", "+2=b", "+3=c", "+1:9=z"}, {"1=a", "9=z", "2=b", "3=c"}},
        {true, {"+1=a", "+2=b", "+3=c", "-0"}, {"2=b", "3=c"}},
        {true, {"+1=a", "+2=b", "-", "+3=c"}, {"1=a", "3=c"}},
        {true, {"+1=a", "+2=b", "~1:7=q", "~5:8=r", "~-1:8=r"}, {"1=a", "7=q"}},
        {false, {"+a", "-7", "-", "-", "-"}, {}},
    };
    for (const Case& c : cases) {
        Combo combo("Combo3");
        combo.SetTagCode(c.tagCode);
        for (const std::string& op : c.ops) {
            const std::string body = op.substr(1);
            const size_t colon = body.find(':');
            const bool indexed = colon != std::string::npos;
            const std::optional<int> index = indexed ? std::optional<int>(std::stoi(body.substr(0, colon)))
                                                     : std::nullopt;
            const std::string text = indexed ? body.substr(colon + 1) : body;
            if (op[0] == '+') combo.AddItem(text, index);
            if (op[0] == '~') combo.UpdateItem(text, *index);
            if (op[0] == '-') combo.RemoveItem(body.empty() ? std::nullopt : std::optional<int>(std::stoi(body)));
        }
        SCOPED_TRACE(::testing::PrintToString(c.ops));
        EXPECT_EQ(Items(combo), c.items);
    }
}

TEST(ComboList, AddingSelectsAndChangesClearingDoesNeither) {
    Recorder events;
    Combo combo("Combo3", &events);
    combo.AddItem("福州");
    combo.AddItem("厦门");
    combo.AddItem("莆田", 0);
    EXPECT_EQ(events.log, Items_({"change 福州", "change 厦门", "change 莆田"}));
    EXPECT_EQ(combo.ListIndex(), 0);
    combo.Clear();
    EXPECT_EQ(combo.Text(), "莆田");  // the text area keeps the old text
    EXPECT_EQ(combo.ListCount(), 0);
    combo.SetListIndex(0);  // nothing to select: ignored
    EXPECT_EQ(events.log.size(), 3u);
    EXPECT_EQ(combo.GetItem(), "");
}

// A removal keeps the selection on its entry, or leaves none when that entry goes.
TEST(ComboList, RemovingKeepsTheSelectionOnItsEntry) {
    struct Case { int selected, removed, after; };
    const Case cases[] = {{1, 1, -1}, {1, 0, 0}, {1, 2, 1}};
    for (const Case& c : cases) {
        Combo combo("Combo3");
        for (const char* city : {"福州", "厦门", "莆田"}) combo.AddItem(city);
        combo.SetListIndex(c.selected);
        combo.RemoveItem(c.removed);
        EXPECT_EQ(combo.ListIndex(), c.after) << "removed " << c.removed;
    }
}

TEST(ComboList, CodesLiveInTheFirstHundredEntriesOnly) {
    Combo combo("list");
    combo.SetTagCode(true);
    for (int i = 0; i < 120; ++i) combo.AddItem(std::to_string(1000 + i) + "=城" + std::to_string(i));
    EXPECT_EQ(combo.GetItem(99), "1099=城99");
    EXPECT_EQ(combo.GetItem(100), "城100");  // no code, and nothing read past the table
    EXPECT_EQ(combo.GetItem(), "城119");
    EXPECT_EQ(combo.GetItem(-3), "1000=城0");
    // An entry inserted past the table leaves the codes of the first hundred alone.
    combo.AddItem("7=新", 110);
    EXPECT_EQ(combo.GetItem(99), "1099=城99");
    combo.AddItem("8=首", 0);
    EXPECT_EQ(combo.GetItem(0), "8=首");
    EXPECT_EQ(combo.GetItem(99), "1098=城98");  // the 100th code fell off with its entry
    combo.SetListIndex(1);
    EXPECT_EQ(combo.GetTagCode(), "1000");
    combo.SetListIndex(105);
    EXPECT_EQ(combo.GetTagCode(), "");
}

TEST(ComboList, SetTagCodeWalksThroughEveryMatchAndWraps) {
    Combo combo("list");
    combo.SetTagCode(true);
    for (const char* entry : {"ABC=甲", "x=乙", "abc=丙", "Abc=丁"}) combo.AddItem(entry);
    int from = 0;
    std::vector<std::string> found;
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(combo.SetTagCode(" abc ", from));
        found.push_back(combo.Text() + std::to_string(from));
    }
    EXPECT_EQ(found, Items_({"甲1", "丙3", "丁0", "甲1"}));
    EXPECT_EQ(combo.GetTagCode(), "ABC");
    EXPECT_FALSE(combo.SetTagCode("zzz", from));
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(combo.Text(), "");
}

struct ListFile : ::testing::Test {
    testing_support::TempFolder folder{"combo_file"};
    std::string Path(const char* name) const { return (folder.path() / name).string(); }
    void Put(const char* name, std::string_view utf8) const {
        std::ofstream(folder.path() / name, std::ios::binary) << Utf8ToGbk(utf8);
    }
    std::string Read(const char* name) const {
        std::ifstream in(folder.path() / name, std::ios::binary);
        return GbkToUtf8(std::string(std::istreambuf_iterator<char>(in), {}));
    }
};

TEST_F(ListFile, LoadingRules) {
    const std::string hundred(100, 'x');
    const std::string chinese = std::string(79, 'a') + "杭州";
    struct Case { std::string text; bool loaded; bool tagCode; Items_ items; };
    const Case cases[] = {
        {"0571=杭州\r\n0574=宁波\r\n", true, true, {"0571=杭州", "0574=宁波"}},
        {";注释\r\nx\r\n福州\r\n;\r\n  \r\n厦门", true, false, {"福州", "厦门"}},
        {"福州\r\n\n厦门\r\n", true, false, {"福州", "厦门"}},
        {"a\r\nb\r\n;c\r\n", false, false, {"原有"}},
        // A line's length is counted in characters, not bytes: one Chinese
        // character is still too short to be the first line.
        {"杭\r\n福州\r\n厦门", true, false, {"福州", "厦门"}},
        {"杭\r\n州\r\n", false, false, {"原有"}},
        {"", false, false, {"原有"}},
        {hundred, true, false, {hundred.substr(0, 80)}},
        // 80 characters, counted as characters: the double-byte one stays whole.
        {chinese, true, false, {std::string(79, 'a') + "杭"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Put("Combo3.Txt", c.text);
        Recorder events;
        Combo combo("Combo3", &events);
        combo.SetFileName(Path("Combo3.Txt"));
        combo.AddItem("原有");
        events.log.clear();
        EXPECT_EQ(combo.LoadedFromFile(), c.loaded);
        EXPECT_EQ(combo.TagCode(), c.tagCode);
        EXPECT_EQ(Items(combo), c.items);
        EXPECT_TRUE(events.log.empty());
    }
}

TEST_F(ListFile, SavedInGbkAndLoadedBack) {
    Combo combo("Combo3");
    combo.SetTagCode(true);
    combo.SetFileName("  " + Path("list.Txt") + " ");
    for (const char* entry : {"0571=杭州", "=宁波"}) combo.AddItem(entry);
    ASSERT_TRUE(combo.SaveToFile());
    EXPECT_EQ(Read("list.Txt"), "0571=杭州\r\n宁波=宁波\r\n");
    Combo again("again");
    again.SetFileName(Path("list.Txt"));
    ASSERT_TRUE(again.LoadedFromFile());
    EXPECT_EQ(Items(again), Items(combo));
    again.SetFileName(Path("missing.Txt"));
    EXPECT_FALSE(again.LoadedFromFile());
}

// A save that fails half-way (here: the file size limit, as a full disk
// would) leaves the list file as it was.
TEST_F(ListFile, AFailedSaveKeepsThePreviousFileWhole) {
    Put("Combo3.Txt", "福州\r\n厦门\r\n");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64, 64};
        setrlimit(RLIMIT_FSIZE, &limit);
        Combo combo("Combo3");
        combo.SetFileName(Path("Combo3.Txt"));
        for (int i = 0; i < 50; ++i) combo.AddItem("城市" + std::to_string(i));
        _exit(combo.SaveToFile() ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the save reported success";
    EXPECT_EQ(Read("Combo3.Txt"), "福州\r\n厦门\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(ComboControl, LayoutEnabledAndPersistence) {
    Combo combo("text2");
    combo.Resize(300, 900);
    EXPECT_EQ(combo.Width(), 400);
    EXPECT_EQ(combo.Height(), 315);
    const int textTop = combo.Layout().text.top;
    combo.SetFont(ComboFont{"宋体", 1000, false});  // one point more: fifteen twips higher
    EXPECT_EQ(combo.Layout().text.top, textTop - 15);
    EXPECT_EQ(combo.Layout().button.left, 400 - 285);

    EXPECT_EQ(combo.BorderColor(), kBorderEnabled);
    combo.SetEnabled(false);
    EXPECT_EQ(combo.BorderColor(), kBorderDisabled);
    EXPECT_EQ(combo.Picture(), ButtonPicture::Disabled);
    combo.OnButtonDown();
    EXPECT_FALSE(combo.DroppedDown());
    combo.SetEnabled(true);
    EXPECT_EQ(combo.Picture(), ButtonPicture::Normal);

    // A missing key takes its default; reading restores only the enabled flag.
    ComboProperties set;
    set.text = "宁德市";
    set.locked = true;
    combo.ReadProperties(set);
    EXPECT_FALSE(combo.PropertiesChanged());
    EXPECT_EQ(combo.Text(), "宁德市");
    EXPECT_FALSE(combo.Enabled());
    EXPECT_TRUE(combo.TextEnabled());
    EXPECT_EQ(combo.BackColor(), kDefaultBackColor);
    combo.SetMaxLength(8);
    EXPECT_TRUE(combo.PropertiesChanged());
    ComboProperties back = combo.WriteProperties();
    EXPECT_EQ(back.text, "宁德市");
    EXPECT_EQ(back.maxLength, 8);
    Combo fresh("fresh");
    fresh.ReadProperties({});
    EXPECT_EQ(fresh.Text(), "0");
}

// A press on the drop-down button toggles the list; the window is shown the
// pressed picture during the toggle and the normal one right after, and a
// disabled control neither opens nor leaves its disabled picture.
TEST(ComboControl, AButtonPressTogglesWithAPressedPictureInBetween) {
    struct Case {
        const char* story;
        bool enabled, openBefore;
        bool openAfter;
        std::vector<ButtonPicture> seen;  // what the window was shown, in order
        ButtonPicture after;
    };
    using P = ButtonPicture;
    const Case cases[] = {
        {"closed opens", true, false, true, {P::Pressed, P::Normal}, P::Normal},
        {"open closes", true, true, false, {P::Pressed, P::Normal}, P::Normal},
        {"disabled stays shut", false, false, false, {}, P::Disabled},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.story);
        Combo combo("Combo3");
        combo.AddItem("福州");
        combo.AddItem("厦门");
        combo.SetDroppedDown(c.openBefore);
        combo.SetEnabled(c.enabled);
        std::vector<ButtonPicture> seen;
        combo.SetObserver([&] { seen.push_back(combo.Picture()); });
        combo.OnButtonDown();
        EXPECT_EQ(combo.DroppedDown(), c.openAfter);
        EXPECT_EQ(seen, c.seen);
        EXPECT_EQ(combo.Picture(), c.after);
    }
}

// The open list scrolls to the entry it points at and points at none past the
// last; an empty list does not open.
TEST(ComboControl, TheOpenListShowsTheEntryItPointsAt) {
    constexpr int kAlt = kAltKey, kDown = 0x28;
    Combo combo("text2");
    for (int i = 0; i < 30; ++i) combo.AddItem("省" + std::to_string(i));
    combo.SetListIndex(10);  // one row below the first ten
    combo.OnKeyDown(kDown, kAlt);
    EXPECT_EQ(combo.TopIndex(), 1);
    combo.OnListChoose(29);
    combo.OnKeyDown(kDown, kAlt);
    combo.OnKeyDown(kDown, 0);
    EXPECT_EQ(combo.HotIndex(), 29);
    EXPECT_EQ(combo.TopIndex(), 20);
    Combo empty("Combo3");
    empty.SetEnabled(true);
    empty.OnButtonDown();
    EXPECT_FALSE(empty.DroppedDown());
}

TEST(ComboControl, TheUserOpensPointsChoosesAndLeaves) {
    constexpr int kAlt = kAltKey, kDown = 0x28, kUp = 0x26, kEnter = 0x0D, kEsc = 0x1B;
    Recorder events;
    Combo combo("text2", &events);
    for (int i = 0; i < 30; ++i) combo.AddItem("省" + std::to_string(i));
    combo.SetListIndex(0);
    events.log.clear();

    EXPECT_TRUE(combo.OnKeyDown(kDown, kAlt));
    EXPECT_TRUE(combo.DroppedDown());
    EXPECT_EQ(combo.HotIndex(), 0);
    combo.OnKeyDown(kDown, 0), combo.OnKeyDown(kDown, 0);
    EXPECT_EQ(combo.Text(), "省0");  // pointing is not choosing
    EXPECT_TRUE(combo.OnKeyDown(kEnter, 0));
    EXPECT_FALSE(combo.DroppedDown());
    EXPECT_EQ(combo.Text(), "省2");

    combo.OnButtonDown();
    EXPECT_TRUE(combo.OnWheel(-2));  // two notches down: six rows
    EXPECT_EQ(combo.TopIndex(), 6);
    combo.OnListHover(9);
    combo.OnListChoose(9);
    EXPECT_EQ(combo.Text(), "省9");
    combo.OnKeyDown(kUp, 0);  // closed: the previous entry
    EXPECT_EQ(combo.Text(), "省8");

    combo.OnKeyDown(kDown, kAlt);
    EXPECT_TRUE(combo.OnKeyDown(kEsc, 0));
    EXPECT_EQ(combo.Text(), "省8");
    combo.OnKeyDown(kDown, kAlt);
    combo.OnFocusLost();
    EXPECT_FALSE(combo.DroppedDown());
    EXPECT_FALSE(combo.OnWheel(1));

    combo.OnButtonMouseMove({});
    EXPECT_EQ(combo.Picture(), ButtonPicture::Hover);
    combo.ResetPic();
    EXPECT_EQ(combo.Picture(), ButtonPicture::Normal);
    combo.OnTextEdited("广");
    combo.OnTextClick();
    EXPECT_EQ(events.log, Items_({"key 40", "key 40", "key 40", "key 13", "change 省2", "change 省9", "key 38",
                                  "change 省8", "key 40", "key 27", "key 40", "change 广", "click"}));
}

}  // namespace
}  // namespace torvane::controls
