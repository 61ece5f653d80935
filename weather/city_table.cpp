#include "weather/city_table.h"

namespace torvane::weather {

const Province* FindProvince(std::string_view name) {
    for (const Province& province : Provinces()) {
        if (province.name == name) return &province;
    }
    return nullptr;
}

}  // namespace torvane::weather
