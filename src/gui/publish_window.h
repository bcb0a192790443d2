#pragma once
// The publish window (公開用コピーの作成), opened from the table-of-contents
// window's file menu: a copy of the site shown there, for uploading, into a
// destination folder, with the largest picture size, the quality and the
// location switch (kept in the program folder's publish.txt), a progress
// bar with 中止, and a message with what was written.

#include <QString>
#include <memory>
#include <string>

#include "publish/publish.h"
#include "tool_window.h"
#include "window_dialogs.h"

class QCheckBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace Ui {
class PublishWindow;
}

namespace pictavo::gui {

class PublishWindow : public ToolWindow, public PublishHost {
  Q_OBJECT
 public:
  PublishWindow(QWidget* parent, Dialogs& dialogs, std::string programFolder);
  ~PublishWindow() override;

  // Opens on the site folder; the settings are read again from the program folder.
  void openFor(const QString& site);
  const QString& site() const { return m_site; }

  // PublishHost
  bool stopRequested() override;
  void progress(size_t done, size_t total, const std::string& path) override;

 public slots:
  void chooseDestination();  // DestButton 参照
  void execute();            // PublishButton 作成
  void abort();              // AbortButton 中止

 private:
  void setBusy(bool busy);

  WindowDialogs m_ui;
  std::string m_programFolder;
  std::unique_ptr<Ui::PublishWindow> m_form;
  QString m_site;
  bool m_abort = false;
  QLineEdit* m_dest = nullptr;
  QSpinBox* m_maxSize = nullptr;
  QSpinBox* m_quality = nullptr;
  QCheckBox* m_keepLocation = nullptr;
  QProgressBar* m_progress = nullptr;
  QPushButton* m_abortButton = nullptr;
};

}  // namespace pictavo::gui
