# The page in Debian's Chromium, driven by Playwright (npm packages at the
# versions in package.json, which tools/setup installs; nothing downloads a
# browser). A fixture first makes the other builds' references: the host
# build's model states and, under Wine, the real windows' layout and
# pictures (make_references.py).
set(PLAYWRIGHT_CLI ${PROJECT_SOURCE_DIR}/node_modules/@playwright/test/cli.js)
if(NOT EXISTS ${PLAYWRIGHT_CLI})
  message(WARNING "Playwright is not installed: tools/setup installs it (npm ci)")
endif()
set(WEB_REFERENCE_DIR ${CMAKE_BINARY_DIR}/reference)
# The numbers of steps whose pictures are compared: the first paint, and
# 60 ticks of each timer in timed mode.
set(WEB_PICTURE_STEPS 0 120)

add_test(NAME web_references
         COMMAND python3 ${CMAKE_CURRENT_SOURCE_DIR}/make_references.py ${PROJECT_SOURCE_DIR}
                 ${WEB_REFERENCE_DIR} ${WEB_PICTURE_STEPS})
set_tests_properties(web_references PROPERTIES FIXTURES_SETUP web_references TIMEOUT 1800)

foreach(suite scenarios picture storm accessibility panel sweep_failure)
  add_test(NAME web_${suite}
           COMMAND node ${PLAYWRIGHT_CLI} test --config ${CMAKE_CURRENT_SOURCE_DIR}/playwright.config.mjs
                   ${suite}.test.mjs)
  set_tests_properties(web_${suite} PROPERTIES
    FIXTURES_REQUIRED web_references
    TIMEOUT 900
    ENVIRONMENT "RODADERO_PAGE=${CMAKE_BINARY_DIR}/rodadero.html;RODADERO_REFERENCE=${WEB_REFERENCE_DIR};RODADERO_MODEL_STATES=${PROJECT_SOURCE_DIR}/build/native/tests/web/model_states;RODADERO_WEB_OUT=${CMAKE_BINARY_DIR}")
endforeach()
