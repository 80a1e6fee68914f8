#include "gps/NmeaSentences.h"

#include <cctype>

namespace vantrel {

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Characters outside ASCII carry nothing NMEA reads.
char narrow(unsigned unit) {
  return unit < 0x80 ? static_cast<char>(unit) : '?';
}

}  // namespace

bool nmeaChecksumHolds(std::string_view sentence, std::string_view checksum) {
  while (!checksum.empty() && std::isspace(static_cast<unsigned char>(checksum.back()))) {
    checksum.remove_suffix(1);
  }
  if (checksum.size() != 2) return false;
  const int high = hexValue(checksum[0]), low = hexValue(checksum[1]);
  if (high < 0 || low < 0) return false;
  unsigned sum = 0;
  for (char c : sentence.substr(1)) sum ^= static_cast<unsigned char>(c);
  return sum == static_cast<unsigned>(high * 16 + low);
}

void NmeaSentences::feed(std::string_view bytes) {
  if (encoding_ != Encoding::Unknown) return decode(bytes);
  start_.append(bytes);
  if (start_.size() < 3 && !bytes.empty()) return;  // a byte-order mark may follow
  std::string_view first(start_);
  if (first.starts_with("\xFF\xFE")) {
    encoding_ = Encoding::Utf16Le;
    first.remove_prefix(2);
  } else if (first.starts_with("\xFE\xFF")) {
    encoding_ = Encoding::Utf16Be;
    first.remove_prefix(2);
  } else {
    encoding_ = Encoding::Bytes;
    if (first.starts_with("\xEF\xBB\xBF")) first.remove_prefix(3);
  }
  const std::string rest(first);
  start_.clear();
  decode(rest);
}

void NmeaSentences::decode(std::string_view bytes) {
  if (encoding_ == Encoding::Bytes) {
    for (char c : bytes) take(c);
    return;
  }
  for (char c : bytes) {
    const unsigned byte = static_cast<unsigned char>(c);
    if (pendingByte_ < 0) {
      pendingByte_ = static_cast<int>(byte);
      continue;
    }
    const unsigned first = static_cast<unsigned>(pendingByte_);
    pendingByte_ = -1;
    take(narrow(encoding_ == Encoding::Utf16Le ? first | byte << 8 : first << 8 | byte));
  }
}

void NmeaSentences::take(char c) {
  if (c == '\r' || c == '\n' || c == '\0') return endLine();
  if (c == '$') endLine();  // a sentence glued to the one before
  if (overlong_) return;
  if (line_.size() == kMaxNmeaLine) {
    overlong_ = true;
    line_.clear();
    return;
  }
  line_.push_back(c);
}

void NmeaSentences::endLine() {
  const bool whole = !overlong_;
  overlong_ = false;
  if (!whole || line_.empty() || line_[0] != '$') {
    line_.clear();
    return;
  }
  std::string_view sentence(line_);
  const size_t star = sentence.find('*');
  const bool checked = star != std::string_view::npos;
  if (!checked || nmeaChecksumHolds(sentence.substr(0, star), sentence.substr(star + 1))) {
    sink_(sentence.substr(0, star), checked);
  }
  line_.clear();
}

void NmeaSentences::finish() {
  if (encoding_ == Encoding::Unknown) feed(std::string_view());
  endLine();
}

}  // namespace vantrel
