#pragma once
#include <wx/iconbndl.h>

namespace vantrel {
// Icon 128: a small speed gauge, drawn at the sizes window managers ask for.
wxIconBundle appIcons();
}  // namespace vantrel
