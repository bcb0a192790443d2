#pragma once
// The batch window BatchWindow (連続ファイル作成): an album in every
// sub-folder that holds pictures, made by the main window as a user would
// make it, then the table of contents of TableOfContentsWindow over them.

#include <memory>
#include <string>
#include <vector>

#include "album_window.h"
#include "batch/batch_run.h"
#include "session/session.h"
#include "tool_window.h"
#include "window_dialogs.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace Ui {
class BatchWindow;
}

namespace pictavo::gui {

class TableOfContentsWindow;

// The main window as the batch drives it: its folder list moves, its
// picture list refills, its Execute runs.
class MainWindowDriver : public AlbumDriver {
 public:
  MainWindowDriver(AlbumWindow& main, Session& session) : m_main(main), m_session(session) {}
  void moveToFolder(const std::string& folder) override;
  // Empty when the window could not show the folder (it went to the home
  // folder instead): nothing there belongs to the run.
  const std::vector<PictureEntry>& listPictures() override;
  void deselect(const std::string& name) override;
  RunOutcome runAlbum() override;

 private:
  bool onWantedFolder() const;

  AlbumWindow& m_main;
  Session& m_session;
  std::string m_wanted;
  const std::vector<PictureEntry> m_none;
};

class BatchWindow : public ToolWindow, public WindowHost<BatchHost> {
  Q_OBJECT
 public:
  BatchWindow(Session& session, AlbumWindow& main, TableOfContentsWindow& toc, Dialogs& dialogs);
  ~BatchWindow() override;

  // Shows the window (modal; the call returns at once) for `targetCount` folders.
  void openFor(int targetCount);
  bool running() const { return busy(); }

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

 private:
  Session& m_session;
  AlbumWindow& m_main;
  TableOfContentsWindow& m_toc;
  std::unique_ptr<Ui::BatchWindow> m_form;
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
