#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>

#include "calendar_fakes.h"
#include "common/fake_background_work.h"
#include "temp_folder.h"
#include "weather_fakes.h"
#include "weather/weather_component.h"

namespace torvane::weather {
namespace {

using calendar::TimerId;
using calendar::testing::Harness;

constexpr char kLocationUrl[] = "http://127.0.0.1/ic.asp";
constexpr char kWeatherUrl[] = "http://127.0.0.1/search.php?city=";


// Runs 1, 5, 8 and 10 carry the block's texts; each run ends at the next tag.
std::string WeatherPage(std::string_view now, std::string_view high, std::string_view sky) {
    std::string page = R"(<b class="fs_30 tpte">)";
    for (std::string_view run : {now, {}, {}, std::string_view("最高"), high, {}, {}, sky, {},
                                 std::string_view("东风 2级")})
        page.append(run).append("<i>");
    return page;
}

// The calendar's model with the weather block, against a fake network.
struct WeatherWorld {
    Harness h;
    FakeBackgroundWork work;
    std::shared_ptr<FakeHttp> http = std::make_shared<FakeHttp>();
    testing_support::TempFolder pic{"weather_pic"};
    WeatherComponent weather{WeatherPorts{work, http, h.w, h.model},
                             WeatherConfig{kLocationUrl, kWeatherUrl, pic.path().string() + "/"}};

