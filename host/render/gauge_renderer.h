#pragma once
// Draws a placed gauge as the simulator's panel would: its element chain in
// order, each over the ones before, on a canvas the size of its first
// element's picture.
#include "host/gauge_instance.h"
#include "host/render/bitmap_library.h"
#include "host/render/image.h"

namespace host::render {

// What shows where a gauge draws nothing: the dark panel.
inline constexpr Rgb kPanelColour{26, 28, 32};

// The picture of the gauge's first element, which gives the gauge its size.
const Image& gauge_background(const GaugeInstance& gauge, BitmapLibrary& bitmaps);

// Hidden elements are skipped; pure black is transparent in pictures that
// ask for it; static images and icons sit at their position; a needle turns
// about its position towards its table's point for the value its callback
// last returned (unturned with no table or no value yet). Throws HostError
// for a gauge without elements, a missing picture or an absurd table.
Image render_gauge(const GaugeInstance& gauge, BitmapLibrary& bitmaps, Rgb backdrop = kPanelColour);

}  // namespace host::render
