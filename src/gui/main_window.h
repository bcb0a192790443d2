#pragma once
// The main window MainWindow: the folder and picture lists, the album settings of
// the upper panel, Execute and Abort, the status bar and the preview. Its
// controls carry the designer names as object names. The rules live in
// core (session/); this class maps controls onto them and is the album
// run's and the settings commands' window.

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "album/album_run.h"
#include "album_window.h"
#include "options_window.h"
#include "dialogs.h"
#include "session/preview_decoder.h"
#include "session/session.h"
#include "settings/settings_file.h"
#include "up_down.h"
#include "window_dialogs.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QSplitter;
class QToolBar;
class QToolButton;

namespace Ui {
class MainWindow;
}

namespace pictavo::gui {

class CommentEditorWindow;
class RotationWindow;
class TableOfContentsWindow;
class BmpConversionWindow;

class OptionsDialog;
class SettingsCheckView;

struct StartArguments {
  QString programFolder;   // empty: the default program folder
  QString commandLinePath; // a folder or a file (its folder is opened); empty when none
};

class MainWindow : public QMainWindow,
                   public AlbumRunHost,
                   public SettingsWindow,
                   public AlbumWindow,
                   public OptionsOwner {
  Q_OBJECT
 public:
  MainWindow(Dialogs& dialogs, const StartArguments& arguments, QWidget* parent = nullptr);
  ~MainWindow() override;

  Session& session() override { return m_session; }
  bool busy() const { return m_busy; }
  // The per-row control UpDown1 as it stands (not the record's field).
  int picturesPerRowControl() const override { return m_upDown1->value(); }
  QPoint windowPosition() const override { return pos(); }
  // Where the window was placed at start-up.
  QPoint startPosition() const override { return m_startPosition; }
  // The options dialog and the settings check view, once opened.
  OptionsDialog* options() const { return m_options; }
  SettingsCheckView* settingsView() const { return m_setview; }
  // The tool windows, made at first use and kept (tool_windows.cpp).
  RotationWindow* rotationWindow();
  CommentEditorWindow* commentWindow();
  TableOfContentsWindow* tocWindow();
  BmpConversionWindow* bmpWindow();

  // What the batch does to the window as a user would: deselect an entry by
  // name, run Execute to its end, and press the preview switch.
  QWidget* widget() override { return this; }
  void deselectPicture(const std::string& name) override;
  RunOutcome runAlbum() override;
  void setPreviewSwitch(bool on) override;
  // The preview's decode (tests hold it to see the window go on meanwhile).
  void setPreviewDecode(PreviewDecoder::Decode decode);

  // CommandHost, AlbumRunHost and SettingsWindow: the core's view of the window.
  void showMessage(const Message& message) override;
  // A message of the window's own, with the pending note under it.
  void showWindowMessage(QString text);
  bool askYesNo(const Message& question, const Message& caption) override;
  void setStatus(StatusPanel panel, const Message& text) override;
  // The system's reason: on stderr, and under the next message box's text.
  void note(const Message& detail) override;
  void showPendingNote();
  bool processEvents() override;
  void letEventsRun() override;
  void openWithProgram(const std::string& program, const std::string& document, const std::string& folder) override;
  void openWithAssociatedProgram(const std::string& path) override;
  // The warning on stderr and in the status bar's first panel.
  void namesPassedOver(const std::string& folder, size_t count) override;
  void beginRun() override;
  void endRun(bool earlyEnd) override;
  void showPreview(const Bitmap& thumbnail) override;
  Q_INVOKABLE void openCommentEditor() override;  // also a menu item's slot
  void setPicturesPerRow(int16_t count) override;
  void setLoadButtonEnabled(bool enabled) override;
  std::optional<std::string> chooseOpenFile(const Message& filter, const std::string& folder) override;
  std::optional<std::string> chooseSaveFile(const Message& filter, const std::string& folder) override;
  void refillOptions() override;

 public slots:
  // Folder list and drive list go to `path` (a file: its folder) and the
  // picture list is refilled; a folder that cannot be listed falls back to
  // the home folder. Refused while a command runs.
  bool goToPath(const QString& path) override;
  // Paths dropped on the window: the last one counts, whole. Refused (false) while busy.
  bool dropPaths(const QStringList& paths);
  void execute();
  void abortRun();
  void refresh();
  void nextFolder();
  void selectAll();
  void selectNone();
  void moveUp();
  void moveDown();
  void moveToTop();
  void moveToBottom();
  void preview();
  void openPicture();
  void openPage();
  void togglePreview(bool on);
  void loadFolderSettings();
  void chooseCommentColour();
  void chooseFolder();
  void saveSettingsFile();
  void loadSettingsFile();
  void showAbout();
  // The other windows (tool_windows.cpp).
  void openTableOfContents();
  void openRotation();
  void openBmpConversion();
  void openOptions();
  void openSettingsView();
  void openHelp();
  // A later start's command line: the window comes to the front and takes
  // the path like a drop; while a command runs the path waits for its end.
  void handOver(const QStringList& arguments);
  // After the splitter moved: 150 pixels from either side of the window.
  void clampSplitter();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // After setupUi: the form's controls under their members, what core's
  // constants size, and the connections.
  void mapControls();
  void setFolder(const std::string& folder);
  void fillFolderList();
  void fillDriveList();
  void refillPictureList();
  void redrawPictureList();
  void takeSelectionFromList();
  void centrePreview();
  void showDecodedPreview(uint64_t ticket, const std::string& path, const PreviewPicture& picture);
  void showCommentColour();
  void setRunControlsEnabled(bool enabled);
  void restoreWindowPosition(const std::string& left, const std::string& top);

  Dialogs& m_dialogs;
  WindowDialogs m_ui;
  std::unique_ptr<Ui::MainWindow> m_form;
  Session m_session;
  bool m_busy = false;
  bool m_abortRequested = false;
  bool m_button9AtStart = false;
  QPointer<QWidget> m_focusAtStart;  // given back when the run ends
  bool m_pageFound = false;
  bool m_redrawing = false;
  QString m_lastChosenFolder;
  QString m_deferredPath;  // handed over during a run
  QPoint m_startPosition;
  OptionsDialog* m_options = nullptr;
  SettingsCheckView* m_setview = nullptr;
  RotationWindow* m_rotation = nullptr;
  CommentEditorWindow* m_comment = nullptr;
  TableOfContentsWindow* m_tocWindow = nullptr;
  BmpConversionWindow* m_bmpWindow = nullptr;

  QMenu* m_file2 = nullptr;
  QMenu* m_edit1 = nullptr;
  QMenu* m_help1 = nullptr;
  QMenu* m_popup1 = nullptr;
  QMenu* m_popup2 = nullptr;
  QToolBar* m_coolBar = nullptr;
  QComboBox* m_drive1 = nullptr;
  QListWidget* m_dir1 = nullptr;
  QListWidget* m_oldFile = nullptr;
  QPushButton* m_button5 = nullptr;
  QPushButton* m_button6 = nullptr;
  QPushButton* m_button7 = nullptr;
  QPushButton* m_button8 = nullptr;
  QPushButton* m_button9 = nullptr;
  QPushButton* m_button10 = nullptr;
  QLineEdit* m_title = nullptr;
  QLineEdit* m_edit2 = nullptr;
  UpDown* m_upDown1 = nullptr;
  QCheckBox* m_commentBox = nullptr;
  QFrame* m_panel7 = nullptr;
  QToolButton* m_listButtons[7] = {};  // Button11, Button3, Button4, Button1, Button2, htmButton, NoPicButton
  QSplitter* m_splitter = nullptr;
  QWidget* m_panel3 = nullptr;
  QLabel* m_image1 = nullptr;
  std::vector<QLabel*> m_status;  // StatusPanel0 .. StatusPanel2
  // Last: its thread ends before anything it reports to goes.
  std::string m_previewPath;  // the picture the preview was last asked for
  std::unique_ptr<PreviewDecoder> m_previewDecoder;
};

namespace msg {
inline constexpr const char* kChooseFolderTitle = QT_TRANSLATE_NOOP("pictavo::gui::MainWindow", "対象のフォルダを選択して下さい。");
inline constexpr const char* kChooseFolderFailed = QT_TRANSLATE_NOOP("pictavo::gui::MainWindow", "フォルダの指定に失敗しました。");
inline constexpr const char* kAlreadyRunning = QT_TRANSLATE_NOOP("pictavo::gui::MainWindow", "すでに起動されています");
inline constexpr const char* kNoHelpPage = QT_TRANSLATE_NOOP("pictavo::gui::MainWindow", "ヘルプファイルが見つかりません。");
}  // namespace msg

}  // namespace pictavo::gui
