#include "map/MBTilesScheme.h"

#include <webkit2/webkit2.h>

#include <charconv>
#include <map>
#include <memory>

#include "map/MBTiles.h"
#include "map/MapPages.h"

namespace vantrel {

namespace {

// A 1 x 1 transparent PNG: the answer for a tile the file does not hold.
constexpr unsigned char kEmptyTile[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48,
    0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00,
    0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00, 0x00, 0x00, 0x0B, 0x49, 0x44, 0x41, 0x54, 0x78,
    0x9C, 0x63, 0x60, 0x00, 0x02, 0x00, 0x00, 0x05, 0x00, 0x01, 0x7A, 0x5E, 0xAB, 0x3F,
    0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

// Reads a decimal number from text at pos up to stop; false when there is none.
bool readNumber(const std::string& text, size_t& pos, char stop, int& value) {
  const size_t end = text.find(stop, pos);
  if (end == std::string::npos || end == pos) return false;
  const auto [last, error] = std::from_chars(text.data() + pos, text.data() + end, value);
  if (error != std::errc() || last != text.data() + end) return false;
  pos = end + 1;
  return true;
}

// The MBTiles files the pages have asked for, opened once each; a file that
// would not open stays closed. The engine calls on the UI thread only.
MBTiles& openFile(const std::string& path) {
  static std::map<std::string, std::unique_ptr<MBTiles>> files;
  std::unique_ptr<MBTiles>& file = files[path];
  if (!file) {
    file = std::make_unique<MBTiles>();
    file->open(path);
  }
  return *file;
}

void failRequest(WebKitURISchemeRequest* request, const char* why) {
  GError* error = g_error_new_literal(G_IO_ERROR, G_IO_ERROR_FAILED, why);
  webkit_uri_scheme_request_finish_error(request, error);
  g_error_free(error);
}

void serveTile(WebKitURISchemeRequest* request, gpointer) {
  const std::optional<MBTilesRequest> tile =
      parseMBTilesUri(webkit_uri_scheme_request_get_uri(request));
  if (!tile) return failRequest(request, "not a tile address");
  MBTiles& file = openFile(tile->path);
  if (!file.isOpen()) return failRequest(request, "the offline map cannot be read");
  const std::optional<std::string> image = file.tile(tile->zoom, tile->x, tile->y);
  const std::string bytes =
      image ? *image : std::string(std::begin(kEmptyTile), std::end(kEmptyTile));
  const std::string type = tileImageType(bytes);
  GInputStream* stream = g_memory_input_stream_new_from_data(g_memdup2(bytes.data(), bytes.size()),
                                                             bytes.size(), g_free);
  webkit_uri_scheme_request_finish(request, stream, static_cast<gint64>(bytes.size()),
                                   type.empty() ? "application/octet-stream" : type.c_str());
  g_object_unref(stream);
}

}  // namespace

std::optional<MBTilesRequest> parseMBTilesUri(const std::string& uri) {
  const std::string prefix = std::string(kMBTilesScheme) + "://tiles/";
  if (uri.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
  MBTilesRequest request;
  size_t pos = prefix.size();
  if (!readNumber(uri, pos, '/', request.zoom) || !readNumber(uri, pos, '/', request.x) ||
      !readNumber(uri, pos, '?', request.y)) {
    return std::nullopt;
  }
  const std::string file = "file=";
  if (uri.compare(pos, file.size(), file) != 0) return std::nullopt;
  request.path = percentDecode(uri.substr(pos + file.size()));
  if (request.path.empty()) return std::nullopt;
  return request;
}

void registerMBTilesScheme(void* nativeView) {
  static bool registered = false;
  if (registered || !nativeView) return;
  WebKitWebContext* context = webkit_web_view_get_context(WEBKIT_WEB_VIEW(nativeView));
  webkit_web_context_register_uri_scheme(context, kMBTilesScheme, serveTile, nullptr, nullptr);
  registered = true;
}

}  // namespace vantrel
