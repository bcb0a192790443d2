#pragma once
// The core's pictures as Qt images for the windows' previews.

#include <QImage>

#include "image/bitmap.h"

namespace pictavo::gui {

// A 24-bit copy for drawing; palette pictures go through their colour table.
QImage ToQImage(const Bitmap& picture);

}  // namespace pictavo::gui
