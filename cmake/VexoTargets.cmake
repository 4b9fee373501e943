# Helpers shared by every folder's CMakeLists.

set(VEXO_WARNINGS -Wall -Wextra)

# vexo_library(<name> [DEPS ...] [PRIVATE_DEPS ...] [EXCLUDE <regex>...])
# One library per folder: every .cpp/.c below the calling folder (sub-folders
# included) is part of it. EXCLUDE drops the files whose path relative to the
# calling folder matches (e.g. "^app/main\\.cpp$"), so where the clone sits never
# matters. Headers are included as "<folder>/<file>.h" from the repository root.
function(vexo_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  foreach(ex IN LISTS ARG_EXCLUDE)
    list(FILTER srcs EXCLUDE REGEX "${ex}")
  endforeach()
  list(TRANSFORM srcs PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  if(NOT srcs)
    # A folder whose code has not arrived yet: a header-only library with its links.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
  target_compile_options(${name} PRIVATE ${VEXO_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# vexo_test_suite(<subsystem> [DIR <dir>] [LIBS ...] [LOCK <resource>] [TIMEOUT <s>])
# Builds every .cpp in tests/<subsystem>/<dir> into one executable; each test
# case runs as its own ctest process and carries the subsystem's label.
function(vexo_test_suite subsystem)
  cmake_parse_arguments(ARG "" "DIR;NAME;LOCK;TIMEOUT" "LIBS" ${ARGN})
  if(NOT ARG_DIR)
    set(ARG_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  if(NOT ARG_NAME)
    set(ARG_NAME vexo_tests_${subsystem})
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 60)
  endif()
  file(GLOB srcs CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${ARG_NAME} ${srcs})
  target_compile_options(${ARG_NAME} PRIVATE ${VEXO_WARNINGS} ${VEXO_TEST_CODE_FLAGS})
  # The test framework's header costs more to parse than most test files: parse it once.
  target_precompile_headers(${ARG_NAME} PRIVATE <gtest/gtest.h>)
  # Each test case is a process of its own: a position-dependent executable starts
  # without relocating its data first (about a quarter less start-up per case).
  target_link_options(${ARG_NAME} PRIVATE -no-pie)
  target_include_directories(${ARG_NAME} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${ARG_NAME} PRIVATE
    VEXO_SOURCE_DIR="${PROJECT_SOURCE_DIR}" VEXO_BINARY_DIR="${PROJECT_BINARY_DIR}")
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} vexo_testsupport GTest::gtest GTest::gmock)
  # The suites drive the window model alone, even where a display exists (the
  # display tests run the program on one of their own).
  set(props LABELS ${subsystem} TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT VEXO_HEADLESS=1)
  if(ARG_LOCK)
    list(APPEND props RESOURCE_LOCK ${ARG_LOCK})
  endif()
  gtest_discover_tests(${ARG_NAME} DISCOVERY_TIMEOUT 60 PROPERTIES ${props})
endfunction()

# vexo_embed_text(<target> <input file> <header> <array name>)
# Turns a text file (a script kept in the program) into a generated header
# "${PROJECT_BINARY_DIR}/generated/<header>" holding it as a zero-terminated char
# array, rebuilt when the file changes, and adds it to <target>.
set(VEXO_EMBED_TEXT_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedText.cmake)
function(vexo_embed_text target input header name)
  set(output ${PROJECT_BINARY_DIR}/generated/${header})
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DNAME=${name} -P ${VEXO_EMBED_TEXT_SCRIPT}
    DEPENDS ${input} ${VEXO_EMBED_TEXT_SCRIPT}
    COMMENT "Embedding ${input}")
  target_sources(${target} PRIVATE ${output})
endfunction()
