#include "host/envelope/label_font.h"

#include <string>

#include "formats/pixel_font.h"

namespace host::envelope {
namespace {

std::string capitals(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

}  // namespace

int32_t label_width(std::string_view text, int32_t scale) {
  return static_cast<int32_t>(formats::caption_face().text_width(text, scale));
}

int32_t label_height(int32_t scale) {
  return formats::kCaptionGlyphHeight * scale;
}

void draw_label(render::Image& target, int32_t x, int32_t y, std::string_view text,
                render::Rgb colour, int32_t scale) {
  formats::draw_text(target, formats::caption_face(), x, y, capitals(text), colour, scale);
}

void draw_label_upwards(render::Image& target, int32_t x, int32_t y, std::string_view text,
                        render::Rgb colour, int32_t scale) {
  formats::draw_text_upwards(target, formats::caption_face(), x, y, capitals(text), colour, scale);
}

}  // namespace host::envelope
