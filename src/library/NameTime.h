#pragma once
// The date and time a dashcam writes into its file names: YYYYMMDD_HHMMSS,
// YYYY_MMDD_HHMMSS, YYYYMMDD-HHMMSS, YYYY-MM-DD_HH-MM-SS, YYYYMMDDHHMMSS and
// the same with a two-digit year (YYMMDD_HHMMSS), anywhere in the name.
#include <optional>
#include <string_view>

#include "library/CivilTime.h"

namespace vantrel {

// The first date-time in name (a file name, with or without its folder and
// extension): digit groups joined by single '-', '_', '.' or ' ' that give
// 14 digits (four-digit year 1990..2099) or, failing that, 12 (two-digit year,
// 20YY) and form a real date and time. The digits must end where a group ends,
// unless one group holds them all ("20240501073005123"). nullopt when none.
std::optional<CivilTime> nameDateTime(std::string_view name);

}  // namespace vantrel
