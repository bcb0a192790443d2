#include "qt_picture.h"

namespace pictavo::gui {

QImage ToQImage(const Bitmap& picture) {
  const Bitmap rgb = picture.bitsPerPixel == 24 ? Bitmap() : ToRgb24(picture);
  const Bitmap& p = picture.bitsPerPixel == 24 ? picture : rgb;
  if (p.empty()) return {};
  return QImage(p.data.data(), p.width, p.height, static_cast<qsizetype>(p.stride), QImage::Format_RGB888).copy();
}

}  // namespace pictavo::gui
