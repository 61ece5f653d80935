# Turns server/data/city_coords.tsv (city, latitude, longitude) into the
# service's table, so the coordinates ship inside the program.
# cmake -DSRC=city_coords.tsv -DDST=city_coords.cpp -P coords.cmake
file(STRINGS ${SRC} lines ENCODING UTF-8)
set(rows "")
foreach(line IN LISTS lines)
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  if(NOT line MATCHES "^([^\t]+)\t(-?[0-9.]+)\t(-?[0-9.]+)$")
    message(FATAL_ERROR "${SRC}: not a city, latitude and longitude: ${line}")
  endif()
  string(APPEND rows "    {\"${CMAKE_MATCH_1}\", ${CMAKE_MATCH_2}, ${CMAKE_MATCH_3}},\n")
endforeach()
file(WRITE ${DST}.tmp
"// Made by server/coords.cmake from server/data/city_coords.tsv; do not edit.
#include \"server/city_coords.h\"

namespace torvane::server {
namespace {
constexpr CityPoint kPoints[] = {
${rows}};
}  // namespace

std::span<const CityPoint> CityPoints() { return kPoints; }

}  // namespace torvane::server
")
file(COPY_FILE ${DST}.tmp ${DST} ONLY_IF_DIFFERENT)
