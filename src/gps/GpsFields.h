#pragma once
// A GPS sentence split into its positional fields. Fields read here:
// 2 time (hhmmss), 3/4 latitude ddmm.mmmm and N/S, 5/6 longitude dddmm.mmmm
// and E/W, 7 ground speed in km/h. Fixed storage: the split runs on every
// dashboard tick and allocates nothing.
#include <string_view>

namespace vantrel {

struct GpsFields {
  static constexpr int kCount = 20;
  static constexpr int kMaxLength = 20;

  // Field k of the sentence, zero-terminated; empty when absent.
  const char* operator[](int k) const { return text[k]; }

  char text[kCount][kMaxLength + 1];
};

// Fills fields from sentence: 0 accepted, -1 rejected (a field followed by a
// comma holds two or more dots; fields then hold what was stored so far).
// Splitting stops after the twentieth field, or as soon as one field reaches
// kMaxLength characters: everything after that character is dropped. The
// sentence ends at its end or at a zero byte.
int splitGpsSentence(std::string_view sentence, GpsFields& fields);

// 0 when field holds at most one '.', -1 when it holds two or more.
int checkFieldDots(std::string_view field);

// Hemisphere letters 'N'/'S' in field 4 and 'E'/'W' in field 6 (upper case
// only): the sentence may be drawn on the map.
bool isValidForMap(const GpsFields& fields);

}  // namespace vantrel
