#pragma once
// One entry of the picture list: a file name without folder and its selection.

#include <string>

namespace pictavo {

struct PictureEntry {
  std::string name;
  bool selected = true;
};

}  // namespace pictavo
