#pragma once
// The comment editor CommentEditorWindow: a view over CommentEditor. The .jpg list, the
// preview, the two comment fields, 更新/保存/保存して終了, the fill commands
// of the edit menu, another folder through the folder chooser window, and
// the selected picture handed to the rotation window.

#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialogs.h"
#include "platform/command_host.h"
#include "comments/comment_editor.h"
#include "window_dialogs.h"

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

namespace Ui {
class CommentEditorWindow;
}

namespace pictavo::gui {

class RotationWindow;

class CommentEditorWindow : public QDialog, public ToolWindowHost {
  Q_OBJECT
 public:
  // `rotationWindow` gives the program's one rotation window.
  CommentEditorWindow(Dialogs& dialogs, std::function<RotationWindow*()> rotationWindow, QWidget* parent = nullptr);
  ~CommentEditorWindow() override;

  // Opening from the main window, without showing: unsaved changes of the
  // folder shown so far are offered for saving first; when that save fails
  // the editor stays on its folder (false).
  bool openFolder(const std::string& folder);

  const CommentEditor& editor() const { return m_editor; }

  // The window's own status bar.
  void setStatus(StatusPanel panel, const Message& text) override;

 public slots:
  void selectEntry();
  void update();
  void save();
  void saveAndFinish();
  void openOther();
  void openRotation();
  void fill(FillWhat what, bool all);
  // Closing by Exit1, the frame or Escape: unsaved changes are offered for
  // saving first; a failed save keeps the window open.
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showList();
  void showFields();
  void showPreview(const Bitmap& picture, const PreviewBox& box);

  Dialogs& m_dialogs;
  std::function<RotationWindow*()> m_rotationWindow;
  CommentEditor m_editor;
  std::unique_ptr<Ui::CommentEditorWindow> m_form;
  bool m_showing = false;  // the list is being refilled: no selection events
  QListWidget* m_file1 = nullptr;
  QWidget* m_panel3 = nullptr;
  QLabel* m_image1 = nullptr;
  QLineEdit* m_edit1 = nullptr;
  QLineEdit* m_edit2 = nullptr;
  QAction* m_n11 = nullptr;
  QAction* m_n19 = nullptr;
  QMenu* m_popup1 = nullptr;
  std::vector<QLabel*> m_status;  // StatusPanel0, StatusPanel1
};

}  // namespace pictavo::gui
