#pragma once
// The up-down control: two arrow buttons (UpDown1Up, UpDown1Down) over a
// value kept in its range, the per-row range unless set.

#include <QWidget>

#include "settings/album_settings.h"

namespace pictavo::gui {

class UpDown : public QWidget {
  Q_OBJECT
 public:
  explicit UpDown(QWidget* parent = nullptr);
  int value() const { return m_value; }
  void setValue(int value);
  void setRange(int lowest, int highest);
 signals:
  void valueChanged(int value);

 private:
  int m_value = 5;
  int m_lowest = kMinPicturesPerRow;
  int m_highest = kMaxPicturesPerRow;
};

}  // namespace pictavo::gui
