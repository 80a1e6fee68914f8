#include "map/MapBrowser.h"

#include <webkit2/webkit2.h>
#include <wx/weakref.h>
#include <wx/webview.h>

#include "map/MBTilesScheme.h"
#include "map/ScriptText.h"

namespace vantrel {

namespace {

// The native view's wxWebView, as a weak reference: the native view may
// outlive it.
constexpr const char* kViewKey = "vantrel-map-view";
using ViewRef = wxWeakRef<wxWebView>;

void deleteViewRef(gpointer ref) {
  delete static_cast<ViewRef*>(ref);
}

void onResourceFinished(WebKitWebResource* resource, gpointer nativeView) {
  auto* ref = static_cast<ViewRef*>(g_object_get_data(G_OBJECT(nativeView), kViewKey));
  wxWebView* view = ref ? ref->get() : nullptr;
  WebKitURIResponse* response = webkit_web_resource_get_response(resource);
  if (!view || !response) return;
  const unsigned status = webkit_uri_response_get_status_code(response);
  if (status < 400) return;
  // The page's function ignores what is not a tile of its map.
  const std::string script = "typeof vantrelTileRefused === 'function' && vantrelTileRefused(" +
                             jsStringLiteral(webkit_web_resource_get_uri(resource)) + ", " +
                             std::to_string(status) + ")";
  // Not from inside the engine's signal: RunScript waits for the page.
  view->CallAfter([view, script] { view->RunScript(wxString::FromUTF8(script)); });
}

void onResourceStarted(WebKitWebView* nativeView, WebKitWebResource* resource, WebKitURIRequest*,
                       gpointer) {
  // Disconnected by itself when the view goes.
  g_signal_connect_object(resource, "finished", G_CALLBACK(onResourceFinished), nativeView,
                          GConnectFlags(0));
}

}  // namespace

std::string mapUserAgent() {
  return "Vantrel/" VANTREL_VERSION " (+" VANTREL_HOMEPAGE ")";
}

void prepareMapBrowser(wxWebView& view) {
  view.SetUserAgent(wxString::FromUTF8(mapUserAgent()));
  auto* native = static_cast<GObject*>(view.GetNativeBackend());
  if (!native) return;
  registerMBTilesScheme(native);
  g_object_set_data_full(native, kViewKey, new ViewRef(&view), deleteViewRef);
  g_signal_connect(native, "resource-load-started", G_CALLBACK(onResourceStarted), nullptr);
}

}  // namespace vantrel
