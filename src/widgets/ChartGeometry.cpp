#include "widgets/ChartGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vantrel {

namespace {

double niceStep(double span, int maxTicks) {
  const double rough = span / std::max(maxTicks - 1, 1);
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  for (double factor : {1.0, 2.0, 5.0, 10.0}) {
    if (factor * power >= rough) return factor * power;
  }
  return 10 * power;
}

}  // namespace

std::vector<double> niceTicks(double low, double high, int maxTicks) {
  std::vector<double> ticks;
  if (!(high > low) || maxTicks < 2) return {low};
  const double step = niceStep(high - low, maxTicks);
  for (double v = std::ceil(low / step - 1e-9) * step; v <= high + step * 1e-9; v += step) {
    ticks.push_back(std::abs(v) < step * 1e-9 ? 0.0 : v);
  }
  return ticks;
}

std::vector<double> timeTicks(double span, int maxTicks) {
  static constexpr double kSteps[] = {1,   2,   5,    10,   15,   30,    60,    120,   300,
                                      600, 900, 1800, 3600, 7200, 10800, 21600, 43200, 86400};
  double step = kSteps[std::size(kSteps) - 1];
  for (double candidate : kSteps) {
    if (span / candidate <= std::max(maxTicks - 1, 1)) {
      step = candidate;
      break;
    }
  }
  std::vector<double> ticks;
  for (double t = 0; t <= span + 1e-9; t += step) ticks.push_back(t);
  return ticks;
}

std::string chartTimeText(double seconds, double span) {
  const long long s = std::llround(std::max(seconds, 0.0));
  char text[32];
  if (span < 3600) {
    std::snprintf(text, sizeof text, "%lld:%02lld", s / 60, s % 60);
  } else {
    std::snprintf(text, sizeof text, "%lld:%02lld", s / 3600, s / 60 % 60);
  }
  return text;
}

std::pair<double, double> axisRange(const std::vector<double>& values, bool fromZero) {
  double low = fromZero ? 0.0 : INFINITY, high = -INFINITY;
  for (double v : values) {
    if (!std::isfinite(v)) continue;
    low = std::min(low, v);
    high = std::max(high, v);
  }
  if (!std::isfinite(high)) return {0, 1};
  if (high - low < 1e-9) {  // a flat line sits inside its axis
    high = fromZero ? low + 1 : high + 0.5;
    low = fromZero ? low : low - 0.5;
  }
  const double step = niceStep(high - low, 5);
  return {std::floor(low / step) * step, std::ceil(high / step) * step};
}

int labelStart(double centre, int extent, int from, int to) {
  const int start = static_cast<int>(std::lround(centre - extent / 2.0));
  return std::max(from, std::min(start, to - extent));
}

std::vector<LaneTick> laneTicks(double low, double high, int top, int bottom, int labelHeight) {
  // Lines a label and a half apart: a label at an edge, moved inside by half
  // its height, still clears its neighbour.
  const int most = std::max(2, 1 + (bottom - top) / std::max(labelHeight * 3 / 2, 1));
  const ChartScale scale{low, high, double(bottom), double(top)};
  std::vector<LaneTick> ticks;
  for (double value : niceTicks(low, high, most)) {
    const int y = static_cast<int>(std::lround(scale.toPixel(value)));
    ticks.push_back({value, y, false, labelStart(y, labelHeight, top, bottom + 1)});
  }
  // The ends first: they say what the lane spans. In a lane too low for two
  // labels, a later one that would overlap goes unlabelled.
  std::vector<LaneTick*> order;
  for (LaneTick& tick : ticks) order.push_back(&tick);
  if (order.size() > 2) std::rotate(order.begin() + 1, order.end() - 1, order.end());
  std::vector<const LaneTick*> placed;
  for (LaneTick* tick : order) {
    const bool free = std::none_of(placed.begin(), placed.end(), [&](const LaneTick* other) {
      return tick->labelTop < other->labelTop + labelHeight &&
             other->labelTop < tick->labelTop + labelHeight;
    });
    if (!free) continue;
    tick->labelled = true;
    placed.push_back(tick);
  }
  return ticks;
}

double ChartScale::toPixel(double value) const {
  return from + (value - low) / (high - low) * (to - from);
}

double ChartScale::toValue(double pixel) const {
  return low + (pixel - from) / (to - from) * (high - low);
}

}  // namespace vantrel
