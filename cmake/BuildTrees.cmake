# The project's build trees know one another only through cache variables
# that name a folder (RODADERO_NATIVE_BUILD, RODADERO_WINDOWS_BUILD,
# RODADERO_WEB_BUILD), each checked to be a configured build of this source
# folder of the right kind. Each tree records its kind in
# RODADERO_BUILD_KIND (top-level CMakeLists.txt): host, sanitize, windows or
# web. Used at configure time and, from a script (cmake -P), by the release
# files' step.

# rodadero_build_tree(VAR PRESET DOC): the cache variable VAR, by default
# the folder that the configure preset PRESET builds in.
macro(rodadero_build_tree var preset doc)
  set(${var} ${PROJECT_SOURCE_DIR}/build/${preset} CACHE PATH "${doc}")
endmacro()

# rodadero_read_cache(DIR NAME OUT): the value of NAME in DIR's
# CMakeCache.txt, or empty.
function(rodadero_read_cache dir name out)
  set(value "")
  if(EXISTS ${dir}/CMakeCache.txt)
    file(STRINGS ${dir}/CMakeCache.txt line REGEX "^${name}:[A-Z]+=" LIMIT_COUNT 1)
    string(REGEX REPLACE "^${name}:[A-Z]+=" "" value "${line}")
  endif()
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

# rodadero_check_tree(WHAT DIR KIND PRESET SOURCE): a fatal error unless DIR
# is a configured build of the folder SOURCE whose kind is KIND; the message
# names WHAT (the variable that gave DIR) and the preset that makes one.
function(rodadero_check_tree what dir kind preset source)
  set(fix "run 'cmake --preset ${preset}' first, or set ${what} to such a build")
  if(NOT EXISTS ${dir}/CMakeCache.txt)
    message(FATAL_ERROR "${what} is ${dir}, which is not a configured build: ${fix}")
  endif()
  rodadero_read_cache(${dir} CMAKE_HOME_DIRECTORY home)
  rodadero_read_cache(${dir} RODADERO_BUILD_KIND found)
  file(REAL_PATH "${home}" home)
  file(REAL_PATH "${source}" source)
  if(NOT home STREQUAL source)
    message(FATAL_ERROR "${what} is ${dir}, a build of ${home}, not of ${source}: ${fix}")
  endif()
  if(NOT found STREQUAL kind)
    if(found STREQUAL "")
      set(found "an unknown")
    endif()
    message(FATAL_ERROR "${what} is ${dir}, a ${found} build, not a ${kind} build: ${fix}")
  endif()
endfunction()

# rodadero_run_logged(WHAT LOG COMMAND...): runs COMMAND with its output in
# the file LOG; if it fails, a fatal error that shows the end of LOG.
function(rodadero_run_logged what log)
  execute_process(COMMAND ${ARGN} OUTPUT_FILE ${log} ERROR_FILE ${log} RESULT_VARIABLE code)
  if(NOT code EQUAL 0)
    file(STRINGS ${log} lines)
    list(LENGTH lines n)
    if(n GREATER 40)
      math(EXPR first "${n} - 40")
      list(SUBLIST lines ${first} 40 lines)
    endif()
    list(JOIN lines "\n" tail)
    # As it is: a fatal error's text would be wrapped.
    message("${what} failed (${code}); the end of ${log}:\n${tail}\n")
    message(FATAL_ERROR "${what} failed")
  endif()
endfunction()
