#pragma once
// The settings check view Tsetview (設定確認): the current folder and the
// nine fields that decide where and how a run writes, editable in place.
// 更新 changes the record only; no settings file is written.

#include <QDialog>

#include "settings/option_form.h"

class QComboBox;
class QLineEdit;

namespace pictavo::gui {

class MainWindow;

class Tsetview : public QDialog {
  Q_OBJECT
 public:
  explicit Tsetview(MainWindow& main);

  // The rows from the record and the current folder; run at every opening.
  void fill();

 public slots:
  void Button1Click();  // OK: close, nothing written
  void Button2Click();  // 更新: the rows into the record, then close

 private:
  CheckViewRows rows() const;

  MainWindow& m_main;
  QLineEdit* m_edit[4] = {};  // Edit1 to Edit4
  QLineEdit* m_edit8 = nullptr;
  QLineEdit* m_edit9 = nullptr;
  QComboBox* m_combo[4] = {};  // ComboBox1 to ComboBox4
};

}  // namespace pictavo::gui
