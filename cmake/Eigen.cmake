# Eigen, header-only, as the target rodadero_eigen. Natively from its
# package's CMake files. In a cross build (Windows, WebAssembly) the host's
# headers are used from /usr/include/eigen3, a folder that holds nothing but
# Eigen: adding /usr/include itself would put the host's C library headers in
# front of the target's. Eigen's stream output is left out (EIGEN_NO_IO):
# the rooms that use it print nothing.
if(TARGET rodadero_eigen)
  return()
endif()
add_library(rodadero_eigen INTERFACE)
target_compile_definitions(rodadero_eigen INTERFACE EIGEN_NO_IO EIGEN_MPL2_ONLY)
if(NOT CMAKE_CROSSCOMPILING)
  find_package(Eigen3 3.3 CONFIG QUIET NO_MODULE)
endif()
if(TARGET Eigen3::Eigen)
  target_link_libraries(rodadero_eigen INTERFACE Eigen3::Eigen)
  return()
endif()
find_path(RODADERO_EIGEN_HEADERS Eigen/Eigenvalues PATHS /usr/include/eigen3 NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH)
if(NOT RODADERO_EIGEN_HEADERS)
  message(FATAL_ERROR "Eigen not found: install Debian's libeigen3-dev")
endif()
target_include_directories(rodadero_eigen SYSTEM INTERFACE ${RODADERO_EIGEN_HEADERS})
