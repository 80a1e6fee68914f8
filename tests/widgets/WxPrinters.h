#pragma once
// wx geometry and colours in test failure messages.
#include <wx/colour.h>
#include <wx/gdicmn.h>

#include <ostream>

inline void PrintTo(const wxColour& c, std::ostream* out) {
  *out << "rgb(" << int(c.Red()) << ", " << int(c.Green()) << ", " << int(c.Blue()) << ")";
}
inline void PrintTo(const wxPoint& p, std::ostream* out) {
  *out << "(" << p.x << ", " << p.y << ")";
}
inline void PrintTo(const wxSize& s, std::ostream* out) {
  *out << s.x << " x " << s.y;
}
inline void PrintTo(const wxRect& r, std::ostream* out) {
  *out << "(" << r.x << ", " << r.y << ", " << r.width << " x " << r.height << ")";
}
