#pragma once
// The texts of the drives panel, the chart, the scan's bar and "Recordings
// here" in the seven languages of the language box. Some are formats for
// wxString::Format: every language takes the same arguments in the same
// order.
#include <wx/string.h>

namespace vantrel {

enum class LibraryText {
  Drives,
  Date,
  Time,
  Clips,
  Distance,
  MaxSpeed,
  ExportDrive,
  Unreadable,
  ReadingCounts,  // %zu done, %zu in all
  Cancel,
  ReadingFolder,
  Summary,          // %zu drives, %zu clips
  Cancelled,        // follows the summary
  UnreadableCount,  // %zu; follows the summary
  RecordingsHere,
  NoRecordingHere,  // %.0f metres
  PassItem,         // %s file, %s time in it, %s local time, %.0f metres
  ExportTitle,
  ExportedTo,   // %s path
  NotExported,  // %s reason
  NoDriveTrack,
  NoChart,
  Speed,
  Altitude,
  GForce,
  Count
};

// The text in language (a language box index); English outside the table.
wxString libraryText(int language, LibraryText text);

}  // namespace vantrel
