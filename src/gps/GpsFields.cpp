#include "gps/GpsFields.h"

namespace vantrel {

int checkFieldDots(std::string_view field) {
  int dots = 0;
  for (char c : field) {
    if (c == '.' && ++dots > 1) return -1;
  }
  return 0;
}

int splitGpsSentence(std::string_view sentence, GpsFields& fields) {
  for (auto& field : fields.text) field[0] = '\0';
  int i = 0;
  int j = 0;
  for (char c : sentence) {
    if (c == '\0') break;
    if (c == ',') {
      if (checkFieldDots(std::string_view(fields.text[i], j)) != 0) return -1;
      ++i;
      j = 0;
    } else {
      fields.text[i][j++] = c;
      fields.text[i][j] = '\0';
    }
    if (i == GpsFields::kCount || j == GpsFields::kMaxLength) break;
  }
  return 0;
}

bool isValidForMap(const GpsFields& fields) {
  char latitude = fields[4][0];
  char longitude = fields[6][0];
  return (latitude == 'N' || latitude == 'S') && (longitude == 'E' || longitude == 'W');
}

}  // namespace vantrel
