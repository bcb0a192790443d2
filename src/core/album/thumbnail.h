#pragma once
// Thumbnail pixels: the plain stretch of the normal path and the reducing
// filter with its sharpening pass. Pure functions on decoded pictures.

#include "image/bitmap.h"

namespace pictavo {

// Stretches without averaging: destination pixel (dx, dy) of the W x H result
// takes source pixel (floor((2dx+1)S / 2W), floor((2dy+1)T / 2H)). Keeps the
// source's pixel format (8-bit grey stays grey).
Bitmap StretchSample(const Bitmap& src, int width, int height);

// Area-averaging reduction of a 24-bit picture larger than the tw x th box:
// each thumbnail pixel is the truncated mean of the block it covers; the
// result is Trunc(w*s) x Trunc(h*s). Pixels of the cut that no full block
// covers keep the picture's own pixel at that place, as the in-place
// reduction leaves them.
Bitmap FilterReduce(const Bitmap& rgb, int tw, int th);

// The 3 x 3 sharpening pass (centre 1.8, neighbours -0.1) on a 24-bit
// picture; the border keeps its values; pictures under 3 x 3 are unchanged.
Bitmap Sharpen(const Bitmap& rgb);

// The filter's whole effect: reduce, then sharpen when ratio >= 3 and the box
// is larger than 3 x 3. Greyscale pictures are made 24-bit first.
Bitmap FilterThumbnail(const Bitmap& picture, int tw, int th, long double ratio);

// Scale factor of the filter: th/h when h/th >= w/tw, else tw/w.
double FilterScale(int w, int h, int tw, int th);

}  // namespace pictavo