    WeatherWorld() {
        http->pages[kLocationUrl] = "<p>您的IP是：[127.0.0.1] 来自：广东省深圳市 电信</p>";
        http->pages[std::string(kWeatherUrl) + "%C9%EE%DB%DA%20"] = WeatherPage("12℃", "20℃", "晴");
        http->pages[std::string(kWeatherUrl) + "%B1%B1%BE%A9"] = WeatherPage("3℃", "9℃", "多云");
        std::ofstream(pic.path() / "晴.gif") << "GIF89a";
        h.model.AddComponent(weather);
    }
    const std::string& Text(Ctl id) { return h.Text(id); }
    int Balloons() const {
        int n = 0;
        for (const auto& record : h.w.trayRecords) n += record.info.empty() ? 0 : 1;
        return n;
    }
};

struct WeatherTest : ::testing::Test, WeatherWorld {};

TEST_F(WeatherTest, StartUpFindsTheCityThenShowsAndAnnouncesItsWeather) {
    h.w.sys["x8"] = "True";
    h.Start();
    // The window is up before any answer; the city label says it is loading.
    EXPECT_TRUE(h.w.visible);
    EXPECT_EQ(Text(Ctl::Label12), "加载...");
    h.Click(Ctl::Image7);  // the query that follows the location is the refresh
    ASSERT_EQ(work.Pending().size(), 1u);

    work.CompleteAll();
    EXPECT_EQ(Text(Ctl::Label12), "深圳 ");
    work.CompleteAll();
    // The city goes on the wire in GBK, with the space the location left.
    EXPECT_EQ(http->asked, (std::vector<std::string>{kLocationUrl, std::string(kWeatherUrl) + "%C9%EE%DB%DA%20"}));
    EXPECT_EQ(Text(Ctl::Label8), "12℃");
    EXPECT_EQ(Text(Ctl::Label9), "晴");
    EXPECT_EQ(Text(Ctl::Label10), "东风 2级");
    EXPECT_EQ(Text(Ctl::Label13), "12℃-20℃");
    EXPECT_EQ(h.model.element(Ctl::Image5).picture, pic.path().string() + "/晴.gif");
    // The balloon carries the date line, which start-up wrote meanwhile.
    ASSERT_EQ(Balloons(), 1);
    EXPECT_EQ(h.w.trayRecords.back().infoTitle, "天气提示");
    EXPECT_EQ(h.w.trayRecords.back().info, Text(Ctl::Label1) + "[深圳 ][晴]12℃-20℃");
    EXPECT_FALSE(Text(Ctl::Label1).empty());
    EXPECT_EQ(h.w.timers[TimerId::T3], 2000);
}

TEST_F(WeatherTest, TheNewestQueryWinsAndBadAnswersChangeNoLabel) {
    h.w.sys["x8"] = "True";
    h.Start();
    work.CompleteAll();
    work.CompleteAll();

    // A refresh still running when a city is chosen: its answer never lands.
    h.Click(Ctl::Image7);
    const JobId refresh = work.Pending().back();
    weather.QueryCity("北京");
    EXPECT_FALSE(work.Complete(refresh));
    work.CompleteAll();
    EXPECT_EQ(Text(Ctl::Label12), "北京");
    EXPECT_EQ(Text(Ctl::Label13), "3℃-9℃");
    EXPECT_EQ(Text(Ctl::Label9), "多云");
    EXPECT_EQ(Balloons(), 1);  // a chosen city is not announced
    // No picture for 多云 here: the last icon stays.
    EXPECT_EQ(h.model.element(Ctl::Image5).picture, pic.path().string() + "/晴.gif");

    // A page without the marker, an error page, and no answer at all.
    for (const char* page : {"<p>没有找到该城市</p>", "<h1>500 错误</h1>", ""}) {
        http->pages[std::string(kWeatherUrl) + "%B1%B1%BE%A9"] = page;
        h.Click(Ctl::Image7);
        if (*page) work.CompleteAll(); else work.TimeOut(work.Pending().back());
        EXPECT_EQ(Text(Ctl::Label8), "3℃") << page;
        EXPECT_EQ(Text(Ctl::Label13), "3℃-9℃") << page;
        EXPECT_EQ(Text(Ctl::Label10), "东风 2级") << page;
    }
    // A weather text that would name a picture outside the folder names none.
    const std::string outside = "../" + pic.path().filename().string() + "/晴";
    http->pages[std::string(kWeatherUrl) + "%B1%B1%BE%A9"] = WeatherPage("3℃", "9℃", outside);
    h.Click(Ctl::Image7);
    work.CompleteAll();
    EXPECT_EQ(Text(Ctl::Label9), outside);
    EXPECT_EQ(h.model.element(Ctl::Image5).picture, pic.path().string() + "/晴.gif");
}

TEST_F(WeatherTest, APickedCityBecomesTheCurrentOneEvenWhenNoQueryCanRun) {
    h.Start();
    work.CompleteAll();
    work.CompleteAll();
    work.refusing = true;
    weather.QueryCity("北京");
    EXPECT_EQ(Text(Ctl::Label12), "北京");
    EXPECT_EQ(Text(Ctl::Label8), "12℃");  // the last weather stays
}

// The balloon follows "x8" as it is at each query's end: only a true flag
// shows it; a missing key or any other text is off.
TEST_F(WeatherTest, TheBalloonOnlyWhenX8IsTrue) {
    struct Case { const char* name; std::optional<std::string> x8; bool shown; };
    const Case cases[] = {
        {"missing", std::nullopt, false}, {"False", "False", false}, {"True", "True", true},
        {"empty", "", false},             {"true", "true", true},    {"neither", "1", false},
    };
    h.w.sys.erase("x8");
    h.Start();
    work.CompleteAll();
    work.CompleteAll();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.x8) h.w.sys["x8"] = *c.x8; else h.w.sys.erase("x8");
        const int before = Balloons();
        h.w.timers.erase(TimerId::T3);
        h.Click(Ctl::Image7);
        work.CompleteAll();
        EXPECT_EQ(Balloons() - before, c.shown ? 1 : 0);
        EXPECT_EQ(h.w.timers.contains(TimerId::T3), c.shown);
    }
}

TEST_F(WeatherTest, NetworkDownAtStartKeepsTheCaptions) {
    h.w.sys["x8"] = "False";
    h.Start();
    work.TimeOut(work.Pending().back());
    EXPECT_EQ(Text(Ctl::Label12), "");
    ASSERT_EQ(work.Pending().size(), 1u);
    work.TimeOut(work.Pending().back());
    EXPECT_EQ(Text(Ctl::Label8), "");
    EXPECT_EQ(Text(Ctl::Label9), "");
    EXPECT_EQ(Text(Ctl::Label13), "-");
    EXPECT_EQ(Balloons(), 0);
    EXPECT_FALSE(h.w.timers.contains(TimerId::T3));
    // The fetch never waited more than five seconds.
    for (const auto& job : work.started()) EXPECT_EQ(job.timeoutMs, 5000);
}

