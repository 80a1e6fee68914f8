// Sending an hour-long route (3600 entries) to the small map page in the real
// web engine: the calls of the walk carried in one batched script, against
// the yardstick of one synchronous RunScript per entry. The UI thread is
// blocked for the whole of either, so the batched time is what a user feels
// when a track loads.
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "gps/DashboardRoute.h"
#include "gps/SentenceTracks.h"
#include "map/Explorer1.h"
#include "map/MapPages.h"
#include "map/RouteCalls.h"
#include "map/RouteMaps.h"
#include "map/WebPage.h"
#include "support/RatioReporter.h"
#include "support/WxTestSupport.h"

namespace {

constexpr int kEntries = 3600;

class BenchApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

// The map page in a window, loaded offline (no tiles).
struct MapWindow {
  wxFrame* frame = nullptr;
  vantrel::CExplorer1 browser;
};
MapWindow* g_map = nullptr;

// One sentence a second along a straight road north-east.
std::vector<vantrel::RoutePoint> hourOfRoute() {
  std::vector<std::string> track;
  for (int i = 0; i < kEntries; ++i) {
    char sentence[128];
    std::snprintf(sentence, sizeof sentence,
                  "$GPRMC,A,%06d.000,%09.4f,N,%010.4f,E,50.00,0.0,101226", 70000 + i,
                  4807.0 + 0.008 * i, 1131.0 + 0.008 * i);
    track.push_back(sentence);
  }
  return vantrel::routePoints(testsupport::sentenceTrack(track));
}

// Ours: CRouteMaps sends the walk as one batch.
void BM_RouteBatched(benchmark::State& state) {
  const auto route = hourOfRoute();
  vantrel::CRouteMaps maps(g_map->browser, g_map->frame, wxWebViewBackendDefault);
  for (auto _ : state) maps.InitMapRoute(route);
  state.counters["calls"] = static_cast<double>(vantrel::smallRouteBatch(route).size());
}

// The yardstick: the same calls, one RunScript each.
void BM_RoutePerCall(benchmark::State& state) {
  const vantrel::ScriptBatch calls = vantrel::smallRouteBatch(hourOfRoute());
  for (auto _ : state) {
    vantrel::CWebPage page;
    page.AttachDocument(g_map->browser.Document());
    for (const vantrel::ScriptCall& call : calls) page.CallScriptFunction(call.name, call.args);
  }
  state.counters["calls"] = static_cast<double>(calls.size());
}

// A seek near the end: the travelled line redrawn through 3600 points.
void BM_RedrawBatched(benchmark::State& state) {
  std::vector<vantrel::MapPoint> points;
  for (const auto& entry : hourOfRoute()) points.push_back(entry.point);
  vantrel::CRouteMaps maps(g_map->browser, g_map->frame, wxWebViewBackendDefault);
  for (auto _ : state) maps.RedrawRouteTo(points, false);
}

BENCHMARK(BM_RouteBatched)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);
BENCHMARK(BM_RoutePerCall)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(3);
BENCHMARK(BM_RedrawBatched)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);

bool openMapWindow(MapWindow& map) {
  map.frame = new wxFrame(nullptr, wxID_ANY, "bench", wxDefaultPosition, wxSize(320, 260));
  map.browser.Create(map.frame, wxID_ANY, wxRect(0, 0, 300, 240));
  map.frame->Show();
  map.browser.Navigate(wxString::FromUTF8(vantrel::mapPageUrl(
      std::string(VANTREL_BINARY_DIR) + "/", vantrel::kSmallMapPage, vantrel::TileSource{})));
  return testsupport::pumpUntil([&] { return map.browser.Document() != nullptr; }, 20000);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  wxApp::SetInstance(new BenchApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "bench_route_batch: no display\n");
    return 1;
  }
  MapWindow map;
  if (!openMapWindow(map)) {
    std::fprintf(stderr, "bench_route_batch: the map page did not load\n");
    return 1;
  }
  g_map = &map;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto ms = [&](const char* name) { return reporter.times.at(name).real; };
  int status = 1;
  if (reporter.has("BM_RouteBatched") && reporter.has("BM_RoutePerCall") &&
      reporter.has("BM_RedrawBatched")) {
    std::printf("route of %d entries: %.1f ms batched, %.1f ms one call each; redraw %.1f ms\n",
                kEntries, ms("BM_RouteBatched"), ms("BM_RoutePerCall"), ms("BM_RedrawBatched"));
    reporter.printRatio("route_batch_vs_call_per_entry", "BM_RoutePerCall", "BM_RouteBatched",
                        false);
    status = 0;
  }
  map.frame->Destroy();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return status;
}
