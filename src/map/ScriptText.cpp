#include "map/ScriptText.h"

#include <charconv>
#include <cstdio>

namespace vantrel {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at text[i], advancing i; malformed or overlong
// sequences and surrogates give U+FFFD and consume one byte.
char32_t nextCodePoint(std::string_view text, size_t& i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  int length = lead < 0x80           ? 1
               : (lead >> 5) == 0x6  ? 2
               : (lead >> 4) == 0xE  ? 3
               : (lead >> 3) == 0x1E ? 4
                                     : 0;
  if (length == 1) {
    ++i;
    return lead;
  }
  if (length == 0 || i + length > text.size()) {
    ++i;
    return kReplacement;
  }
  char32_t code = lead & (0x7F >> length);
  for (int k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      ++i;
      return kReplacement;
    }
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    ++i;
    return kReplacement;
  }
  i += length;
  return code;
}

void appendUnitEscape(std::string& out, unsigned unit) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "\\u%04X", unit);
  out += buffer;
}

const char* modeNumber(CallMode mode) {
  switch (mode) {
    case CallMode::Continue:
      return "0";
    case CallMode::StopOnFailure:
      return "1";
    case CallMode::AfterSuccess:
      return "2";
  }
  return "0";
}

// The runner every batch script starts with; it takes the list of calls
// [mode, name, args...] and returns "first\nfailures\nstopped\nreason\nvalue".
constexpr std::string_view kRunner =
    "(function(calls){"
    "var first=-1,failures=0,stopped=0,reason='',value='',ok=true;"
    "for(var i=0;i<calls.length;i++){"
    "var c=calls[i];"
    "if(c[0]===2&&!ok)continue;"
    "try{"
    "var f=window[c[1]];"
    "if(typeof f!=='function')throw new Error(c[1]+' is not defined');"
    "var v=f.apply(window,c.slice(2));"
    "value=(v===undefined||v===null)?'':String(v);"
    "ok=true;"
    "}catch(e){"
    "ok=false;failures++;"
    "if(first<0){first=i;reason=String(e&&e.message?e.message:e).replace(/\\n/g,' ');}"
    "if(c[0]===1){stopped=1;break;}"
    "}"
    "}"
    "return first+'\\n'+failures+'\\n'+stopped+'\\n'+reason+'\\n'+value;"
    "})";

bool readInt(std::string_view text, int& value) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

// Cuts text at the next '\n': returns the part before it and drops it from text.
bool takeLine(std::string_view& text, std::string_view& line) {
  size_t end = text.find('\n');
  if (end == std::string_view::npos) return false;
  line = text.substr(0, end);
  text.remove_prefix(end + 1);
  return true;
}

}  // namespace

std::string jsStringLiteral(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  for (size_t i = 0; i < text.size();) {
    const char32_t code = nextCodePoint(text, i);
    switch (code) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (code >= 0x20 && code < 0x7F) {
          out += static_cast<char>(code);
        } else if (code < 0x10000) {
          appendUnitEscape(out, code);  // controls, DEL, '\u2028' and all other non-ASCII
        } else {
          const char32_t v = code - 0x10000;
          appendUnitEscape(out, 0xD800 + (v >> 10));
          appendUnitEscape(out, 0xDC00 + (v & 0x3FF));
        }
    }
  }
  out += '"';
  return out;
}

std::string batchScript(const ScriptBatch& calls) {
  std::string script(kRunner);
  script += "([";
  for (size_t i = 0; i < calls.size(); ++i) {
    const ScriptCall& call = calls[i];
    if (i) script += ',';
    script += '[';
    script += modeNumber(call.mode);
    script += ',';
    script += jsStringLiteral(call.name);
    for (const std::string& arg : call.args) {
      script += ',';
      script += jsStringLiteral(arg);
    }
    script += ']';
  }
  script += "])";
  return script;
}

bool parseBatchOutcome(std::string_view text, BatchOutcome& outcome) {
  std::string_view first, failures, stopped, reason;
  if (!takeLine(text, first) || !takeLine(text, failures) || !takeLine(text, stopped) ||
      !takeLine(text, reason)) {
    return false;
  }
  BatchOutcome read;
  int stoppedFlag = 0;
  if (!readInt(first, read.firstFailure) || !readInt(failures, read.failures) ||
      !readInt(stopped, stoppedFlag)) {
    return false;
  }
  read.stopped = stoppedFlag != 0;
  read.reason = reason;
  read.value = text;
  outcome = std::move(read);
  return true;
}

}  // namespace vantrel
