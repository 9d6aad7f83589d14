# gf_library(<name> [DIRS dir...] [DEPS target...] [PRIVATE_DEPS target...])
#
# One static library per source folder. Sources are every .cpp directly in the
# listed folders (default: the calling folder), so adding a file needs no edit
# here. A folder without sources yet becomes an INTERFACE library so that the
# targets that depend on it still configure.
function(gf_library name)
  cmake_parse_arguments(GF "" "" "DIRS;DEPS;PRIVATE_DEPS" ${ARGN})
  if(NOT GF_DIRS)
    set(GF_DIRS ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  set(sources "")
  foreach(dir IN LISTS GF_DIRS)
    file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${GF_DEPS} PRIVATE ${GF_PRIVATE_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${GF_DEPS})
  endif()
endfunction()

# gf_test_suite(<name> DEPS target... [LABELS label...])
#
# One GoogleTest executable per tests/ folder; every .cpp in the calling folder
# belongs to it. Each test case is registered with ctest on its own.
function(gf_test_suite name)
  cmake_parse_arguments(GF "" "" "DEPS;LABELS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(test_${name} ${sources} ${PROJECT_SOURCE_DIR}/tests/support/test_main.cpp)
  target_link_libraries(test_${name} PRIVATE ${GF_DEPS} GTest::gtest GTest::gmock)
  target_compile_definitions(test_${name} PRIVATE GRAZEFALL_TEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  target_include_directories(test_${name} PRIVATE ${PROJECT_SOURCE_DIR})
  if(NOT GF_LABELS)
    set(GF_LABELS unit)
  endif()
  include(GoogleTest)
  gtest_discover_tests(test_${name}
    DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
    PROPERTIES LABELS "${GF_LABELS}")
endfunction()
