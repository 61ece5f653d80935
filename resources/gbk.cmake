# Turns one text table from its source form (UTF-8, one entry per line, LF)
# into the form the calendar carries as a resource (GBK, entries separated by
# CR LF).
#
#   cmake -DICONV=<iconv> -DSRC=<source.txt> -DDST=<table.bin> -DCOUNT=<n>
#         [-DTRAILING_CRLF=ON] -P gbk.cmake
#
# COUNT is the number of entries the source must hold; the build stops when it
# differs, when an entry is empty, or when a character has no GBK form.
# TRAILING_CRLF ends the last entry with CR LF too, so that splitting the
# resource at CR LF gives one more, empty, entry.

foreach(arg IN ITEMS ICONV SRC DST COUNT)
  if(NOT DEFINED ${arg})
    message(FATAL_ERROR "gbk.cmake: ${arg} is not set")
  endif()
endforeach()

file(READ "${SRC}" head LIMIT 3 HEX)
if(head STREQUAL "efbbbf")
  message(FATAL_ERROR "${SRC}: starts with a byte-order mark; save it as UTF-8 without one")
endif()

file(READ "${SRC}" text)
# A checkout with CR LF line ends or a missing/extra final newline gives the
# same resource.
string(REPLACE "\r" "" text "${text}")
string(REGEX REPLACE "\n+$" "" text "${text}")

if(text STREQUAL "")
  message(FATAL_ERROR "${SRC}: empty")
endif()
if(text MATCHES "\n\n" OR text MATCHES "^\n")
  message(FATAL_ERROR "${SRC}: has an empty line")
endif()
string(REGEX MATCHALL "\n" breaks "${text}")
list(LENGTH breaks entries)
math(EXPR entries "${entries} + 1")
if(NOT entries EQUAL COUNT)
  message(FATAL_ERROR "${SRC}: ${entries} entries, expected ${COUNT}")
endif()

string(REPLACE "\n" "\r\n" text "${text}")
if(TRAILING_CRLF)
  string(APPEND text "\r\n")
endif()

file(WRITE "${DST}.utf8" "${text}")
execute_process(
  COMMAND "${ICONV}" -f UTF-8 -t GBK "${DST}.utf8"
  OUTPUT_FILE "${DST}.part"
  ERROR_VARIABLE err
  RESULT_VARIABLE rc)
file(REMOVE "${DST}.utf8")
if(NOT rc EQUAL 0)
  file(REMOVE "${DST}.part")
  message(FATAL_ERROR "${SRC}: not convertible to GBK: ${err}")
endif()
file(RENAME "${DST}.part" "${DST}")
