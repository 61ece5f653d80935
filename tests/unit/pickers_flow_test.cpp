// The city pickers and the web pane on the main window's model: the table,
// T1's filling, a province and a city chosen, the weather asked for, the
// label and the background press; the pane's opening and its browser.
#include <gtest/gtest.h>

#include <set>

#include "calendar_fakes.h"
#include "common/fake_background_work.h"
#include "weather/city_table.h"
#include "weather/pickers.h"
#include "weather/web_pane.h"
#include "weather_fakes.h"

namespace torvane::weather {
namespace {

using calendar::MouseButton;
using calendar::TimerId;
using calendar::testing::Harness;

constexpr char kWeatherUrl[] = "http://127.0.0.1/search.php?city=";

struct FakeBrowser : WebBrowser {
    std::vector<std::string> pages;
    void Navigate(const std::string& url) override { pages.push_back(url); }
};

std::vector<std::string> Entries(const controls::Combo& c) { return c.Entries(); }

struct PickersTest : ::testing::Test {
    Harness h;
    FakeBackgroundWork work;
    std::shared_ptr<FakeHttp> http = std::make_shared<FakeHttp>();
    WeatherComponent weather{WeatherPorts{work, http, h.w, h.model},
                             WeatherConfig{"http://127.0.0.1/ic.asp", kWeatherUrl, "/nowhere/"}};
    Pickers pickers{weather};
    FakeBrowser browser;
    WebPane pane{browser, h.model, "http://127.0.0.1:8080/"};

