# Build helpers shared by every subsystem.

# One precompiled header for the whole tree: the platform headers and the framework layer.
add_library(vt_pch STATIC ${CMAKE_SOURCE_DIR}/cmake/pch.cpp)
target_precompile_headers(vt_pch PRIVATE ${CMAKE_SOURCE_DIR}/afx/pch.h)

function(vt_use_pch target)
  target_precompile_headers(${target} REUSE_FROM vt_pch)
endfunction()

# vt_library(name DIRS dir... [LIBS lib...]): a static library of every .cpp in the folders.
function(vt_library name)
  cmake_parse_arguments(A "" "" "DIRS;LIBS" ${ARGN})
  set(srcs)
  foreach(d ${A_DIRS})
    file(GLOB s CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${d}/*.cpp)
    list(APPEND srcs ${s})
  endforeach()
  if(NOT srcs)
    set(srcs ${CMAKE_SOURCE_DIR}/cmake/pch.cpp)
  endif()
  add_library(${name} STATIC ${srcs})
  target_link_libraries(${name} PUBLIC ${A_LIBS})
  vt_use_pch(${name})
endfunction()

# vt_test(name DIRS dir... [LIBS lib...] [RESOURCES obj-lib...] [SERIAL]):
# a GoogleTest executable of every .cpp in the folders, each test run under Wine by ctest.
function(vt_test name)
  cmake_parse_arguments(A "SERIAL" "" "DIRS;SOURCES;LIBS;RESOURCES" ${ARGN})
  set(srcs ${A_SOURCES})
  foreach(d ${A_DIRS})
    file(GLOB s CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${d}/*.cpp)
    list(APPEND srcs ${s})
  endforeach()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${A_LIBS} ${A_RESOURCES} vt_harness)
  target_precompile_headers(${name} REUSE_FROM vt_test_pch)
  # A test executable may name a longer limit of its own (VT_TIMEOUT_<name>).
  set(limit 120)
  if(DEFINED VT_TIMEOUT_${name})
    set(limit ${VT_TIMEOUT_${name}})
  endif()
  set(props TIMEOUT ${limit})
  if(A_SERIAL)
    list(APPEND props RUN_SERIAL TRUE)
  endif()
  # Tests of double-byte text run under a code page that has lead bytes.
  if(name MATCHES "_dbcs")
    list(APPEND props ENVIRONMENT LC_ALL=ja_JP.UTF-8)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       WORKING_DIRECTORY ${VT_BIN} PROPERTIES ${props})
endfunction()

# vt_resources(name file.rc...): compiled resources, linked straight into executables
# (a resource object inside a static library would never be pulled in).
function(vt_resources name)
  add_library(${name} OBJECT ${ARGN})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/resources)
endfunction()

# vt_test_each(prefix [LIBS lib...] [RESOURCES obj-lib...]): one test executable per
# *_test.cpp in this folder and its sub-folders (named prefix_<file>); files named
# *_serial_test.cpp use process-wide shared names and run alone.
function(vt_test_each prefix)
  cmake_parse_arguments(A "" "" "LIBS;RESOURCES" ${ARGN})
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  foreach(f ${files})
    get_filename_component(n ${f} NAME_WE)
    string(REGEX REPLACE "_test$" "" n ${n})
    set(serial)
    if(n MATCHES "_serial$")
      set(serial SERIAL)
    endif()
    vt_test(${prefix}_${n} SOURCES ${f} LIBS ${A_LIBS} RESOURCES ${A_RESOURCES} ${serial})
  endforeach()
endfunction()
