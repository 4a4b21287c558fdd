# Shared compiler settings and small helpers that keep each folder's CMakeLists a few lines long.

add_library(morvex_settings INTERFACE)
target_compile_features(morvex_settings INTERFACE cxx_std_20)
target_compile_definitions(morvex_settings INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CONTEXTLESS_CONNECT QT_USE_QSTRINGBUILDER QT_NO_KEYWORDS)
target_compile_options(morvex_settings INTERFACE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
if(MORVEX_WERROR)
  target_compile_options(morvex_settings INTERFACE -Werror)
endif()
target_include_directories(morvex_settings INTERFACE ${PROJECT_SOURCE_DIR}/src)

# Adds every subfolder of the current folder that has a CMakeLists.txt, so that a new
# component or test folder needs no edit of its parent.
function(morvex_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# morvex_component(<target> DEPENDS <libs...>): a static library of every .cpp in the folder.
function(morvex_component target)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${target} STATIC ${sources})
  target_link_libraries(${target} PUBLIC morvex_settings ${ARG_DEPENDS})
endfunction()

# The GoogleTest entry point sets the environment itself: gtest_discover_tests cannot pass
# more than one environment variable.
add_library(morvex_gtest_main OBJECT ${PROJECT_SOURCE_DIR}/tests/support/gtest_main.cpp)
target_link_libraries(morvex_gtest_main PUBLIC GTest::gtest)
target_compile_definitions(morvex_gtest_main PRIVATE MORVEX_BINARY_DIR="${PROJECT_BINARY_DIR}")

# morvex_gtest(<name> DEPENDS <libs...>): one GoogleTest executable of every .cpp in the folder.
function(morvex_gtest name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE morvex_settings ${ARG_DEPENDS} GTest::gtest GTest::gmock morvex_gtest_main)
  target_compile_definitions(${name} PRIVATE MORVEX_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# morvex_qtest(<source.cpp> DEPENDS <libs...>): one QTest executable per source file, run offscreen.
function(morvex_qtest source)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE morvex_settings ${ARG_DEPENDS} Qt6::Test)
  target_compile_definitions(${name} PRIVATE MORVEX_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=${PROJECT_BINARY_DIR}/xdg-runtime;MORVEX_BINARY_DIR=${PROJECT_BINARY_DIR}"
    TIMEOUT 600)
endfunction()

file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/xdg-runtime)
file(CHMOD ${PROJECT_BINARY_DIR}/xdg-runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
