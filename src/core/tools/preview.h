#pragma once
// Place and size of a picture tool's preview box inside its panel.

namespace pictavo {

struct PreviewBox {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

}  // namespace pictavo
