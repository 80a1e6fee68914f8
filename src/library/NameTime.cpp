#include "library/NameTime.h"

#include <string>
#include <vector>

namespace vantrel {

namespace {

struct DigitRun {
  size_t begin;
  size_t end;
};

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

bool isSeparator(char c) {
  return c == '-' || c == '_' || c == '.' || c == ' ';
}

std::string_view stemOf(std::string_view name) {
  const size_t slash = name.rfind('/');
  if (slash != name.npos) name.remove_prefix(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != name.npos && dot > 0) name = name.substr(0, dot);
  return name;
}

std::vector<DigitRun> digitRuns(std::string_view stem) {
  std::vector<DigitRun> runs;
  for (size_t i = 0; i < stem.size();) {
    if (!isDigit(stem[i])) {
      ++i;
      continue;
    }
    const size_t begin = i;
    while (i < stem.size() && isDigit(stem[i])) ++i;
    runs.push_back({begin, i});
  }
  return runs;
}

int number(std::string_view digits, size_t at, size_t count) {
  int value = 0;
  for (size_t i = at; i < at + count; ++i) value = value * 10 + (digits[i] - '0');
  return value;
}

// digits: YYYYMMDDHHMMSS (14) or YYMMDDHHMMSS (12).
std::optional<CivilTime> civilOfDigits(std::string_view digits) {
  const bool longYear = digits.size() == 14;
  CivilTime t;
  t.year = longYear ? number(digits, 0, 4) : 2000 + number(digits, 0, 2);
  const size_t at = longYear ? 4 : 2;
  t.month = number(digits, at, 2);
  t.day = number(digits, at + 2, 2);
  t.hour = number(digits, at + 4, 2);
  t.minute = number(digits, at + 6, 2);
  t.second = number(digits, at + 8, 2);
  if (t.year < 1990 || t.year > 2099 || !utcMsOf(t)) return std::nullopt;
  return t;
}

// The groups from first on, joined while single separators part them, and
// the joined length at the end of each group.
std::string joinedFrom(std::string_view stem, const std::vector<DigitRun>& runs, size_t first,
                       std::vector<size_t>& ends) {
  std::string joined;
  for (size_t k = first; k < runs.size(); ++k) {
    if (k > first &&
        !(runs[k].begin == runs[k - 1].end + 1 && isSeparator(stem[runs[k - 1].end]))) {
      break;
    }
    joined.append(stem.substr(runs[k].begin, runs[k].end - runs[k].begin));
    ends.push_back(joined.size());
    if (joined.size() >= 14) break;
  }
  return joined;
}

std::optional<CivilTime> findWithLength(std::string_view stem, const std::vector<DigitRun>& runs,
                                        size_t length) {
  for (size_t first = 0; first < runs.size(); ++first) {
    std::vector<size_t> ends;
    const std::string joined = joinedFrom(stem, runs, first, ends);
    if (joined.size() < length) continue;
    bool fits = ends.front() >= length;  // one group holds every digit
    for (size_t end : ends) fits = fits || end == length;
    if (!fits) continue;
    if (std::optional<CivilTime> t = civilOfDigits(std::string_view(joined).substr(0, length))) {
      return t;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<CivilTime> nameDateTime(std::string_view name) {
  const std::string_view stem = stemOf(name);
  const std::vector<DigitRun> runs = digitRuns(stem);
  if (std::optional<CivilTime> t = findWithLength(stem, runs, 14)) return t;
  return findWithLength(stem, runs, 12);
}

}  // namespace vantrel
