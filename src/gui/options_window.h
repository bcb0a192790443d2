#pragma once
// The options dialog (object name TOption): nine pages over nearly every field of the
// settings record. Filling, the name check and the confirmation are the
// core's form model; this class maps the controls onto it.

#include <QDialog>
#include <QPoint>
#include <memory>
#include <optional>

#include "session/session.h"
#include "settings/option_form.h"

class QLineEdit;

namespace Ui {
class OptionsDialog;
}

namespace pictavo::gui {

class Dialogs;
class UpDown;

// What the options dialog asks of the window that owns it: the session, its
// per-row control (which the dialog shows and sets) and where it stands, for
// "start at this position".
class OptionsOwner {
 public:
  virtual Session& session() = 0;
  virtual int picturesPerRowControl() const = 0;
  virtual void setPicturesPerRow(int16_t count) = 0;
  // Where the window stands now, and where it stood at start.
  virtual QPoint windowPosition() const = 0;
  virtual QPoint startPosition() const = 0;
  // The dialog's parent.
  virtual QWidget* widget() = 0;

 protected:
  ~OptionsOwner() = default;
};

class OptionsDialog : public QDialog {
  Q_OBJECT
 public:
  OptionsDialog(OptionsOwner& owner, Dialogs& dialogs);
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

  OptionsOwner& m_main;
  Dialogs& m_dialogs;
  OptionForm m_form;                        // what no control holds by itself: the font list, the colours
  std::unique_ptr<Ui::OptionsDialog> m_ui;  // the controls, from options_window.ui
};

namespace msg {
inline constexpr const char* kChooseFileTitle = QT_TRANSLATE_NOOP("pictavo::gui::OptionsDialog", "ファイル選択");
}  // namespace msg

}  // namespace pictavo::gui
