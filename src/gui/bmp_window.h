#pragma once
// The conversion window BmpConversionWindow (BMP-JPG変換): the .bmp files of a
// folder, a preview of the file in hand, the JPEG quality, and the
// conversion through the core with the name and preview repainted as each
// file is done.

#include <QString>
#include <QStringList>
#include <memory>
#include <string>

#include "session/session.h"
#include "tool_window.h"
#include "tools/bmp_to_jpeg.h"
#include "window_dialogs.h"

class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace Ui {
class BmpConversionWindow;
}

namespace pictavo::gui {

class FolderPane;

class BmpConversionWindow : public ToolWindow, public WindowHost<CommandHost>, public ConversionView {
  Q_OBJECT
 public:
  // A folder that cannot be shown falls back to the session's program folder.
  BmpConversionWindow(const Session& session, Dialogs& dialogs, QWidget* parent);
  ~BmpConversionWindow() override;

  // Opened from the main window at its folder; modal, the call returns at once.
  void openAt(const QString& folder);
  const QString& folder() const;

  // CommandHost
  void setStatus(StatusPanel panel, const Message& text) override;
  bool processEvents() override;
  // ConversionView: the name label and the preview, repainted at once; the
  // window's events run after each preview.
  void showFileName(const std::string& name) override;
  void showPreview(const Bitmap& picture, const PreviewBox& box) override;

 public slots:
  // The folder list moves and the file list follows (a folder that cannot
  // be shown: the program's folder).
  void goTo(const QString& folder);
  void convert();  // Button1 変換

 private:
  void fillFileList();
  QStringList selectedNames() const;

  const Session& m_session;
  std::unique_ptr<Ui::BmpConversionWindow> m_form;

  FolderPane* m_folders = nullptr;
  QListWidget* m_file1 = nullptr;
  QLabel* m_label3 = nullptr;
  QLabel* m_image2 = nullptr;
  QSpinBox* m_spinEdit1 = nullptr;
  QLabel* m_status = nullptr;
};

}  // namespace pictavo::gui
