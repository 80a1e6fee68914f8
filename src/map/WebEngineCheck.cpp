#include "map/WebEngineCheck.h"

namespace vantrel {

WebEngine checkWebEngine(const wxString& backend) {
  WebEngine engine;
  engine.available = wxWebView::IsBackendAvailable(backend);
  if (engine.available)
    engine.version = wxWebView::GetBackendVersionInfo(backend).GetVersionString();
  return engine;
}

wxString webEngineText(const WebEngine& engine) {
  return engine.available ? "Map engine: " + engine.version
                          : wxString("Map engine: none, the maps are off");
}

}  // namespace vantrel