    PickersTest() {
        // 重庆 in GBK, as the weather search is asked.
        std::string page = R"(<b class="fs_30 tpte">)";
        for (const char* run : {"8℃", "", "", "最高", "13℃", "", "", "阴", "", "北风 1级"}) page.append(run).append("<i>");
        http->pages[std::string(kWeatherUrl) + "%D6%D8%C7%EC"] = page;
        for (calendar::Component* c : std::initializer_list<calendar::Component*>{&weather, &pickers, &pane})
            h.model.AddComponent(*c);
        h.Start();
        work.CompleteAll();  // no location: the city label is empty
        work.CompleteAll();
    }
    void Press(Ctl id, MouseButton button) {
        const auto r = h.Pixels(id);
        h.model.onMouseDown(r.left + 2, r.top + r.height / 2, button);
    }
    bool PickersShown() const { return h.Visible(Ctl::text2) && h.Visible(Ctl::Combo3); }
};

TEST(CityTable, ProvincesAndCitiesAsListed) {
    const auto provinces = Provinces();
    ASSERT_EQ(provinces.size(), 34u);
    EXPECT_EQ(provinces.front().name, "北京市");
    EXPECT_EQ(provinces.back().name, "澳门特别行政区");
    std::set<std::string_view> cities;
    size_t total = 0;
    for (const Province& p : provinces) {
        total += p.cities.size();
        cities.insert(p.cities.begin(), p.cities.end());
    }
    EXPECT_EQ(total, 341u);
    EXPECT_EQ(cities.size(), 341u);  // none repeated
    // 陇南 and 庆阳 belong to 甘肃省, at the end of its list.
    EXPECT_EQ(FindProvince("福建省")->cities.size(), 9u);
    const auto gansu = FindProvince("甘肃省")->cities;
    ASSERT_EQ(gansu.size(), 13u);
    EXPECT_EQ(gansu[11], "陇南");
    EXPECT_EQ(gansu[12], "庆阳");
    EXPECT_EQ(FindProvince("安徽省")->cities[8], "黄山市");
    EXPECT_EQ(FindProvince("广东"), nullptr);
}

TEST_F(PickersTest, HiddenUntilTheCityLabelIsPressedEvenWhenItIsEmpty) {
    EXPECT_EQ(h.Text(Ctl::Label12), "");
    EXPECT_FALSE(PickersShown());
    EXPECT_EQ(pickers.text2().Text(), "福建省");  // before T1: the designed texts, no items
    EXPECT_EQ(pickers.Combo3().Text(), "宁德市");
    EXPECT_TRUE(pickers.Combo3().Locked());
    Press(Ctl::Label12, MouseButton::Right);
    EXPECT_TRUE(PickersShown());
    Press(Ctl::Label12, MouseButton::Middle);
    EXPECT_FALSE(PickersShown());
    Press(Ctl::Label12, MouseButton::Left);
    // Only a left press on the background closes them.
    Press(Ctl::Image1, MouseButton::Right);
    EXPECT_TRUE(PickersShown());
    h.model.onMouseDown(340, 20, MouseButton::Left);
    EXPECT_FALSE(PickersShown());
}

TEST_F(PickersTest, T1FillsTheProvincesAndAChosenCityBecomesTheCurrentOne) {
    h.model.onTimer(TimerId::T1);
    controls::Combo& province = pickers.text2();
    controls::Combo& city = pickers.Combo3();
    EXPECT_EQ(province.ListCount(), 34);
    EXPECT_EQ(province.Text(), "北京市");
    EXPECT_EQ(Entries(city), std::vector<std::string>{"北京"});
    EXPECT_EQ(city.Text(), "北京");

    Press(Ctl::Label12, MouseButton::Left);
    province.OnButtonDown();
    province.OnListChoose(2);
    EXPECT_EQ(province.Text(), "重庆市");
    EXPECT_EQ(Entries(city), (std::vector<std::string>{"重庆", "万州", "涪陵", "黔江"}));
    EXPECT_EQ(city.Text(), "重庆");
    EXPECT_EQ(h.Text(Ctl::Label12), "");  // choosing is not yet asking
    EXPECT_TRUE(work.Pending().empty());

    city.OnTextClick();
    ASSERT_EQ(work.Pending().size(), 1u);
    work.CompleteAll();
    EXPECT_EQ(http->asked.back(), std::string(kWeatherUrl) + "%D6%D8%C7%EC");
    EXPECT_EQ(h.Text(Ctl::Label12), "重庆");
    EXPECT_EQ(h.Text(Ctl::Label13), "8℃-13℃");

    // A province typed without its suffix matches nothing: no cities, the
    // text stays, and a click asks again for that city.
    province.OnTextEdited("广东");
    EXPECT_TRUE(Entries(city).empty());
    EXPECT_EQ(city.Text(), "重庆");
    city.OnTextClick();
    work.CompleteAll();
    EXPECT_EQ(http->asked.back(), std::string(kWeatherUrl) + "%D6%D8%C7%EC");
}

TEST_F(PickersTest, T1OpensTheWebPaneOnceAtTheUpdateServersPage) {
    EXPECT_FALSE(h.Visible(Ctl::adbox));
    EXPECT_TRUE(browser.pages.empty());
    h.model.onTimer(TimerId::T1);
    EXPECT_TRUE(h.Visible(Ctl::adbox));
    EXPECT_EQ(browser.pages, std::vector<std::string>{"http://127.0.0.1:8080/tg/"});
    // A second tick neither adds provinces nor moves the choice.
    Press(Ctl::Label12, MouseButton::Left);
    pickers.text2().OnButtonDown();
    pickers.text2().OnListChoose(2);
    const std::vector<std::string> provinces = Entries(pickers.text2());
    h.model.onTimer(TimerId::T1);
    EXPECT_EQ(Entries(pickers.text2()), provinces);
    EXPECT_EQ(pickers.text2().Text(), "重庆市");
    EXPECT_EQ(Entries(pickers.Combo3()), (std::vector<std::string>{"重庆", "万州", "涪陵", "黔江"}));
    EXPECT_EQ(browser.pages.size(), 1u);
    EXPECT_EQ(BrowserPlace(100, 80), (ui::Rect{-4, -4, 108, 88}));
}

TEST(WebPane, OnlyPlainWebAddressesGoToTheUsersBrowser) {
    const std::pair<std::string, bool> cases[] = {
        {"http://127.0.0.1/tg/a.html", true},
        {"HTTPS://127.0.0.1/", true},
        {"file:///C:/Windows/system32/calc.exe", false},
        {"C:\\Windows\\notepad.exe", false},
        {"javascript:alert(1)", false},
        {"http://127.0.0.1/\" --flag", false},
        {"http://127.0.0.1/a b", false},
        {"http://127.0.0.1/" + std::string(1000, 'a'), false},
    };
    for (const auto& [url, opens] : cases) EXPECT_EQ(OpensInUsersBrowser(url), opens) << url;
}

}  // namespace
}  // namespace torvane::weather
