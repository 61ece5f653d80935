# Turns resources/cities.txt (province, a tab, its cities separated by spaces)
# into the C++ table of the city pickers, so the table has one source.
# cmake -DSRC=cities.txt -DDST=city_table.cpp -P cities.cmake
file(STRINGS ${SRC} lines ENCODING UTF-8)
set(arrays "")
set(rows "")
set(n 0)
foreach(line IN LISTS lines)
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  string(FIND "${line}" "\t" tab)
  if(tab LESS 1)
    message(FATAL_ERROR "${SRC}: no tab after the province in: ${line}")
  endif()
  string(SUBSTRING "${line}" 0 ${tab} province)
  math(EXPR after "${tab} + 1")
  string(SUBSTRING "${line}" ${after} -1 cities)
  string(STRIP "${cities}" cities)
  string(REGEX REPLACE " +" "\", \"" quoted "${cities}")
  string(APPEND arrays "constexpr std::string_view kCities${n}[] = {\"${quoted}\"};\n")
  string(APPEND rows "    {\"${province}\", kCities${n}},\n")
  math(EXPR n "${n} + 1")
endforeach()
file(WRITE ${DST}.tmp
"// Made by resources/cities.cmake from resources/cities.txt; do not edit.
#include \"weather/city_table.h\"

namespace torvane::weather {
namespace {
${arrays}
constexpr Province kProvinces[] = {
${rows}};
}  // namespace

std::span<const Province> Provinces() { return kProvinces; }

}  // namespace torvane::weather
")
file(COPY_FILE ${DST}.tmp ${DST} ONLY_IF_DIFFERENT)
file(REMOVE ${DST}.tmp)
