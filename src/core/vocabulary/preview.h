#pragma once
// The sizes and places of previews that several windows share: no rule, only
// the values the rules hand over.

namespace pictavo {

// Place and size of a picture tool's preview box inside its panel.
struct PreviewBox {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// A picture's size fitted into a preview box.
struct PreviewSize {
  int width = 0;
  int height = 0;
};

}  // namespace pictavo
