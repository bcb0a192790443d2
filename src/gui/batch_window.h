#pragma once
// The batch window Tautorunform (連続ファイル作成): an album in every
// sub-folder that holds pictures, made by the main window as a user would
// make it, then the table of contents of Tmokuji over them.

#include <QDialog>
#include <string>
#include <vector>

#include "batch/batch_run.h"
#include "window_dialogs.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace pictavo::gui {

class TMain;
class Tmokuji;

// The main window as the batch drives it: its folder list moves, its
// picture list refills, its Execute runs.
class MainWindowDriver : public AlbumDriver {
 public:
  explicit MainWindowDriver(TMain& main) : m_main(main) {}
  void moveToFolder(const std::string& folder) override;
  // Empty when the window could not show the folder (it went to the home
  // folder instead): nothing there belongs to the run.
  const std::vector<PictureEntry>& listPictures() override;
  void deselect(const std::string& name) override;
  RunOutcome runAlbum() override;

 private:
  bool onWantedFolder() const;

  TMain& m_main;
  std::string m_wanted;
  const std::vector<PictureEntry> m_none;
};

class Tautorunform : public QDialog, public WindowHost<BatchHost> {
  Q_OBJECT
 public:
  Tautorunform(TMain& main, Tmokuji& toc, Dialogs& dialogs);

  // Shows the window (modal; the call returns at once) for `targetCount` folders.
  void openFor(int targetCount);
  bool running() const { return m_running; }

  // BatchHost
  void setStatus(StatusPanel panel, const Message& text) override;
  // Lets events run; true once 中止 has been pressed in this run, also when
  // the press was handled inside an album run's own event pump.
  bool processEvents() override;
  void showTocProgress(const std::string& text) override;
  void beginBatch() override;
  void showBatchFolder(const std::string& folderName) override;
  void showBatchProgress(const std::string& text) override;
  void stepBatchProgress() override;
  void beforeTableOfContents() override;
  void endBatch() override;

 public slots:
  void run();    // Button1 実行
  void abort();  // Button2 中止
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  TMain& m_main;
  Tmokuji& m_toc;
  bool m_running = false;
  bool m_abort = false;

  QLineEdit* m_edit2 = nullptr;
  QPushButton* m_button1 = nullptr;
  QPushButton* m_button2 = nullptr;
  QLabel* m_label1 = nullptr;
  QLineEdit* m_edit1 = nullptr;
  QToolButton* m_speedButton1 = nullptr;
  QProgressBar* m_progressBar1 = nullptr;
  QLabel* m_panel3 = nullptr;
};

}  // namespace pictavo::gui
