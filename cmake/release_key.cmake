# Sets TORVANE_RELEASE_KEY_HEX: the release public key given to the build, or
# the public half of the test key pair in TORVANE_TEST_KEY_DIR, made on the
# first configure that needs it.
if(NOT TORVANE_RELEASE_PUBLIC_KEY STREQUAL "")
  string(TOLOWER "${TORVANE_RELEASE_PUBLIC_KEY}" TORVANE_RELEASE_KEY_HEX)
  if(NOT TORVANE_RELEASE_KEY_HEX MATCHES "^04[0-9a-f]+$")
    message(FATAL_ERROR "TORVANE_RELEASE_PUBLIC_KEY: hex of the uncompressed P-256 point expected")
  endif()
  string(LENGTH "${TORVANE_RELEASE_KEY_HEX}" key_digits)
  if(NOT key_digits EQUAL 130)
    message(FATAL_ERROR "TORVANE_RELEASE_PUBLIC_KEY: 65 bytes expected")
  endif()
  return()
endif()

find_program(TORVANE_OPENSSL openssl REQUIRED)
set(key_dir "${TORVANE_TEST_KEY_DIR}")
file(MAKE_DIRECTORY "${key_dir}")
# Build trees configured at the same time must not make two different keys.
file(LOCK "${key_dir}/key.lock" GUARD FILE TIMEOUT 120)
if(NOT EXISTS "${key_dir}/private.pem")
  execute_process(COMMAND "${TORVANE_OPENSSL}" genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256
                          -out "${key_dir}/private.pem.new"
                  RESULT_VARIABLE made OUTPUT_QUIET ERROR_QUIET)
  if(NOT made EQUAL 0)
    message(FATAL_ERROR "openssl could not make the test key pair")
  endif()
  file(RENAME "${key_dir}/private.pem.new" "${key_dir}/private.pem")
endif()
execute_process(COMMAND "${TORVANE_OPENSSL}" pkey -in "${key_dir}/private.pem" -pubout -outform DER
                        -out "${key_dir}/public.der"
                RESULT_VARIABLE read OUTPUT_QUIET ERROR_QUIET)
file(LOCK "${key_dir}/key.lock" RELEASE)
if(NOT read EQUAL 0)
  message(FATAL_ERROR "openssl could not read ${key_dir}/private.pem")
endif()
# The point is the last 65 bytes of the DER public key.
file(READ "${key_dir}/public.der" der HEX)
string(LENGTH "${der}" der_digits)
math(EXPR point_start "${der_digits} - 130")
string(SUBSTRING "${der}" ${point_start} 130 TORVANE_RELEASE_KEY_HEX)
file(WRITE "${key_dir}/public.hex" "${TORVANE_RELEASE_KEY_HEX}\n")
