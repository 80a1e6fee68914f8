#pragma once
// Names of parameterised cases made from their recordings' file names:
// googletest takes letters, digits and '_' only.
#include <cctype>
#include <string>

namespace testsupport {

inline std::string testName(std::string text) {
  for (char& c : text) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return text;
}

}  // namespace testsupport
