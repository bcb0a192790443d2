#pragma once
// One picture of a published site: the size it is published at and its
// bytes. A picture larger than the box is decoded at the smallest DCT scale
// that still covers the new size, reduced by area averaging, turned upright
// and encoded with its metadata (orientation set to 1); a picture that fits
// keeps its pixels and bytes, with only the location taken out.

#include <string>

#include "image/bitmap.h"
#include "platform/error.h"

namespace pictavo {

struct PublishedSize {
  bool reduce = false;  // false: published as it is
  int width = 0;        // upright
  int height = 0;
};

// The size a w x h picture (upright) is published at to fit max x max. When
// a slide show gives it a size (shownWidth, shownHeight; 0 when none) that
// the reduced copy would not cover, the copy keeps that size instead, so
// the slide show still shows it as the page says.
PublishedSize PublishedSizeFor(int width, int height, int max, long long shownWidth, long long shownHeight);

// Area averaging of an 8- or 24-bit picture to width x height (either way,
// though only reduction is asked for here); the picture's palette is kept.
Bitmap AreaResize(const Bitmap& src, int width, int height);

// The picture's published size from its header (upright, as the pages
// measure it); ReadJpegInfo's failure when the header cannot be read.
Status PlanPublishedPicture(const std::string& source, int max, long long shownWidth, long long shownHeight,
                            PublishedSize& size);

// The picture reduced to `size`, upright: decoded row by row at the smallest
// DCT scale whose result still covers it (a progressive file through the
// row-by-row rewrite), each row area averaged as it arrives, then turned.
// Holds the result and a few rows, never a whole decode or its coefficients;
// the pixels are those of AreaResize over DecodeJpegFileToCover, turned.
Status ReducePublishedPicture(const std::string& source, const PublishedSize& size, Bitmap& picture);

// The reduced picture's JPEG bytes: ReducePublishedPicture, encoded at
// `quality` with the source's EXIF (orientation 1), XMP, ICC, IPTC and
// comments, the location removed unless `keepLocation`.
Status EncodePublishedPicture(const std::string& source, const PublishedSize& size, int quality, bool keepLocation,
                              std::string& bytes);

}  // namespace pictavo
