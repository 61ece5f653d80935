#include "server/places.h"

#include <algorithm>

#include "weather/city_table.h"

namespace torvane::server {
namespace {

using weather::Province;

constexpr std::string_view kCitySuffix = "市";
constexpr std::string_view kProvinceSuffix = "省";
constexpr std::string_view kSpecialRegion = "特别行政区";

// Prefectures the pickers list under another name: the seat, an older name,
// or, for a prefecture the table lacks, the listed city it was carved from or
// lies nearest to. Keyed by the database's province and city without "市".
struct Alias {
    std::string_view province;
    std::string_view city;
    std::string_view listed;
};
constexpr Alias kAliases[] = {
    {"江苏省", "淮安", "淮阴"},       {"湖北省", "襄阳", "襄樊"},       {"云南省", "普洱", "思茅"},
    {"山西省", "吕梁", "离石"},       {"山西省", "晋中", "榆次"},       {"内蒙古", "乌兰察布", "集宁"},
    {"内蒙古", "阿拉善", "巴彦浩特"}, {"内蒙古", "巴彦淖尔", "临河"},   {"内蒙古", "锡林郭勒", "锡林浩特"},
    {"内蒙古", "呼伦贝尔", "海拉尔"}, {"内蒙古", "兴安盟", "乌兰浩特"}, {"湖南省", "湘西", "吉首"},
    {"贵州省", "黔东南", "凯里"},     {"贵州省", "黔南", "都匀"},       {"贵州省", "黔西南", "兴义"},
    {"新疆", "博尔塔拉", "博乐"},     {"新疆", "巴音郭楞", "库尔勒"},   {"新疆", "克孜勒苏", "克州"},
    {"西藏", "阿里地区", "阿里"},     {"安徽省", "亳州", "阜阳"},       {"江西省", "抚州", "南昌"},
    {"吉林省", "白山", "通化"},       {"广西", "崇左", "南宁"},         {"广西", "来宾", "柳州"},
    {"宁夏", "中卫", "吴忠"},         {"河南省", "济源", "焦作"},       {"海南省", "儋州", "海口"},
    {"甘肃省", "甘南", "临夏"},       {"青海省", "海南", "西宁"},       {"湖北省", "恩施土家族苗族自治州", "恩施"},
    {"吉林省", "延边朝鲜族自治州", "延边"},
};

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::string_view WithoutSuffix(std::string_view text, std::string_view suffix) {
    return EndsWith(text, suffix) && text.size() > suffix.size() ? text.substr(0, text.size() - suffix.size()) : text;
}

// The province of the table the database's name stands for: "广东省", or the
// short "内蒙古" and "北京" for "内蒙古自治区" and "北京市".
const Province* ProvinceOf(std::string_view name) {
    if (name.empty()) return nullptr;
    for (const Province& p : weather::Provinces()) {
        if (p.name == name || p.name.starts_with(name)) return &p;
    }
    return nullptr;
}

std::optional<std::string_view> Listed(const Province& province, std::string_view city) {
    const auto has = [&](std::string_view name) {
        return std::find(province.cities.begin(), province.cities.end(), name) != province.cities.end();
    };
    if (has(city)) return city;
    const std::string_view bare = WithoutSuffix(city, kCitySuffix);
    if (has(bare)) return *std::find(province.cities.begin(), province.cities.end(), bare);
    return std::nullopt;
}

// A municipality or special region: its one place stands for the whole.
bool IsCityRegion(const Province& province) {
    return !EndsWith(province.name, kProvinceSuffix) && !EndsWith(province.name, "自治区");
}

std::string HtmlEscape(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '&': out += "&amp;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

}  // namespace

std::optional<Place> PlaceOf(const IpRegion& region) {
    if (region.country != "中国") return std::nullopt;
    const Province* province = ProvinceOf(region.province);
    if (!province || province->cities.empty()) return std::nullopt;
    std::optional<std::string_view> city;
    if (IsCityRegion(*province) || region.province == "台湾省") {
        // The table lists one city for these (Chongqing's districts never come
        // from the database): the region's own seat.
        city = province->cities.front();
    } else if (!region.city.empty()) {
        city = Listed(*province, region.city);
        const std::string_view bare = WithoutSuffix(region.city, kCitySuffix);
        for (const Alias& alias : kAliases) {
            if (!city && alias.province == region.province && alias.city == bare) city = Listed(*province, alias.listed);
        }
    }
    if (!city) return std::nullopt;
    return Place{province->name, *city, region.isp};
}

std::string PlaceText(const Place& place) {
    std::string text;
    if (EndsWith(place.province, kSpecialRegion)) {
        text = place.province;
    } else if (EndsWith(place.province, kCitySuffix)) {
        text = std::string(place.city) + std::string(kCitySuffix);
    } else {
        text = std::string(place.province) + std::string(place.city);
        if (!EndsWith(place.city, kCitySuffix)) text += kCitySuffix;
    }
    if (!place.isp.empty()) text += " " + place.isp;
    return text;
}

std::string_view EchoedAddress(std::string_view address) {
    // The address may come from a proxy's header: anything but an address's
    // characters could forge a place, so such a text is not echoed.
    const bool plain = address.size() <= 45 && std::all_of(address.begin(), address.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == '.' || c == ':';
    });
    return plain ? address : std::string_view();
}

PageParts LocationPageParts(const std::optional<Place>& place) {
    PageParts parts;
    parts.before =
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
        "<title>IP地址查询</title></head><body><center>您的IP是：[";
    parts.after = "] ";
    parts.after += place ? "来自：" + HtmlEscape(PlaceText(*place)) : std::string("未知地区");
    parts.after += "</center></body></html>";
    return parts;
}

std::string LocationPage(std::string_view address, const std::optional<Place>& place) {
    const PageParts parts = LocationPageParts(place);
    return parts.before + std::string(EchoedAddress(address)) + parts.after;
}

}  // namespace torvane::server
