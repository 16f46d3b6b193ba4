#pragma once
// Linear scales and round tick values for the report's plot.
#include <vector>

namespace host::report {

struct PlotRange {
  double low = 0.0;
  double high = 1.0;
};

// A range holding every given value (non-finite ones ignored) and `always`,
// widened to round ticks; never empty.
PlotRange nice_range(const std::vector<double>& values, double always);

// Round tick values from low to high, about five of them.
std::vector<double> nice_ticks(const PlotRange& range);

// Maps value -> pixel: low to `from`, high to `to`.
struct PlotScale {
  PlotRange range;
  double from = 0.0;
  double to = 1.0;
  double operator()(double value) const {
    return from + (value - range.low) / (range.high - range.low) * (to - from);
  }
};

}  // namespace host::report
