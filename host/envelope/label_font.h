#pragma once
// Lettering for the envelope map's axes and legend: the format library's
// 3 x 5 caption face, lower case drawn as capitals.
#include <cstdint>
#include <string_view>

#include "host/render/image.h"

namespace host::envelope {

// Unknown characters leave a space.
void draw_label(render::Image& target, int32_t x, int32_t y, std::string_view text,
                render::Rgb colour, int32_t scale);
int32_t label_width(std::string_view text, int32_t scale);
int32_t label_height(int32_t scale);

// Text turned a quarter left (reading upwards), its left end at the bottom
// of the box whose top-left corner is (x, y).
void draw_label_upwards(render::Image& target, int32_t x, int32_t y, std::string_view text,
                        render::Rgb colour, int32_t scale);

}  // namespace host::envelope
