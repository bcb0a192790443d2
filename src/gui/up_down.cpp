#include "up_down.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace pictavo::gui {

UpDown::UpDown(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* up = new QToolButton(this);
  auto* down = new QToolButton(this);
  up->setArrowType(Qt::UpArrow);
  down->setArrowType(Qt::DownArrow);
  up->setObjectName(QStringLiteral("UpDown1Up"));
  down->setObjectName(QStringLiteral("UpDown1Down"));
  // Arrows without a caption: a screen reader says what they do.
  up->setAccessibleName(tr("値を増やす"));
  down->setAccessibleName(tr("値を減らす"));
  for (auto* b : {up, down}) {
    b->setFixedSize(16, 11);
    layout->addWidget(b);
  }
  connect(up, &QToolButton::clicked, this, [this] { setValue(m_value + 1); });
  connect(down, &QToolButton::clicked, this, [this] { setValue(m_value - 1); });
}

void UpDown::setRange(int lowest, int highest) {
  m_lowest = lowest;
  m_highest = highest;
  setValue(m_value);
}

void UpDown::setValue(int value) {
  value = std::clamp(value, m_lowest, m_highest);
  if (value == m_value) return;
  m_value = value;
  emit valueChanged(value);
}

}  // namespace pictavo::gui
