# Delay-loaded system libraries: a program linked to `<name>_delay` instead of
# `<name>` loads the DLL at the first call into it rather than at its start,
# so libraries the first window does not need cost the start nothing.
# The import library is made once at configure time from the toolchain's own
# import library's names.
function(torvane_delay_import name)
  set(target ${name}_delay)
  if(TARGET ${target})
    return()
  endif()
  find_file(import_lib lib${name}.a PATHS ${CMAKE_FIND_ROOT_PATH}/lib NO_DEFAULT_PATH NO_CACHE)
  if(NOT import_lib OR NOT CMAKE_NM OR NOT CMAKE_DLLTOOL)
    message(FATAL_ERROR "cannot make a delay-load library for ${name}")
  endif()
  set(dir ${CMAKE_BINARY_DIR}/delay_import)
  file(MAKE_DIRECTORY ${dir})
  execute_process(COMMAND ${CMAKE_NM} -g --defined-only ${import_lib}
                  OUTPUT_VARIABLE symbols ERROR_QUIET RESULT_VARIABLE nm_failed)
  if(nm_failed)
    message(FATAL_ERROR "${CMAKE_NM} failed on ${import_lib}")
  endif()
  string(REGEX MATCHALL "__imp_[A-Za-z0-9_]+" imports "${symbols}")
  list(REMOVE_DUPLICATES imports)
  list(TRANSFORM imports REPLACE "^__imp_" "")
  list(JOIN imports "\n" exports)
  file(WRITE ${dir}/${name}.def "LIBRARY ${name}.dll\nEXPORTS\n${exports}\n")
  execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${dir}/${name}.def --dllname ${name}.dll
                          --output-delaylib ${dir}/lib${name}_delay.a
                  RESULT_VARIABLE dlltool_failed)
  if(dlltool_failed)
    message(FATAL_ERROR "${CMAKE_DLLTOOL} could not make lib${name}_delay.a")
  endif()
  add_library(${target} STATIC IMPORTED GLOBAL)
  # delayimp holds the loader that binds a function at its first call.
  set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${dir}/lib${name}_delay.a
                                             INTERFACE_LINK_LIBRARIES delayimp)
endfunction()
