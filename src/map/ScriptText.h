#pragma once
// The text of the scripts the bridge runs in a map page: arguments as
// JavaScript string literals, and a batch of named calls as one script that
// makes them in order and reports how they went.
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// What a failed call does to the rest of its batch.
enum class CallMode {
  Continue,       // note the failure, go on with the next call
  StopOnFailure,  // a failure ends the batch
  AfterSuccess,   // made only when the call before it ran and succeeded
};

struct ScriptCall {
  std::string name;               // a function defined by the page
  std::vector<std::string> args;  // UTF-8 texts, passed as JavaScript strings
  CallMode mode = CallMode::Continue;
};
using ScriptBatch = std::vector<ScriptCall>;

// How a batch went. A call fails when the page has no function of that name
// or the function throws.
struct BatchOutcome {
  int firstFailure = -1;  // index of the first failed call, -1 when none failed
  int failures = 0;
  bool stopped = false;  // a StopOnFailure call failed and ended the batch
  std::string reason;    // the first failure's message
  std::string value;     // what the last successful call returned, as text
};

// A double-quoted JavaScript string literal holding text, in plain ASCII:
// quotes, backslashes, control and non-ASCII characters become escapes.
// Bytes that are not UTF-8 become U+FFFD.
std::string jsStringLiteral(std::string_view text);

// One script that makes the calls in order and evaluates to the outcome text
// that parseBatchOutcome reads.
std::string batchScript(const ScriptBatch& calls);

// Reads the text a batch script evaluated to; false when it is not one.
bool parseBatchOutcome(std::string_view text, BatchOutcome& outcome);

}  // namespace vantrel
