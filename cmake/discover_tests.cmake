# cmake -DVT_INCLUDE=<test executable's ..._include.cmake> -P discover_tests.cmake
# Runs the discovery part of the include file ctest reads for one test executable
# (the executable lists its tests under Wine) and leaves the list where ctest looks
# for it; ctest itself then only reads it. ./test runs these side by side: ctest
# would run them one after another before the first test starts.
file(READ "${VT_INCLUDE}" code)
# Adding the tests is ctest's part (script mode cannot).
string(REGEX REPLACE "include\\(\"[^\"]*_tests\\.cmake\"\\)" "" code "${code}")
string(REGEX REPLACE "add_test\\([^)]*\\)" "" code "${code}")
set(CMAKE_CURRENT_LIST_FILE "${VT_INCLUDE}")
# The module runs a discovery of its own when it sees script mode.
unset(CMAKE_SCRIPT_MODE_FILE)
cmake_language(EVAL CODE "${code}")
