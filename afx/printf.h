// printf-style checking of a function's format and arguments (1-based
// positions; a member function's `this` is position 1; 0 as `first` for a
// va_list). The archetype is the one the runtime's vsnprintf follows.
#pragma once
#include <cstdio>

#define AFX_PRINTF(fmt, first) __attribute__((format(__MINGW_PRINTF_FORMAT, fmt, first)))
