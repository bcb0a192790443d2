#pragma once
// The table-of-contents window TableOfContentsWindow (目次作成): the folder whose albums
// it links, the page's options, Execute through the core, and the batch
// window under its file menu. Its options live for the program's run.

#include <QString>
#include <memory>
#include <string>

#include "album_window.h"
#include "session/session.h"
#include "toc/toc_page.h"
#include "tool_window.h"
#include "up_down.h"
#include "window_dialogs.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Ui {
class TableOfContentsWindow;
}

namespace pictavo::gui {

class FolderPane;
class BatchWindow;
class PublishWindow;

class TableOfContentsWindow : public ToolWindow, public WindowHost<TocHost> {
  Q_OBJECT
 public:
  // The batch under its file menu moves `main` through the folders.
  TableOfContentsWindow(Session& session, AlbumWindow& main, Dialogs& dialogs);
  ~TableOfContentsWindow() override;

  // Opened from the main window: the folder list goes to `folder`; the
  // title is reset only when that is another folder than the one shown.
  // The window is modal and the call returns at once.
  void openAt(const QString& folder);
  // The options as the controls hold them.
  TocOptions options() const;
  const QString& folder() const;
  BatchWindow* batchWindow() { return m_batch; }
  PublishWindow* publishWindow() { return m_publish; }

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
  bool keepOpen() const override;

 private:
  void showBackgroundColour();

  Session& m_session;
  AlbumWindow& m_main;
  std::unique_ptr<Ui::TableOfContentsWindow> m_form;
  BatchWindow* m_batch = nullptr;
  PublishWindow* m_publish = nullptr;
  int m_frameTitleSize = 3;
  int32_t m_backgroundColour = TocOptions{}.tocBackgroundColor;

  FolderPane* m_folders = nullptr;
  QLineEdit* m_title = nullptr;
  QCheckBox* m_frameCheck = nullptr;
  QLineEdit* m_edit5 = nullptr;
  UpDown* m_upDown1 = nullptr;
  QCheckBox* m_check2 = nullptr;
  QLabel* m_panel2 = nullptr;
  QCheckBox* m_check3 = nullptr;
  QLineEdit* m_edit2 = nullptr;
  QPushButton* m_button4 = nullptr;
  QLabel* m_label2 = nullptr;
};

}  // namespace pictavo::gui
