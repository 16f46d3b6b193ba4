#include "host/report/plot_scale.h"

#include <algorithm>
#include <cmath>

namespace host::report {
namespace {

constexpr double kTicksWanted = 5.0;

double round_step(double raw) {
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 2.5, 5.0}) {
    if (raw <= m * magnitude) return m * magnitude;
  }
  return 10.0 * magnitude;
}

double step_of(const PlotRange& range) {
  return round_step((range.high - range.low) / kTicksWanted);
}

}  // namespace

PlotRange nice_range(const std::vector<double>& values, double always) {
  double low = always;
  double high = always;
  for (double v : values) {
    if (!std::isfinite(v)) continue;
    low = std::min(low, v);
    high = std::max(high, v);
  }
  if (high - low < 1e-9) {
    // A flat series: a band around it, so it still shows.
    const double pad = std::max(1.0, std::fabs(high) * 0.1);
    low -= pad;
    high += pad;
  }
  const double step = step_of({low, high});
  return {std::floor(low / step) * step, std::ceil(high / step) * step};
}

std::vector<double> nice_ticks(const PlotRange& range) {
  const double step = step_of(range);
  std::vector<double> out;
  const double first = std::ceil(range.low / step - 1e-9) * step;
  for (int i = 0; i < 20; ++i) {
    const double v = first + i * step;
    if (v > range.high + step * 1e-9) break;
    out.push_back(std::fabs(v) < step * 1e-9 ? 0.0 : v);
  }
  return out;
}

}  // namespace host::report
