# Build helpers shared by every subsystem folder.

find_package(PkgConfig REQUIRED)
pkg_check_modules(ALLEGRO REQUIRED IMPORTED_TARGET allegro)
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11 xext)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(ZLIB REQUIRED IMPORTED_TARGET zlib)
find_package(Threads REQUIRED)

set(QBRRE_WARNINGS -Wall -Wextra)
set(QBRRE_SANITIZERS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)

# Third-party libraries every subsystem may use.
add_library(qbrre_deps INTERFACE)
target_include_directories(qbrre_deps INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_options(qbrre_deps INTERFACE ${QBRRE_WARNINGS})
target_link_libraries(qbrre_deps INTERFACE PkgConfig::ALLEGRO PkgConfig::X11 PkgConfig::PNG PkgConfig::ZLIB
                      Threads::Threads ${CMAKE_DL_LIBS})
if(QBRRE_SANITIZE)
  target_compile_options(qbrre_deps INTERFACE ${QBRRE_SANITIZERS})
  target_link_options(qbrre_deps INTERFACE ${QBRRE_SANITIZERS})
endif()
if(QBRRE_FUZZ)
  # Coverage for the fuzz targets; the libFuzzer runtime itself is linked only into them.
  target_compile_options(qbrre_deps INTERFACE -fsanitize=fuzzer-no-link)
endif()

set(QBRRE_SUBSYSTEMS "" CACHE INTERNAL "")

# qbrre_subsystem(name): a static library of every .cpp in the calling folder
# (subfolders and main.cpp excluded), named qbrre_<name>.
function(qbrre_subsystem name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  # main.cpp holds a process entry; it belongs to the executable, not the library.
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(NOT sources)
    set(sources ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(qbrre_${name} STATIC ${sources})
  target_link_libraries(qbrre_${name} PUBLIC qbrre_deps)
  set(QBRRE_SUBSYSTEMS ${QBRRE_SUBSYSTEMS} ${name} CACHE INTERNAL "")
endfunction()

# qbrre_link_subsystems(target name...): links the named subsystem libraries
# as one rescanned group, so calls between them resolve in any order.
function(qbrre_link_subsystems target)
  set(libs "")
  foreach(name IN LISTS ARGN)
    list(APPEND libs qbrre_${name})
  endforeach()
  list(JOIN libs "," joined)
  target_link_libraries(${target} PRIVATE "$<LINK_GROUP:RESCAN,${joined}>" qbrre_deps)
endfunction()

# qbrre_test_suite(name SUBSYSTEMS a b ...): one GoogleTest executable
# <name>_tests of every *_test.cpp in the calling folder, registered with
# CTest, linked with the named subsystems and the shared test helpers
# (qbrre_test_common, tests/common).
function(qbrre_test_suite name)
  cmake_parse_arguments(ARG "" "" "SUBSYSTEMS;LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*_support.cpp)
  add_executable(${name}_tests ${sources})
  target_link_libraries(${name}_tests PRIVATE GTest::gtest_main qbrre_test_common ${ARG_LIBS})
  qbrre_link_subsystems(${name}_tests ${ARG_SUBSYSTEMS})
  target_compile_definitions(${name}_tests PRIVATE
    QBRRE_SOURCE_DIR="${PROJECT_SOURCE_DIR}" QBRRE_BINARY_DIR="${PROJECT_BINARY_DIR}")
  add_test(NAME ${name} COMMAND ${name}_tests)
  set_tests_properties(${name} PROPERTIES LABELS ${name} TIMEOUT 900)
endfunction()
