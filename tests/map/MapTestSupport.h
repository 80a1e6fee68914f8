#pragma once
// Map pages in the real web engine: load one, wait for it, read its state.
#include <wx/webview.h>

#include <string>

#include "map/Explorer1.h"
#include "support/WxTestSupport.h"

namespace testsupport {

inline std::string fileUrl(const std::string& path) {
  return "file://" + path;
}

// The map pages beside the test build's executable, offline: no tiles.
inline std::string mapPage(const char* page) {
  return fileUrl(std::string(VANTREL_BINARY_DIR) + "/res/" + page) + "?tiles=none";
}

inline bool waitForPage(vantrel::CExplorer1& browser, int timeoutMs = 15000) {
  return pumpUntil([&] { return browser.Document() != nullptr; }, timeoutMs);
}

// Evaluates expression in the loaded page and returns its value as text.
inline std::string evaluate(vantrel::CExplorer1& browser, const std::string& expression) {
  wxString out;
  if (!browser.Document() || !browser.Document()->RunScript(wxString::FromUTF8(expression), &out)) {
    return "<no result>";
  }
  return out.utf8_string();
}

// Wraps the six map functions so that each call is logged (name and
// arguments) in window.mapCalls before it runs.
inline void recordMapCalls(vantrel::CExplorer1& browser) {
  evaluate(
      browser,
      "window.mapCalls = [];"
      "['mapinitialize','setStartPoint','gotoNextPoint','setEndPoint','setLineNewPoint',"
      "'clrRTploy'].forEach(function (name) {"
      "  var f = window[name];"
      "  window[name] = function () {"
      "    window.mapCalls.push([name].concat(Array.prototype.slice.call(arguments)).join(' '));"
      "    return f.apply(this, arguments);"
      "  };"
      "}); true");
}

}  // namespace testsupport
