#pragma once
// The conversion window TBMPtoJPEG (BMP-JPG変換): the .bmp files of a
// folder, a preview of the file in hand, the JPEG quality, and the
// conversion through the core with the name and preview repainted as each
// file is done.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <string>

#include "tools/bmp_to_jpeg.h"
#include "window_dialogs.h"

class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace pictavo::gui {

class FolderPane;
class TMain;

class TBMPtoJPEG : public QDialog, public WindowHost<CommandHost>, public ConversionView {
  Q_OBJECT
 public:
  TBMPtoJPEG(TMain& main, Dialogs& dialogs);

  // Opened from the main window at its folder; modal, the call returns at once.
  void openAt(const QString& folder);
  const QString& folder() const;
  bool busy() const { return m_busy; }

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

 protected:
  void closeEvent(QCloseEvent* event) override;

 public slots:
  void reject() override;

 private:
  void fillFileList();
  QStringList selectedNames() const;
  void setBusy(bool busy);

  TMain& m_main;
  bool m_busy = false;

  FolderPane* m_folders = nullptr;
  QListWidget* m_file1 = nullptr;
  QLabel* m_label3 = nullptr;
  QWidget* m_panel1 = nullptr;
  QLabel* m_image2 = nullptr;
  QSpinBox* m_spinEdit1 = nullptr;
  QPushButton* m_button1 = nullptr;
  QPushButton* m_button2 = nullptr;
  QLabel* m_status = nullptr;
};

}  // namespace pictavo::gui
