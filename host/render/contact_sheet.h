#pragma once
// Many panel pictures on one sheet: small copies tiled in a grid, each with
// its caption underneath. A long flight keeps an even sample of its
// pictures, always with the first and the latest.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/render/image.h"

namespace host::render {

class ContactSheet {
 public:
  // At most `max_pictures` (at least 2) on the sheet, each shrunk to fit a
  // `cell` x `cell` square; smaller pictures keep their size.
  explicit ContactSheet(size_t max_pictures = 48, int32_t cell = 240);

  void add(const std::string& caption, const Image& picture);
  // The captions of the pictures the sheet shows now, in order.
  std::vector<std::string> captions() const;
  // Empty when nothing was added.
  Image compose() const;

 private:
  struct Entry {
    std::string caption;
    Image thumbnail;
  };
  Image thumbnail(const Image& picture) const;
  std::vector<const Entry*> shown() const;

  size_t max_pictures_;
  int32_t cell_;
  std::vector<Entry> kept_;  // every stride-th picture
  Entry latest_;
  bool latest_is_kept_ = false;
  size_t added_ = 0;
  size_t stride_ = 1;
};

}  // namespace host::render
