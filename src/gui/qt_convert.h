#pragma once
// Conversions between the core's values and Qt's, shared by the windows.

#include <QColor>
#include <QImage>
#include <QString>
#include <cstdint>
#include <string>

#include "image/bitmap.h"

namespace pictavo::gui {

inline QString Q(const std::string& s) { return QString::fromStdString(s); }
inline std::string S(const QString& s) { return s.toStdString(); }

// A window colour 0x00BBGGRR and Qt's colour.
inline QColor FromColorRef(int32_t c) { return QColor(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff); }
inline int32_t ToColorRef(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }

// A deep copy of any picture as 24-bit colour.
inline QImage ToQImage(const Bitmap& picture) {
  const Bitmap rgb = picture.bitsPerPixel == 24 ? Bitmap() : ToRgb24(picture);
  const Bitmap& p = picture.bitsPerPixel == 24 ? picture : rgb;
  if (p.empty()) return {};
  return QImage(p.data.data(), p.width, p.height, static_cast<qsizetype>(p.stride), QImage::Format_RGB888).copy();
}

}  // namespace pictavo::gui
