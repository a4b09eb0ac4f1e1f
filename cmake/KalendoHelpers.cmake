# Warnings every target of ours carries; third-party headers come in as SYSTEM so they stay quiet.
function(kalendo_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /permissive- /utf-8)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                             -Wcast-align -Woverloaded-virtual -Wimplicit-fallthrough)
  endif()
endfunction()

# On Windows a program carries the icon and a version sheet as resources; elsewhere this does nothing.
function(kalendo_windows_resources target description)
  if(NOT WIN32)
    return()
  endif()
  set(KALENDO_RC_NAME ${target})
  set(KALENDO_RC_DESCRIPTION ${description})
  set(KALENDO_RC_ICON ${PROJECT_SOURCE_DIR}/packaging/icons/kalendo.ico)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/program.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
endfunction()

# A static library for one module. Its headers are included as "module/Header.h" from src/.
# QT turns on moc and rcc; the pure libraries leave it off and never see a Qt header.
function(kalendo_library name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;LINKS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
  endif()
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_BINARY_DIR}/generated)
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  kalendo_warnings(${name})
endfunction()

# One GoogleTest executable per unit or group of units. QT marks a widget test: it gets a main
# that makes the QApplication (offscreen platform, pinned style, font and locale), because
# widgets cannot exist before one does. Every test runs with a fixed environment.
function(kalendo_test name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;LINKS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
  endif()
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE ${ARG_LINKS} kalendo_qt_test_main GTest::gtest Qt6::Test)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_LINKS} GTest::gtest GTest::gtest_main)
  endif()
  target_compile_definitions(${name} PRIVATE
    KALENDO_SCREENSHOT_DIR="${PROJECT_BINARY_DIR}/screenshots"
    KALENDO_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests
                                           ${PROJECT_BINARY_DIR}/generated)
  kalendo_warnings(${name})
  include(GoogleTest)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;LANG=C.UTF-8;TZ=UTC"
               TIMEOUT 120)
endfunction()
