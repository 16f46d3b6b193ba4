#include "host/report/side_view_trail.h"

namespace host::report {

void Trail::add(const TrailPoint& p) {
  if (!points_.empty() && p.frame <= points_.back().frame) return;
  if (points_.empty()) origin_ = p.frame;
  const uint32_t cell = (p.frame - origin_) / stride_;
  if (tail_ && p.alert == points_.back().alert) {
    points_.back() = p;
    tail_ = cell == last_cell_;
    last_cell_ = cell;
    return;
  }
  // A tail before a change of alert stays: it ends its stretch.
  points_.push_back(p);
  const size_t n = points_.size();
  const bool changes = n == 1 || p.alert != points_[n - 2].alert;
  tail_ = !changes && cell == last_cell_;
  last_cell_ = cell;
  if (n > most_) thin();
}

void Trail::thin() {
  const size_t n = points_.size();
  // Once a stride spans the trail, only the alert's changes are left to thin.
  if (stride_ <= points_.back().frame - origin_) stride_ *= 2;
  const auto alert = [&](size_t i) { return points_[i].alert; };
  std::vector<TrailPoint> kept;
  kept.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    const bool end = i == 0 || i + 1 == n || alert(i) != alert(i - 1) || alert(i) != alert(i + 1);
    if (end || (points_[i].frame - origin_) % stride_ == 0) kept.push_back(points_[i]);
  }
  if (kept.size() > most_) {
    // An alert that came and went on most frames: every other point, whatever it shows.
    std::vector<TrailPoint> fewer;
    for (size_t i = 0; i < kept.size(); ++i) {
      if (i % 2 == 0 || i + 1 == kept.size()) fewer.push_back(kept[i]);
    }
    kept.swap(fewer);
  }
  points_.swap(kept);
  const size_t last_kept = points_.size() - (tail_ && points_.size() > 1 ? 2 : 1);
  last_cell_ = (points_[last_kept].frame - origin_) / stride_;
}

}  // namespace host::report
