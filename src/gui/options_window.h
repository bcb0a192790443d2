#pragma once
// The options dialog (object name TOption): nine pages over nearly every field of the
// settings record. Filling, the name check and the confirmation are the
// core's form model; this class maps the controls onto it.

#include <QDialog>
#include <memory>
#include <optional>

#include "settings/option_form.h"

class QLineEdit;

namespace Ui {
class OptionsDialog;
}

namespace pictavo::gui {

class Dialogs;
class MainWindow;
class UpDown;

class OptionsDialog : public QDialog {
  Q_OBJECT
 public:
  OptionsDialog(MainWindow& main, Dialogs& dialogs);
  ~OptionsDialog() override;

  // mainini: every control from the record (and the main window's per-row
  // control). Not run when the dialog is merely shown again.
  void mainini();
  void showFirstPage();
  // What the controls hold now.
  OptionForm form() const;

 signals:
  // The record and PCV.ini hold the dialog's values (the rotation window
  // takes its quality from here).
  void confirmed();

 public slots:
  void optOKClick();
  void optCanselClick();

 private:
  // Both walk OptionFields(): every row's control by its designer name.
  void showForm(const OptionForm& form);
  static std::vector<std::string> listItems(const OptionField& field, const OptionForm& form);
  void updateEnabled();
  void showSwatches();
  void chooseColour(int32_t& colour);
  void chooseColour(std::optional<int32_t>& colour, int32_t preset);
  void chooseProgram(QLineEdit* edit);
  void chooseBackground();
  void chooseStartFolder();

  MainWindow& m_main;
  Dialogs& m_dialogs;
  OptionForm m_form;                        // what no control holds by itself: the font list, the colours
  std::unique_ptr<Ui::OptionsDialog> m_ui;  // the controls, from options_window.ui
};

namespace msg {
inline constexpr const char* kChooseFileTitle = "ファイル選択";
}  // namespace msg

}  // namespace pictavo::gui
