#pragma once
// The up-down control: two arrow buttons (UpDown1Up, UpDown1Down) over a
// value kept in its range, 1 to 10 unless set.

#include <QWidget>

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
  int m_lowest = 1;
  int m_highest = 10;
};

}  // namespace pictavo::gui
