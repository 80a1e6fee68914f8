#pragma once
// The web-engine check at start-up: the maps need a web view backend. Without
// one the map areas show a notice and every map call fails; start-up goes on.
#include <wx/string.h>
#include <wx/webview.h>

namespace vantrel {

struct WebEngine {
  bool available = false;
  wxString version;  // the backend's name and version, e.g. "webkit2 2.50.6"
};

WebEngine checkWebEngine(const wxString& backend = wxWebViewBackendDefault);

// The About box's line on the maps' engine.
wxString webEngineText(const WebEngine& engine);

}  // namespace vantrel
