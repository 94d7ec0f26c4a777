# cmake -DPRESET=NAME -DTREE=DIR -DWHAT=VAR -DKIND=KIND -DSOURCE=DIR -DLOG=PREFIX
#       -P chain_step.cmake
# Run in the source folder: configures the tree of the preset NAME, checks
# that it is a build of the kind KIND in DIR (the chain tree's cache
# variable VAR), then builds it with the build preset of the same name. The
# output goes to PREFIX-configure.log and PREFIX-build.log; on a failure
# the end of that log is printed.

include(${CMAKE_CURRENT_LIST_DIR}/BuildTrees.cmake)

rodadero_run_logged("${PRESET}: configure" ${LOG}-configure.log
                    ${CMAKE_COMMAND} --preset ${PRESET})
rodadero_check_tree(${WHAT} ${TREE} ${KIND} ${PRESET} ${SOURCE})
rodadero_run_logged("${PRESET}: build" ${LOG}-build.log
                    ${CMAKE_COMMAND} --build --preset ${PRESET})
