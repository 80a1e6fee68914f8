#pragma once
// The window's keys with what they do, as --help and the About box list them:
// made from the command table.
#include <span>

namespace vantrel {

struct KeyHelp {
  const char* key;     // "F1"
  const char* action;  // "the About box"
};

std::span<const KeyHelp> windowKeys();

}  // namespace vantrel
