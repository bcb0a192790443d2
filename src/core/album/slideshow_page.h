#pragma once
// The slide-show page SShow.htm: head, three lines per picture, tail.

#include <string>
#include <vector>

#include "settings/album_settings.h"

namespace pictavo {

struct SlideSize {
  long long width;
  long long height;
};

// The displayed size of a w x h picture under the optional size limit.
// maxX and maxY are the parsed slideShowMaxX / slideShowMaxY.
SlideSize SlideShowDisplaySize(bool limit, int w, int h, int maxX, int maxY);

std::vector<std::string> SlideShowHead(const AlbumSettings& s, const std::string& version, const std::string& title,
                                       long long selectedCount);
std::vector<std::string> SlideShowEntry(long long n, const std::string& name, const SlideSize& size);
// widest/tallest: the largest full-size width and height handled; with the
// limit they are lowered to maxX/maxY first.
std::vector<std::string> SlideShowTail(const std::string& backgroundHtml, long long processed, bool limit,
                                       long long widest, long long tallest, int maxX, int maxY);

}  // namespace pictavo
