// GoogleTest printers for the layer's value types, so a failed comparison
// shows values instead of bytes. Found by argument-dependent lookup.
#pragma once
#include <ostream>
#include "afx/geometry.h"
#include "afx/string.h"

inline void PrintTo(const CPoint& pt, std::ostream* os) { *os << "CPoint(" << pt.x << ", " << pt.y << ")"; }
inline void PrintTo(const CSize& sz, std::ostream* os) { *os << "CSize(" << sz.cx << ", " << sz.cy << ")"; }
inline void PrintTo(const CRect& rc, std::ostream* os)
{
    *os << "CRect(" << rc.left << ", " << rc.top << ", " << rc.right << ", " << rc.bottom << ")";
}
inline void PrintTo(const CString& s, std::ostream* os) { *os << '"' << (LPCSTR)s << '"'; }

// Streams too, for the messages after << in an assertion (a CString streams
// through its LPCSTR already).
inline std::ostream& operator<<(std::ostream& os, const CPoint& v) { PrintTo(v, &os); return os; }
inline std::ostream& operator<<(std::ostream& os, const CSize& v) { PrintTo(v, &os); return os; }
inline std::ostream& operator<<(std::ostream& os, const CRect& v) { PrintTo(v, &os); return os; }
