# The tree of the workflow presets "all" and "release" (configure preset
# "all", build/all). Its build configures and builds each of the other
# trees with its own preset, one tree at a time (each sub-build already
# uses the whole machine), the web tree after the host and Windows trees
# that its configure checks, then makes the release files from the host,
# Windows and web trees. Every sub-build runs each time and is incremental
# inside. Its tests are every tree's tests, each tree's run by its own test
# preset as one test of this tree (below).

include(${CMAKE_CURRENT_LIST_DIR}/BuildTrees.cmake)

# The trees, by the preset that makes each, and the kind it must be.
set(chain_trees native sanitize mingw web)
set(chain_kind_native host)
set(chain_kind_sanitize sanitize)
set(chain_kind_mingw windows)
set(chain_kind_web web)

set_property(GLOBAL PROPERTY JOB_POOLS one_tree_at_a_time=1)
set(step ${CMAKE_CURRENT_LIST_DIR}/chain_step.cmake)
foreach(tree ${chain_trees})
  rodadero_build_tree(RODADERO_CHAIN_${tree} ${tree}
      "The folder that the configure preset ${tree} builds in")
  add_custom_target(${tree} ALL
    COMMAND ${CMAKE_COMMAND} -DPRESET=${tree} -DTREE=${RODADERO_CHAIN_${tree}}
            -DWHAT=RODADERO_CHAIN_${tree} -DKIND=${chain_kind_${tree}} -DSOURCE=${PROJECT_SOURCE_DIR}
            -DLOG=${CMAKE_BINARY_DIR}/${tree} -P ${step}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "${tree}: configure and build (logs: ${CMAKE_BINARY_DIR}/${tree}-*.log)"
    JOB_POOL one_tree_at_a_time
    VERBATIM)
endforeach()
add_dependencies(web native mingw)

# The release files in build/package/, as tools/package writes them.
add_custom_target(release ALL
  COMMAND ${CMAKE_COMMAND} -DCPACK=${CMAKE_CPACK_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR}
          -DNATIVE=${RODADERO_CHAIN_native} -DWINDOWS=${RODADERO_CHAIN_mingw}
          -DOUT=${PROJECT_SOURCE_DIR}/build/package -DLOG=${CMAKE_BINARY_DIR}/release
          -DLIST=${CMAKE_BINARY_DIR}/release-files.txt
          -P ${CMAKE_CURRENT_LIST_DIR}/release.cmake
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  COMMENT "release: the Windows ZIP, the Debian package and the page in build/package/"
  JOB_POOL one_tree_at_a_time
  VERBATIM)
add_dependencies(release native mingw web)

# Each tree's tests as one test here: its own test preset, with that
# preset's filter and jobs (two for the sanitizer tree, three for the web
# page's suites, one elsewhere), its fixtures in its own run, the release
# files' tests after the build made them. Not the trees' CTestTestfiles taken in whole: ctest gives every test
# of a name the properties set for that name in any tree, and the host,
# sanitizer and Windows trees have tests of the same names. The output of
# each goes to <preset>-test.log here too.
enable_testing()
foreach(preset native sanitize mingw web package)
  add_test(NAME ${preset}
           COMMAND ${CMAKE_CTEST_COMMAND} --preset ${preset}
                   --output-log ${CMAKE_BINARY_DIR}/${preset}-test.log
           WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
  # Its tests have their own time-outs.
  set_tests_properties(${preset} PROPERTIES TIMEOUT 7200)
endforeach()
