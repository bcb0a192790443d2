#pragma once
// A spin box that lets a number beyond its range be typed and then takes
// the nearest value in range, instead of refusing the keystroke that went
// past it (typing 150 into 70..100 gives 100, not the 15 typed so far).

#include <QSpinBox>

#include <algorithm>
#include <optional>

namespace pictavo::gui {

class NearestSpinBox : public QSpinBox {
 public:
  explicit NearestSpinBox(QWidget* parent = nullptr) : QSpinBox(parent) {
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  }

 protected:
  QValidator::State validate(QString& input, int& pos) const override {
    const QValidator::State state = QSpinBox::validate(input, pos);
    if (state != QValidator::Invalid) return state;
    return Number(input) ? QValidator::Intermediate : state;
  }
  void fixup(QString& input) const override {
    if (const auto n = Number(input)) input = QString::number(std::clamp<qlonglong>(*n, minimum(), maximum()));
  }

 private:
  // Digits alone, with a sign, and few enough to be a number.
  static std::optional<qlonglong> Number(const QString& input) {
    const QString t = input.trimmed();
    if (t.isEmpty() || t.size() > 12) return std::nullopt;
    bool ok = false;
    const qlonglong v = t.toLongLong(&ok);
    return ok ? std::optional<qlonglong>(v) : std::nullopt;
  }
};

}  // namespace pictavo::gui
