# cmake -DCPACK=cpack -DSOURCE=DIR -DNATIVE=DIR -DOUT=DIR -DLOG=PREFIX -DLIST=FILE
#       -P release.cmake
# The release files, from built trees: CPack packs the Windows ZIP in the
# Windows tree and the Debian package in the host tree NATIVE, each in a
# work folder of its own, and only the packages are kept in OUT, with the
# web page beside them as rodadero-VERSION.html. The Windows and web trees
# are the ones that NATIVE's cache names (RODADERO_WINDOWS_BUILD,
# RODADERO_WEB_BUILD), checked first. CPack's output goes to
# PREFIX-TREE.log; the three paths are printed and written to LIST.

include(${CMAKE_CURRENT_LIST_DIR}/BuildTrees.cmake)

rodadero_check_tree("The release's host tree" ${NATIVE} host native ${SOURCE})
rodadero_read_cache(${NATIVE} RODADERO_WINDOWS_BUILD windows)
rodadero_read_cache(${NATIVE} RODADERO_WEB_BUILD web)
rodadero_check_tree("${NATIVE}'s RODADERO_WINDOWS_BUILD" "${windows}" windows mingw ${SOURCE})
rodadero_check_tree("${NATIVE}'s RODADERO_WEB_BUILD" "${web}" web web ${SOURCE})
# Both packages carry the same page.
rodadero_read_cache(${windows} RODADERO_WEB_BUILD windows_web)
file(REAL_PATH "${web}" web_real)
file(REAL_PATH "${windows_web}" windows_web_real)
if(NOT windows_web_real STREQUAL web_real)
  message(FATAL_ERROR "release: ${windows} takes the page from ${windows_web}, "
                      "${NATIVE} from ${web}; set RODADERO_WEB_BUILD alike in both")
endif()

rodadero_read_cache(${NATIVE} CMAKE_PROJECT_VERSION version)
if(version STREQUAL "")
  message(FATAL_ERROR "release: no project version in ${NATIVE}/CMakeCache.txt")
endif()

file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
set(written)
foreach(tree ${windows} ${NATIVE})
  set(work ${tree}/cpack)
  file(REMOVE_RECURSE ${work})
  get_filename_component(name ${tree} NAME)
  rodadero_run_logged("release: cpack in ${tree}" ${LOG}-${name}.log
                      ${CPACK} --config ${tree}/CPackConfig.cmake -B ${work})
  file(GLOB made ${work}/*.zip ${work}/*.deb)
  if(NOT made)
    message(FATAL_ERROR "release: CPack made no package in ${work}")
  endif()
  foreach(f ${made})
    get_filename_component(name ${f} NAME)
    file(RENAME ${f} ${OUT}/${name})
    list(APPEND written ${OUT}/${name})
  endforeach()
endforeach()

# The page as it is, under the release's name.
set(page ${OUT}/rodadero-${version}.html)
file(COPY_FILE ${web}/rodadero.html ${page})
list(APPEND written ${page})

list(JOIN written "\n" lines)
file(WRITE ${LIST} "${lines}\n")
message("${lines}")