// What the user does and what the network answers, in every order that a
// slow location or weather page allows.
enum class Step { Pick, Refresh, LocationAnswers, LocationTimesOut, WeatherAnswers, WeatherTimesOut };

struct OrderCase {
    const char* story;
    std::vector<Step> steps;
    std::string label12;  // the city shown at the end
    std::string label8;   // the temperature shown at the end
    bool locatedCityAsked;
};

TEST(WeatherOrders, ThePickedCityWinsInEveryOrder) {
    using S = Step;
    const OrderCase cases[] = {
        {"location answers while the pick waits", {S::Pick, S::LocationAnswers, S::WeatherAnswers}, "北京", "3℃", false},
        {"location times out while the pick waits", {S::Pick, S::LocationTimesOut, S::WeatherAnswers}, "北京", "3℃", false},
        {"location answers after the pick's weather", {S::Pick, S::WeatherAnswers, S::LocationAnswers}, "北京", "3℃", false},
        {"location times out after the pick's weather", {S::Pick, S::WeatherAnswers, S::LocationTimesOut}, "北京", "3℃", false},
        {"refresh while the pick waits", {S::LocationAnswers, S::WeatherAnswers, S::Pick, S::Refresh, S::WeatherAnswers}, "北京", "3℃", true},
        {"refresh while the pick waits, no answer", {S::LocationAnswers, S::WeatherAnswers, S::Pick, S::Refresh, S::WeatherTimesOut}, "北京", "12℃", true},
        {"refresh while locating and picking", {S::Pick, S::Refresh, S::LocationAnswers, S::WeatherAnswers}, "北京", "3℃", false},
        {"pick, no answer, then refresh", {S::Pick, S::WeatherTimesOut, S::Refresh, S::WeatherAnswers, S::LocationAnswers}, "北京", "3℃", false},
    };
    for (const OrderCase& c : cases) {
        SCOPED_TRACE(c.story);
        WeatherWorld t;
        t.h.w.sys["x8"] = "True";
        t.h.Start();
        const auto pending = [&t](std::string_view kind) -> std::optional<JobId> {
            for (const auto& job : t.work.started())
                if (job.kind == kind && t.work.IsPending(job.id)) return job.id;
            return std::nullopt;
        };
        for (Step step : c.steps) {
            const bool location = step == S::LocationAnswers || step == S::LocationTimesOut;
            std::optional<JobId> job = pending(location ? "location" : "weather");
            switch (step) {
                case S::Pick: t.weather.QueryCity("北京"); break;
                case S::Refresh: t.h.Click(Ctl::Image7); break;
                case S::LocationAnswers:
                case S::WeatherAnswers:
                    ASSERT_TRUE(job);
                    t.work.Complete(*job);
                    break;
                case S::LocationTimesOut:
                case S::WeatherTimesOut:
                    ASSERT_TRUE(job);
                    t.work.TimeOut(*job);
                    break;
            }
        }
        EXPECT_TRUE(t.work.Pending().empty());
        EXPECT_EQ(t.Text(Ctl::Label12), c.label12);
        EXPECT_EQ(t.Text(Ctl::Label8), c.label8);
        const std::string located = std::string(kWeatherUrl) + "%C9%EE%DB%DA%20";
        EXPECT_EQ(std::count(t.http->asked.begin(), t.http->asked.end(), located) > 0, c.locatedCityAsked);
        // A refresh is announced, with the city it asked for.
        const bool refreshed = std::find(c.steps.begin(), c.steps.end(), S::Refresh) != c.steps.end();
        if (refreshed) {
            ASSERT_GE(t.Balloons(), 1);
            EXPECT_NE(t.h.w.trayRecords.back().info.find("[北京]"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace torvane::weather
