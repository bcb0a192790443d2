#pragma once
// The drive box and folder list that the main window and the folder chooser
// window share, and the chooser window FolderChooserDialog itself.

#include <QDialog>
#include <QString>
#include <memory>
#include <string>

class QComboBox;
class QListWidget;

namespace Ui {
class FolderChooserDialog;
}

namespace pictavo::gui {

// The drive box: "/" first, then the mounted volumes by name, with the
// volume holding `folder` chosen. Items carry their root path as data.
void FillDriveBox(QComboBox* box, const QString& folder);
// The folder list as a tree of the way down: the root, each ancestor, the
// folder itself (current) and its sub-folders. Items carry their path as
// data. Returns how many sub-folder names were passed over (not UTF-8).
size_t FillFolderList(QListWidget* list, const std::string& folder);

// A tool window's drive box Drive1 over its folder list Dir1 (both from its
// form): activating a folder or a drive moves the list there and reports
// the move.
class FolderPane : public QObject {
  Q_OBJECT
 public:
  FolderPane(QComboBox* drive, QListWidget* list);
  QComboBox* drive() const { return m_drive1; }
  QListWidget* list() const { return m_dir1; }
  const QString& folder() const { return m_folder; }
  // Shows `folder`, or where core's FolderToShow falls back to; the folder shown.
  QString goTo(const QString& folder);
 signals:
  // The user chose `folder` in the list or the drive box.
  void chosen(const QString& folder);

 private:
  QComboBox* m_drive1 = nullptr;
  QListWidget* m_dir1 = nullptr;
  QString m_folder;
};

// The folder chooser window: a drive box, a folder list, 選択 and キャンセル.
// It keeps its drive and folder between uses.
class FolderChooserDialog : public QDialog {
  Q_OBJECT
 public:
  explicit FolderChooserDialog(QWidget* parent = nullptr);
  ~FolderChooserDialog() override;
  // Opens modally at `folder` the first time and where it was left after.
  // chosenFolder() is set by 選択 and emptied by キャンセル; closing the
  // window by other means leaves it as it was.
  void choose(const QString& startFolder);
  const QString& chosenFolder() const { return m_chosen; }

 public slots:
  void goTo(const QString& folder);
  void accept() override;  // 選択
  void reject() override;  // キャンセル and Esc

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  std::unique_ptr<Ui::FolderChooserDialog> m_form;
  QComboBox* m_drive1 = nullptr;
  QListWidget* m_dir1 = nullptr;
  QString m_folder;
  QString m_chosen;
};

}  // namespace pictavo::gui
