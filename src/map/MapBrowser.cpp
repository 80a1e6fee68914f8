#include "map/MapBrowser.h"

#include <webkit2/webkit2.h>
#include <wx/webview.h>

#include "map/MBTilesScheme.h"
#include "map/ScriptText.h"

namespace vantrel {

namespace {

void onResourceFinished(WebKitWebResource* resource, gpointer nativeView) {
  WebKitURIResponse* response = webkit_web_resource_get_response(resource);
  const unsigned status = response ? webkit_uri_response_get_status_code(response) : 0;
  if (status < 400) return;
  // The page's function ignores what is not a tile of its map. Run without
  // waiting for it: wxWebView::RunScript waits in a nested loop, and one
  // inside another's wait would take the other's result.
  const std::string script = "typeof vantrelTileRefused === 'function' && vantrelTileRefused(" +
                             jsStringLiteral(webkit_web_resource_get_uri(resource)) + ", " +
                             std::to_string(status) + ")";
  webkit_web_view_evaluate_javascript(WEBKIT_WEB_VIEW(nativeView), script.c_str(), -1, nullptr,
                                      nullptr, nullptr, nullptr, nullptr);
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
  g_signal_connect(native, "resource-load-started", G_CALLBACK(onResourceStarted), nullptr);
}

}  // namespace vantrel
