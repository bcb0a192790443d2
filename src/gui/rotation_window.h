#pragma once
// The rotation window RotationWindow: a view over RotationWalk. Its buttons, the
// caption of Button4, the counter and the 200-box preview come from the
// walk's state; the window is the walk's host for messages and questions.

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "vocabulary/picture_entry.h"
#include "dialogs.h"
#include "platform/command_host.h"
#include "settings/album_settings.h"
#include "tools/rotation.h"
#include "up_down.h"
#include "window_dialogs.h"

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace Ui {
class RotationWindow;
}

namespace pictavo::gui {


class RotationWindow : public QDialog, public ToolWindowHost {
  Q_OBJECT
 public:
  // The quality starts at the settings' rotationQuality; Save reads
  // rotationBackup from `settings` when it runs.
  RotationWindow(Dialogs& dialogs, const AlbumSettings& settings, QWidget* parent = nullptr);
  ~RotationWindow() override;

  // Set the walk up without showing the window: list mode over the main
  // window's list (non-".jpg" selections are deselected in it), or one
  // picture of the comment editor. False after "ファイルが選択されていません。".
  bool openList(const std::string& folder, std::vector<PictureEntry>& list);
  bool openSingle(const std::string& folder, const std::vector<std::string>& selectedNames);

  const RotationWalk& walk() const { return m_walk; }
  int quality() const { return m_walk.quality; }

  // The window's own status bar.
  void setStatus(StatusPanel panel, const Message& text) override;

 public slots:
  // The options dialog's confirmed rotationQuality, brought into 50 to 100.
  void setQuality(int quality);
  void rotateRight();
  void rotateLeft();
  void next();
  void back();
  void save();
  void finish();
  void reject() override;

 private:
  void showWalk();

  RotationWalk m_walk;
  std::unique_ptr<Ui::RotationWindow> m_form;
  QLineEdit* m_edit1 = nullptr;
  QPushButton* m_button[7] = {};  // Button1 .. Button6 at their numbers
  UpDown* m_upDown1 = nullptr;
  QWidget* m_panel = nullptr;
  QLabel* m_image2 = nullptr;
  QMenu* m_popup1 = nullptr;
  std::vector<QLabel*> m_status;  // StatusPanel0 .. StatusPanel3
};

}  // namespace pictavo::gui
