#include "host/render/contact_sheet.h"

#include <algorithm>
#include <cmath>

#include "formats/pixel_font.h"

namespace host::render {
namespace {

constexpr Rgb kSheetColour{12, 12, 14};
constexpr Rgb kCaptionColour{210, 210, 200};
constexpr int32_t kGap = 10;
constexpr int32_t kCaptionScale = 2;
constexpr int32_t kCaptionHeight = formats::kCaptionGlyphHeight * kCaptionScale + 6;
constexpr size_t kMaxColumns = 8;

int32_t text_width(const std::string& caption) {
  return static_cast<int32_t>(formats::caption_face().text_width(caption, kCaptionScale));
}

}  // namespace

ContactSheet::ContactSheet(size_t max_pictures, int32_t cell)
    : max_pictures_(std::max<size_t>(max_pictures, 2)), cell_(std::max(cell, 1)) {}

Image ContactSheet::thumbnail(const Image& picture) const {
  if (picture.width() <= cell_ && picture.height() <= cell_) return picture;
  // Shrink the longer side to the cell, the other in proportion.
  const int64_t longer = std::max(picture.width(), picture.height());
  const auto w =
      static_cast<int32_t>(std::max<int64_t>(1, int64_t{picture.width()} * cell_ / longer));
  const auto h =
      static_cast<int32_t>(std::max<int64_t>(1, int64_t{picture.height()} * cell_ / longer));
  return scale_nearest(picture, w, h);
}

void ContactSheet::add(const std::string& caption, const Image& picture) {
  if (picture.empty()) return;
  latest_ = {caption, thumbnail(picture)};
  latest_is_kept_ = added_ % stride_ == 0;
  if (latest_is_kept_) kept_.push_back(latest_);
  ++added_;
  // Full: keep every other one, so the sample stays even over the flight.
  if (kept_.size() >= max_pictures_) {
    std::vector<Entry> halved;
    for (size_t i = 0; i < kept_.size(); i += 2) halved.push_back(std::move(kept_[i]));
    kept_ = std::move(halved);
    stride_ *= 2;
    latest_is_kept_ = latest_is_kept_ && (added_ - 1) % stride_ == 0;
  }
}

std::vector<const ContactSheet::Entry*> ContactSheet::shown() const {
  std::vector<const Entry*> entries;
  for (const Entry& e : kept_) entries.push_back(&e);
  if (added_ > 0 && !latest_is_kept_) entries.push_back(&latest_);
  return entries;
}

std::vector<std::string> ContactSheet::captions() const {
  std::vector<std::string> out;
  for (const Entry* e : shown()) out.push_back(e->caption);
  return out;
}

Image ContactSheet::compose() const {
  const std::vector<const Entry*> entries = shown();
  if (entries.empty()) return Image();

  int32_t cell_w = 1, cell_h = 1;
  for (const Entry* e : entries) {
    cell_w = std::max({cell_w, e->thumbnail.width(), text_width(e->caption)});
    cell_h = std::max(cell_h, e->thumbnail.height());
  }
  const size_t n = entries.size();
  const size_t columns = std::clamp<size_t>(
      static_cast<size_t>(std::ceil(std::sqrt(static_cast<double>(n)))), 1, kMaxColumns);
  const size_t rows = (n + columns - 1) / columns;
  const int32_t pitch_x = cell_w + kGap;
  const int32_t pitch_y = cell_h + kCaptionHeight + kGap;
  Image sheet(static_cast<int32_t>(columns) * pitch_x + kGap,
              static_cast<int32_t>(rows) * pitch_y + kGap, kSheetColour);
  for (size_t i = 0; i < n; ++i) {
    const Entry& e = *entries[i];
    const int32_t left = kGap + static_cast<int32_t>(i % columns) * pitch_x;
    const int32_t top = kGap + static_cast<int32_t>(i / columns) * pitch_y;
    draw_image(sheet, e.thumbnail, left + (cell_w - e.thumbnail.width()) / 2,
               top + (cell_h - e.thumbnail.height()) / 2);
    formats::draw_text(sheet, formats::caption_face(), left + (cell_w - text_width(e.caption)) / 2,
                       top + cell_h + 4, e.caption, kCaptionColour, kCaptionScale);
  }
  return sheet;
}

}  // namespace host::render
