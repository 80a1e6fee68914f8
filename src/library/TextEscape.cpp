#include "library/TextEscape.h"

#include <cstdio>

namespace vantrel {

namespace {

// Length of the valid UTF-8 sequence at text[i], 0 when none starts there.
size_t sequenceAt(std::string_view text, size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;
  if (lead >= 0xE0 && lead <= 0xEF) length = 3;
  if (lead >= 0xF0 && lead <= 0xF4) length = 4;
  if (lead == 0xE0) low = 0xA0;   // no overlong forms
  if (lead == 0xED) high = 0x9F;  // no surrogates
  if (lead == 0xF0) low = 0x90;
  if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  if (length == 0 || i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if (k == 1 ? (next < low || next > high) : (next & 0xC0) != 0x80) return 0;
  }
  return length;
}

}  // namespace

std::string validUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t length = sequenceAt(text, i);
    if (length == 0) {
      out += "\xEF\xBF\xBD";
      ++i;
    } else {
      out.append(text.substr(i, length));
      i += length;
    }
  }
  return out;
}

std::string xmlEscaped(std::string_view text) {
  std::string out;
  for (char c : validUtf8(text)) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r') out += c;
    }
  }
  return out;
}

std::string jsonQuoted(std::string_view text) {
  std::string out = "\"";
  for (char c : validUtf8(text)) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
      out += escape;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string csvField(std::string_view text) {
  const std::string clean = validUtf8(text);
  if (clean.find_first_of(",\"\r\n") == std::string::npos) return clean;
  std::string out = "\"";
  for (char c : clean) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

}  // namespace vantrel
