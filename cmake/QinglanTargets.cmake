# Common settings for every target of the project.
function(qinglan_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wpedantic)
  if(QINGLAN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# qinglan_library(name SOURCES... ) : a static library with include dir = its folder's parent
# so that headers are included as "<subsystem>/<Header>.h".
function(qinglan_library name)
  add_library(${name} STATIC ${ARGN})
  qinglan_warnings(${name})
endfunction()

# qinglan_test(name [QT_APP] SOURCES... LIBS ... [ENV ...] [LABELS ...]) : a GoogleTest
# executable registered with ctest. QT_APP gives it a main() that creates a QApplication
# (offscreen unless ENV says otherwise); without it GoogleTest's own main() is used, and a
# test that defines main() itself keeps its own.
function(qinglan_test name)
  cmake_parse_arguments(T "QT_APP" "" "SOURCES;LIBS;ENV;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  qinglan_warnings(${name})
  if(T_QT_APP)
    target_link_libraries(${name} PRIVATE qinglan_qt_test_main)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} qinglan_testsupport GTest::gtest GTest::gmock)
  set(props ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${T_ENV}")
  if(T_LABELS)
    list(APPEND props LABELS "${T_LABELS}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES ${props})
endfunction()
