# The page in Debian's Chromium, driven by Playwright, and in Firefox ESR and
# WebKitGTK (below) (npm packages at the
# versions in package.json, which tools/setup installs; nothing downloads a
# browser). They compare the page with two other builds, which must be
# built first: the host build's model_states gives the expected states, and
# a fixture runs the Windows build's page_reference.exe under Wine for the
# real windows' layout and pictures (make_references.py); the pictures'
# suites (race, charts) run the host build's rodadero-trace themselves.
# Both builds are named by cache variables and checked here.
rodadero_build_tree(RODADERO_NATIVE_BUILD native
    "The host build whose model_states and rodadero-trace the page's tests compare with")
rodadero_build_tree(RODADERO_WINDOWS_BUILD mingw
    "The Windows build whose page_reference.exe measures the real windows under Wine")
rodadero_check_tree(RODADERO_NATIVE_BUILD ${RODADERO_NATIVE_BUILD} host native ${PROJECT_SOURCE_DIR})
rodadero_check_tree(RODADERO_WINDOWS_BUILD ${RODADERO_WINDOWS_BUILD} windows mingw
                    ${PROJECT_SOURCE_DIR})
set(MODEL_STATES ${RODADERO_NATIVE_BUILD}/tests/web/model_states)
set(NATIVE_TRACE ${RODADERO_NATIVE_BUILD}/trace/rodadero-trace)
set(PAGE_REFERENCE ${RODADERO_WINDOWS_BUILD}/tests/web/page_reference.exe)
set(PLAYWRIGHT_CLI ${PROJECT_SOURCE_DIR}/node_modules/@playwright/test/cli.js)
if(NOT EXISTS ${PLAYWRIGHT_CLI})
  message(WARNING "Playwright is not installed: tools/setup installs it (npm ci)")
endif()
set(WEB_REFERENCE_DIR ${CMAKE_BINARY_DIR}/reference)
# The numbers of steps whose pictures are compared: the first paint, and
# 60 ticks of each timer in timed mode.
set(WEB_PICTURE_STEPS 0 120)

add_test(NAME web_references
         COMMAND python3 ${CMAKE_CURRENT_SOURCE_DIR}/make_references.py ${WEB_REFERENCE_DIR}
                 ${MODEL_STATES} ${PAGE_REFERENCE} ${WEB_PICTURE_STEPS})
set_tests_properties(web_references PROPERTIES FIXTURES_SETUP web_references TIMEOUT 600)

set(WEB_TEST_ENVIRONMENT "RODADERO_PAGE=${CMAKE_BINARY_DIR}/rodadero.html;RODADERO_REFERENCE=${WEB_REFERENCE_DIR};RODADERO_MODEL_STATES=${MODEL_STATES};RODADERO_TRACE=${NATIVE_TRACE};RODADERO_WEB_OUT=${CMAKE_BINARY_DIR}")

# One Playwright run: a suite of the Chromium project, or an engine's.
# ctest runs the suites side by side (the test preset's jobs), each with
# its own output folder, which Playwright empties as it starts. The suites
# that hold reference screenshots carry the label "screenshots"; those that
# compare with the real windows (REFERENCES) wait for make_references.py,
# the others start beside it.
function(rodadero_web_test name)
  cmake_parse_arguments(W "SCREENSHOTS;ALONE;REFERENCES" "" "ARGS" ${ARGN})
  set(labels web)
  if(W_SCREENSHOTS)
    list(APPEND labels screenshots)
  endif()
  add_test(NAME ${name}
           COMMAND node ${PLAYWRIGHT_CLI} test --config ${CMAKE_CURRENT_SOURCE_DIR}/playwright.config.mjs
                   --output=${CMAKE_BINARY_DIR}/playwright/${name} ${W_ARGS})
  if(W_REFERENCES)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED web_references)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT 900
    ENVIRONMENT "${WEB_TEST_ENVIRONMENT}"
    LABELS "${labels}")
  # A suite that reads the real clock (a worker's failure within a second,
  # the timers' rates while the sweep runs) runs with nothing beside it.
  if(W_ALONE)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()

# The scenario table, the picture's checks, axe-core and a reference
# screenshot in the other two engines: Debian's Firefox ESR over WebDriver
# BiDi and WebKitGTK's MiniBrowser through WebKitWebDriver under an Xvfb of
# its own (engine_suite.mjs, run by Playwright's runner as a project of each
# engine).
foreach(engine firefox webkit)
  rodadero_web_test(web_${engine} SCREENSHOTS REFERENCES ARGS --project=${engine})
endforeach()

# The Chromium suites, the longest first (ctest starts them in the order
# they are declared the first time, and by their last times after that).
# The storms, each a test of its own, so that the three run side by side:
# each is one seed's run of a minute or more, mostly spent waiting for the
# browser's answers.
foreach(seed 1 2 3)
  rodadero_web_test(web_storm_${seed} ARGS --project=chromium storm.test.mjs --grep "storm ${seed}:")
endforeach()

# Then the others. The suites of a few seconds run as one, in one run of
# Playwright and one browser (a run costs some 2 CPU-seconds before its
# first test). The tests that read the real clock (a worker's failure
# within a second, the timers' rates while the sweep runs) carry the tag
# @real-time and run together, with nothing beside them (web_real_time);
# the rest of their suites do not (all of sweep_failure's read it, so its
# own run finds none today, but a test added to it untagged runs there).
set(WEB_SCREENSHOT_SUITES picture race charts languages screens methods panel)
set(WEB_REFERENCE_SUITES screens picture description)
set(WEB_SHORT_SUITES packing accessibility charts race model_lanes sources fates_module catalogs)
set(WEB_REAL_TIME_SUITES panel sweep_failure)
# The options of a run of `suites`: the label if one of them holds
# reference screenshots, the wait for Wine's references if one compares
# with the real windows.
function(rodadero_web_suite_options out)
  set(options)
  foreach(suite ${ARGN})
    if(suite IN_LIST WEB_SCREENSHOT_SUITES)
      list(APPEND options SCREENSHOTS)
    endif()
    if(suite IN_LIST WEB_REFERENCE_SUITES)
      list(APPEND options REFERENCES)
    endif()
  endforeach()
  list(REMOVE_DUPLICATES options)
  set(${out} ${options} PARENT_SCOPE)
endfunction()
foreach(suite links screens scenarios languages downloads picture methods lab description panel
              sweep_failure)
  rodadero_web_suite_options(options ${suite})
  set(grep)
  if(suite IN_LIST WEB_REAL_TIME_SUITES)
    set(grep --grep-invert @real-time --pass-with-no-tests)
  endif()
  rodadero_web_test(web_${suite} ${options} ARGS --project=chromium ${suite}.test.mjs ${grep})
endforeach()
rodadero_web_suite_options(short_options ${WEB_SHORT_SUITES})
list(TRANSFORM WEB_SHORT_SUITES APPEND .test.mjs OUTPUT_VARIABLE short_files)
rodadero_web_test(web_short_suites ${short_options} ARGS --project=chromium ${short_files})
list(TRANSFORM WEB_REAL_TIME_SUITES APPEND .test.mjs OUTPUT_VARIABLE real_time_files)
rodadero_web_test(web_real_time ALONE ARGS --project=chromium ${real_time_files} --grep @real-time)
