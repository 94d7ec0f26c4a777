# CLI11, header-only, as the target rodadero_cli11. Natively from its
# package's CMake files. In the cross build the host's headers are used
# through a folder that holds nothing but them: adding /usr/include itself
# would put the host's C library headers in front of mingw-w64's.
if(TARGET rodadero_cli11)
  return()
endif()
add_library(rodadero_cli11 INTERFACE)
find_package(CLI11 CONFIG QUIET)
if(CLI11_FOUND)
  target_link_libraries(rodadero_cli11 INTERFACE CLI11::CLI11)
  return()
endif()
find_path(RODADERO_CLI11_HEADERS CLI/CLI.hpp PATHS /usr/include NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH)
if(NOT RODADERO_CLI11_HEADERS)
  message(FATAL_ERROR "CLI11 not found: install Debian's libcli11-dev")
endif()
set(cli11_folder ${CMAKE_BINARY_DIR}/cli11-include)
file(MAKE_DIRECTORY ${cli11_folder})
if(NOT EXISTS ${cli11_folder}/CLI)
  file(CREATE_LINK ${RODADERO_CLI11_HEADERS}/CLI ${cli11_folder}/CLI SYMBOLIC COPY_ON_ERROR)
endif()
target_include_directories(rodadero_cli11 SYSTEM INTERFACE ${cli11_folder})
