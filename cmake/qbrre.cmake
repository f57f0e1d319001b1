# Build helpers shared by every subsystem folder.

find_package(PkgConfig REQUIRED)
pkg_check_modules(ALLEGRO REQUIRED IMPORTED_TARGET allegro)
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11 xext)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(ZLIB REQUIRED IMPORTED_TARGET zlib)
find_package(Threads REQUIRED)

set(QBRRE_WARNINGS -Wall -Wextra)
set(QBRRE_SANITIZERS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)

# What every subsystem builds with: the source root as include path, the
# warnings, and Allegro (platform/allegro_include.h puts its header in front of every
# file) with the threads. Other system libraries are private to the subsystem
# that uses them (qbrre_subsystem's SYSTEM list).
add_library(qbrre_deps INTERFACE)
target_include_directories(qbrre_deps INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_options(qbrre_deps INTERFACE ${QBRRE_WARNINGS})
target_link_libraries(qbrre_deps INTERFACE PkgConfig::ALLEGRO Threads::Threads)
if(QBRRE_SANITIZE)
  target_compile_options(qbrre_deps INTERFACE ${QBRRE_SANITIZERS})
  target_link_options(qbrre_deps INTERFACE ${QBRRE_SANITIZERS})
endif()
if(QBRRE_FUZZ)
  # Coverage for the fuzz targets; the libFuzzer runtime itself is linked only into them.
  target_compile_options(qbrre_deps INTERFACE -fsanitize=fuzzer-no-link)
endif()

set(QBRRE_SUBSYSTEMS "" CACHE INTERNAL "")
set(QBRRE_TEST_SEED 0 CACHE STRING "Seed of the test order of every suite (0: a new one each run)")

# qbrre_subsystem(name [USES lib...] [SYSTEM target...]): a static library of
# every .cpp in the calling folder (subfolders and main.cpp excluded), named
# qbrre_<name>. USES names the subsystems it calls, which must all sit below it
# (the layers of docs/architecture.md; the link_graph test fails on a cycle);
# SYSTEM the system libraries only it needs, linked privately.
function(qbrre_subsystem name)
  cmake_parse_arguments(ARG "" "" "USES;SYSTEM" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  # main.cpp holds a process entry; it belongs to the executable, not the library.
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(NOT sources)
    set(sources ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(qbrre_${name} STATIC ${sources})
  target_link_libraries(qbrre_${name} PUBLIC qbrre_deps)
  foreach(used IN LISTS ARG_USES)
    target_link_libraries(qbrre_${name} PUBLIC qbrre_${used})
  endforeach()
  target_link_libraries(qbrre_${name} PRIVATE ${ARG_SYSTEM})
  set(QBRRE_SUBSYSTEMS ${QBRRE_SUBSYSTEMS} ${name} CACHE INTERNAL "")
endfunction()

# qbrre_link_subsystems(target name...): links the named subsystem libraries;
# each brings the libraries it uses, in the order of the layers.
function(qbrre_link_subsystems target)
  foreach(name IN LISTS ARGN)
    target_link_libraries(${target} PRIVATE qbrre_${name})
  endforeach()
  target_link_libraries(${target} PRIVATE qbrre_deps)
endfunction()

# qbrre_test_suite(name SUBSYSTEMS a b ...): one GoogleTest executable
# <name>_tests of every *_test.cpp in the calling folder, registered with
# CTest, linked with the subsystems its tests use (and what those use) and the shared test helpers
# (qbrre_test_common, tests/common), whose precompiled headers it reuses.
function(qbrre_test_suite name)
  cmake_parse_arguments(ARG "" "" "SUBSYSTEMS;LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*_support.cpp)
  add_executable(${name}_tests ${sources})
  target_link_libraries(${name}_tests PRIVATE GTest::gtest_main qbrre_test_common ${ARG_LIBS})
  qbrre_link_subsystems(${name}_tests ${ARG_SUBSYSTEMS})
  target_precompile_headers(${name}_tests REUSE_FROM qbrre_test_common)
  # Shuffled, so that a test depending on another's leftovers fails: GoogleTest prints the seed of each
  # run ("Randomizing tests' orders with a seed of N"); -DQBRRE_TEST_SEED=N repeats that order.
  add_test(NAME ${name} COMMAND ${name}_tests --gtest_shuffle --gtest_random_seed=${QBRRE_TEST_SEED})
  # A recovery copy that a test's edits leave goes to the build tree, never to the user's own folder.
  set_tests_properties(${name} PROPERTIES LABELS ${name} TIMEOUT 900
                       ENVIRONMENT "XDG_STATE_HOME=${CMAKE_BINARY_DIR}/test-state")
endfunction()
