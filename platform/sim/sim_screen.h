#pragma once

#include "platform/forms/view.h"
#include "platform/types.h"

namespace pw::sim {

// The simulated screen: its size, its density and the frame the window system puts round a
// captioned window. Every measure the simulation gives in pixels, twips or dots derives from it.
struct SimScreen {
  int width = 1024;  // pixels
  int height = 768;
  int dpi = 96;  // dots per inch, both ways
  // The frame at 96 dots per inch, in pixels; the window system scales it to the density.
  int border = 3;
  int caption = 19;
  int menuBar = 19;

  // A length in pixels at 96 dots per inch, at this density, rounded as the system rounds.
  int Scaled(int pixelsAt96) const {
    return forms::TwipsToPixels(pixelsAt96 * (forms::kTwipsPerInch / 96), dpi);
  }
  // How much wider and taller a window is than its client area.
  Point Frame(bool captioned, bool withMenu) const {
    if (!captioned) return {0, 0};
    const int side = Scaled(border);
    return {2 * side, Scaled(border + caption) + side + (withMenu ? Scaled(menuBar) : 0)};
  }
  // Where the client area starts inside the window's outer rectangle.
  Point ClientOffset(bool captioned, bool withMenu) const {
    const Point frame = Frame(captioned, withMenu);
    return {frame.x / 2, frame.y - frame.x / 2};
  }
  forms::ScreenInfo Info() const { return {width, height, dpi, dpi}; }
};

}  // namespace pw::sim
