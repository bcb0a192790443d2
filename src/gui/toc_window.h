#pragma once
// The table-of-contents window Tmokuji (目次作成): the folder whose albums
// it links, the page's options, Execute through the core, and the batch
// window under its file menu. Its options live for the program's run.

#include <QDialog>
#include <QString>
#include <string>

#include "toc/toc_page.h"
#include "window_dialogs.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace pictavo::gui {

class FolderPane;
class TMain;
class Tautorunform;
class TPublish;

class Tmokuji : public QDialog, public WindowHost<TocHost> {
  Q_OBJECT
 public:
  Tmokuji(TMain& main, Dialogs& dialogs);
  ~Tmokuji() override;

  // Opened from the main window: the folder list goes to `folder`; the
  // title is reset only when that is another folder than the one shown.
  // The window is modal and the call returns at once.
  void openAt(const QString& folder);
  // The options as the controls hold them.
  TocOptions options() const;
  const QString& folder() const;
  Tautorunform* batchWindow() { return m_batch; }
  TPublish* publishWindow() { return m_publish; }

  // TocHost
  void setStatus(StatusPanel panel, const Message& text) override;
  bool processEvents() override;
  void showTocProgress(const std::string& text) override;

 public slots:
  // The folder list moves (a folder that cannot be shown: the home folder).
  void goTo(const QString& folder);
  void execute();                  // Button1 実行
  void openBatch();                // ﾌｧｲﾙ → 連続アルバム作成 (N2)
  void openPublish();              // ﾌｧｲﾙ → 公開用コピーの作成 (PublishItem)
  void chooseBackgroundColour();   // Button3
  void chooseBackgroundPicture();  // Button4
  void setFrameTitleSize(int size);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildControls();
  void showBackgroundColour();
  void setBusy(bool busy);

  TMain& m_main;
  Tautorunform* m_batch = nullptr;
  TPublish* m_publish = nullptr;
  bool m_busy = false;
  int m_frameTitleSize = 3;
  int32_t m_backgroundColour = TocOptions{}.tocBackgroundColor;

  FolderPane* m_folders = nullptr;
  QLineEdit* m_title = nullptr;
  QCheckBox* m_frameCheck = nullptr;
  QLineEdit* m_edit5 = nullptr;
  QWidget* m_upDown1 = nullptr;
  QCheckBox* m_check2 = nullptr;
  QLabel* m_panel2 = nullptr;
  QPushButton* m_button3 = nullptr;
  QCheckBox* m_check3 = nullptr;
  QLineEdit* m_edit2 = nullptr;
  QPushButton* m_button4 = nullptr;
  QPushButton* m_button1 = nullptr;
  QPushButton* m_button2 = nullptr;
  QLabel* m_label2 = nullptr;
};

}  // namespace pictavo::gui
