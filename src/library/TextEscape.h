#pragma once
// Text made safe for the files the exports write: valid UTF-8 whatever bytes
// a file name holds, and the escapes of XML, JSON and CSV.
#include <string>
#include <string_view>

namespace vantrel {

// text with every byte that starts no valid UTF-8 sequence replaced by U+FFFD.
std::string validUtf8(std::string_view text);
// Valid UTF-8 with & < > " ' escaped and control characters XML 1.0 does not
// allow dropped.
std::string xmlEscaped(std::string_view text);
// A JSON string literal, quotes included.
std::string jsonQuoted(std::string_view text);
// A CSV field: quoted (with doubled quotes) when it holds a comma, a quote or
// a line break.
std::string csvField(std::string_view text);

}  // namespace vantrel
