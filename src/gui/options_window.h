#pragma once
// The options dialog TOption: nine pages over nearly every field of the
// settings record. Filling, the name check and the confirmation are the
// core's form model; this class maps the controls onto it.

#include <QDialog>
#include <optional>

#include "settings/option_form.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace pictavo::gui {

class Dialogs;
class TMain;
class UpDown;

class TOption : public QDialog {
  Q_OBJECT
 public:
  TOption(TMain& main, Dialogs& dialogs);

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
  void build();
  QWidget* basicPage();
  QWidget* pagePage();
  QWidget* titlePage();
  QWidget* thumbnailPage();
  QWidget* namesPage();
  QWidget* headerFooterPage();
  QWidget* programsPage();
  QWidget* slideShowPage();
  QWidget* rotationPage();
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

  TMain& m_main;
  Dialogs& m_dialogs;
  OptionForm m_form;  // what no control holds by itself: the font list, the colours

  QTabWidget* m_pages = nullptr;
  QPushButton* m_ok = nullptr;
  QPushButton* m_cancel = nullptr;
  // 基本設定
  QLineEdit* m_edit1 = nullptr;
  QCheckBox* m_checkBox2 = nullptr;
  QCheckBox* m_autoinibox = nullptr;
  // ページ設定
  QSpinBox* m_linenumspin = nullptr;
  QSpinBox* m_tablewidthbox = nullptr;
  QFrame* m_panel2 = nullptr;
  QFrame* m_panel5 = nullptr;
  QCheckBox* m_check3 = nullptr;
  QLineEdit* m_edit2 = nullptr;
  QPushButton* m_button5 = nullptr;
  // タイトル設定
  QComboBox* m_combo1 = nullptr;
  QFrame* m_panel3 = nullptr;
  QCheckBox* m_checkBox3 = nullptr;
  QCheckBox* m_checkBox4 = nullptr;
  QCheckBox* m_fontsetbox = nullptr;
  QComboBox* m_combo2 = nullptr;
  QCheckBox* m_ttableBox = nullptr;
  QComboBox* m_combo3 = nullptr;
  QFrame* m_panel4 = nullptr;
  QPushButton* m_button7 = nullptr;
  QSpinBox* m_spinEdit5 = nullptr;
  // ｻﾑﾈｲﾙ画像
  QSpinBox* m_spinEdit1 = nullptr;
  QSpinBox* m_spinEdit2 = nullptr;
  QSpinBox* m_spinEdit4 = nullptr;
  QCheckBox* m_check5 = nullptr;
  QCheckBox* m_check6 = nullptr;
  QCheckBox* m_checkfilter = nullptr;
  QCheckBox* m_sFilebox = nullptr;
  QCheckBox* m_picFrameBox = nullptr;
  QCheckBox* m_fileclearbox = nullptr;
  // 作成ﾌｧｲﾙ名
  QLineEdit* m_htmlfilebox = nullptr;
  QLineEdit* m_htmlfoldabox = nullptr;
  QLineEdit* m_sHeaderbox = nullptr;
  // ﾍｯﾀﾞｰ/ﾌｯﾀｰ
  QCheckBox* m_headerBox = nullptr;
  QLineEdit* m_headertext = nullptr;
  QCheckBox* m_footerbox = nullptr;
  QLineEdit* m_footertext = nullptr;
  QCheckBox* m_footerlinkbox = nullptr;
  QLineEdit* m_footerlink = nullptr;
  // 外部ソフト
  QLineEdit* m_edit3 = nullptr;
  QLineEdit* m_edit6 = nullptr;
  QCheckBox* m_browserbox = nullptr;
  // スライドショウ
  QCheckBox* m_check7 = nullptr;
  QSpinBox* m_spinEdit3 = nullptr;
  QCheckBox* m_sMaxcheck = nullptr;
  QSpinBox* m_spinSX = nullptr;
  QSpinBox* m_spinSY = nullptr;
  // 画像回転
  QLineEdit* m_edit7 = nullptr;
  UpDown* m_upDown1 = nullptr;
  QCheckBox* m_checkBox1 = nullptr;
};

namespace msg {
inline constexpr const char* kChooseFileTitle = "ファイル選択";
}  // namespace msg

}  // namespace pictavo::gui
