#include "main_window.h"

#include "folder_widgets.h"
#include "keyboard_menu.h"
#include "message_text.h"
#include "qt_convert.h"
#include "tool_window.h"
#include "ui_about_box.h"
#include "ui_main_window.h"
#include "window_dialogs.h"

#include <QAction>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStorageInfo>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <type_traits>
#include <utility>

#include "image/jpeg.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "session/picture_list.h"
#include "settings/openers.h"
#include "text/chars.h"

namespace pictavo::gui {

MainWindow::MainWindow(Dialogs& dialogs, const StartArguments& arguments, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_ui(dialogs, this), m_form(std::make_unique<Ui::MainWindow>()) {
  m_form->setupUi(this);
  mapControls();

  // Start-up: the defaults and the program folder's settings file, then the
  // folder to show and the window position.
  StartUpOptions options;
  options.programFolder = S(arguments.programFolder);
  const StartUpReport report = StartUp(m_session, options, *this);
  if (report.programFolderError) note(report.programFolderError->message);
  setFolder(StartFolder(m_session.settings.startFolder, S(arguments.commandLinePath)));
  showCommentColour();
  resize(502, 394 + menuBar()->sizeHint().height());
  // The preview pane starts wide enough for the whole 150-pixel preview.
  m_splitter->setSizes({330, kPreviewBox + 10});
  restoreWindowPosition(report.reading.windowLeft, report.reading.windowTop);
  m_startPosition = pos();
  m_edit2->setText(QString::number(m_upDown1->value()));
  m_button7->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::setPreviewDecode(PreviewDecoder::Decode decode) {
  m_previewDecoder.reset();
  // A held decode (tests) is seen without the embedded thumbnail first.
  const bool own = static_cast<bool>(decode);
  // The result comes back to the window's thread; one a later click has
  // overtaken is dropped there (showDecodedPreview).
  m_previewDecoder = std::make_unique<PreviewDecoder>(
      [this](uint64_t ticket, PreviewPicture picture) {
        QMetaObject::invokeMethod(
            this,
            [this, ticket, picture = std::move(picture)]() { showDecodedPreview(ticket, m_previewPath, picture); },
            Qt::QueuedConnection);
      },
      own ? std::move(decode) : PreviewDecoder::Decode(DecodePreview),
      own ? PreviewDecoder::Decode() : PreviewDecoder::Decode(EmbeddedPreview));
}

void MainWindow::mapControls() {
  Ui::MainWindow& ui = *m_form;
  m_file2 = ui.File2;
  m_edit1 = ui.Edit1;
  m_help1 = ui.Help1;
  m_coolBar = ui.CoolBar1;
  m_drive1 = ui.Drive1;
  m_dir1 = ui.Dir1;
  m_oldFile = ui.OldFile;
  m_button5 = ui.Button5;
  m_button6 = ui.Button6;
  m_button7 = ui.Button7;
  m_button8 = ui.Button8;
  m_button9 = ui.Button9;
  m_button10 = ui.Button10;
  m_title = ui.HPtytlebox;
  m_edit2 = ui.edit2;
  m_upDown1 = ui.UpDown1;
  m_commentBox = ui.CommentBox;
  m_panel7 = ui.Panel7;
  QToolButton* const listButtons[] = {ui.Button11, ui.Button3, ui.Button4, ui.Button1,
                                      ui.Button2,  ui.htmButton, ui.NoPicButton};
  std::copy(std::begin(listButtons), std::end(listButtons), m_listButtons);
  m_splitter = ui.Splitter1;
  m_panel3 = ui.Panel3;
  m_image1 = ui.Image1;

  // Execute stands out: bold and larger than the window's own font.
  QFont bold = m_button7->font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 3);
  m_button7->setFont(bold);
  m_button8->hide();  // same place and height as Execute: shown only during a run
  m_panel3->setMinimumSize(100, kPreviewBox);
  m_panel3->installEventFilter(this);
  m_image1->hide();

  // A tool bar holds actions in a form; these are buttons with their own names.
  struct ToolButton {
    const char* name;
    const char* text;
    void (MainWindow::*slot)();
  };
  for (const ToolButton& t : {ToolButton{"mokujiBtn", QT_TR_NOOP("目次作成"), &MainWindow::openTableOfContents},
                              ToolButton{"kaitenBtn", QT_TR_NOOP("画像回転"), &MainWindow::openRotation},
                              ToolButton{"BMPBtn", QT_TR_NOOP("BMP変換"), &MainWindow::openBmpConversion},
                              ToolButton{"commentBtn", QT_TR_NOOP("ｺﾒﾝﾄ作成"), &MainWindow::openCommentEditor}}) {
    auto* b = new QToolButton(m_coolBar);
    b->setObjectName(QLatin1String(t.name));
    b->setText(tr(t.text));
    b->setAutoRaise(true);
    m_coolBar->addWidget(b);
    connect(b, &QToolButton::clicked, this, t.slot);
  }
  m_status = FillStatusStrip(ui.StatusBar1, {{233}, {88, Qt::AlignRight}, {50, Qt::AlignRight}});

  // Pop-up menus of the picture list and the folder list, over the form's actions.
  m_popup1 = new QMenu(this);
  m_popup1->setObjectName(QStringLiteral("PopupMenu1"));
  m_popup1->addActions({ui.moveTop1, ui.moveBottom1});
  m_popup1->addSeparator();
  m_popup1->addAction(ui.refresh1);
  m_popup2 = new QMenu(this);
  m_popup2->setObjectName(QStringLiteral("PopupMenu2"));
  m_popup2->addAction(ui.nextFolder2);
  m_popup2->addSeparator();
  m_popup2->addAction(ui.refresh2);
  OpenMenuFromKeyboard(m_oldFile);
  OpenMenuFromKeyboard(m_dir1);

  const std::pair<QAction*, void (MainWindow::*)()> menuItems[] = {
      {ui.mokuji1, &MainWindow::openTableOfContents}, {ui.kaiten1, &MainWindow::openRotation},
      {ui.BMP1, &MainWindow::openBmpConversion},      {ui.comment1, &MainWindow::openCommentEditor},
      {ui.folderSelect1, &MainWindow::chooseFolder},  {ui.settingsSave1, &MainWindow::saveSettingsFile},
      {ui.settingsLoad1, &MainWindow::loadSettingsFile}, {ui.option1, &MainWindow::openOptions},
      {ui.helpContents1, &MainWindow::openHelp},      {ui.about1, &MainWindow::showAbout},
      {ui.moveTop1, &MainWindow::moveToTop},          {ui.moveBottom1, &MainWindow::moveToBottom},
      {ui.refresh1, &MainWindow::refresh},            {ui.nextFolder2, &MainWindow::nextFolder},
      {ui.refresh2, &MainWindow::refresh}};
  for (const auto& [action, slot] : menuItems) connect(action, &QAction::triggered, this, slot);
  connect(ui.exit1, &QAction::triggered, this, &MainWindow::close);
  connect(m_oldFile, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { m_popup1->popup(m_oldFile->viewport()->mapToGlobal(p)); });
  connect(m_dir1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { m_popup2->popup(m_dir1->viewport()->mapToGlobal(p)); });

  connect(m_button6, &QPushButton::clicked, this, &MainWindow::openSettingsView);
  connect(m_button7, &QPushButton::clicked, this, &MainWindow::execute);
  connect(m_button8, &QPushButton::clicked, this, &MainWindow::abortRun);
  connect(m_button5, &QPushButton::clicked, this, &MainWindow::nextFolder);
  connect(m_button9, &QPushButton::clicked, this, &MainWindow::loadFolderSettings);
  connect(m_button10, &QPushButton::clicked, this, &MainWindow::chooseCommentColour);
  connect(m_listButtons[0], &QToolButton::clicked, this, &MainWindow::refresh);
  connect(m_listButtons[1], &QToolButton::clicked, this, &MainWindow::selectAll);
  connect(m_listButtons[2], &QToolButton::clicked, this, &MainWindow::selectNone);
  connect(m_listButtons[3], &QToolButton::clicked, this, &MainWindow::moveUp);
  connect(m_listButtons[4], &QToolButton::clicked, this, &MainWindow::moveDown);
  connect(m_listButtons[5], &QToolButton::clicked, this, &MainWindow::openPage);
  connect(m_listButtons[6], &QToolButton::toggled, this, &MainWindow::togglePreview);
  connect(m_upDown1, &UpDown::valueChanged, this, [this](int v) { m_edit2->setText(QString::number(v)); });
  connect(m_oldFile, &QListWidget::itemSelectionChanged, this, [this] {
    if (!m_redrawing) takeSelectionFromList();
  });
  connect(m_oldFile, &QListWidget::itemClicked, this, &MainWindow::preview);
  connect(m_oldFile, &QListWidget::itemDoubleClicked, this, &MainWindow::openPicture);
  connect(m_dir1, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { goToPath(item->data(Qt::UserRole).toString()); });
  connect(m_drive1, &QComboBox::activated, this, [this](int index) { goToPath(m_drive1->itemData(index).toString()); });
  connect(m_splitter, &QSplitter::splitterMoved, this, [this] { clampSplitter(); });
}

// The controls an album run disables, in the order they are listed for it.
void MainWindow::setRunControlsEnabled(bool enabled) {
  QWidget* widgets[] = {m_drive1,         m_dir1,           m_oldFile,        m_listButtons[3], m_listButtons[4],
                        m_listButtons[1], m_listButtons[2], m_listButtons[0], m_button5,        m_button6,
                        m_button9,        m_button10,       m_upDown1,        m_title,          m_commentBox,
                        m_listButtons[5], m_coolBar};
  for (QWidget* w : widgets) w->setEnabled(enabled);
  for (QMenu* m : {m_file2, m_edit1, m_help1}) m->menuAction()->setEnabled(enabled);
  if (enabled) m_listButtons[5]->setEnabled(m_pageFound);
}

// --- the core's view of the window ---

// The dialogs go through the same forwarding as the tool windows': "\r" as a
// line break, the system's reason under the next message.
void MainWindow::note(const Message& detail) { m_ui.note(detail); }

void MainWindow::showPendingNote() { m_ui.showPendingNote(); }

void MainWindow::showMessage(const Message& message) { m_ui.showMessage(message); }

void MainWindow::showWindowMessage(QString text) { m_ui.showMessage(text.toStdString()); }

bool MainWindow::askYesNo(const Message& question, const Message& caption) { return m_ui.askYesNo(question, caption); }

void MainWindow::setStatus(StatusPanel panel, const Message& text) {
  const int i = static_cast<int>(panel);
  if (i < 0 || i > 2) return;
  m_status[i]->setText(MessageText(text));
}

bool MainWindow::processEvents() {
  // The point where a run hears Abort; the click itself may have come in
  // while the run waited (letEventsRun).
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  return m_abortRequested;
}

void MainWindow::letEventsRun() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void MainWindow::openWithProgram(const std::string& program, const std::string& document, const std::string& folder) {
  m_ui.openWithProgram(program, document, folder);
}

void MainWindow::openWithAssociatedProgram(const std::string& path) { m_ui.openWithAssociatedProgram(path); }

void MainWindow::beginRun() {
  m_busy = true;
  m_abortRequested = false;
  m_image1->hide();
  m_image1->setScaledContents(false);
  m_button9AtStart = m_button9->isEnabled();
  m_focusAtStart = QApplication::focusWidget();
  m_button7->hide();
  m_button8->show();
  setRunControlsEnabled(false);
  // Hiding Execute or disabling a control drops the focus: a keyboard user
  // then reaches Abort with the same key.
  if (m_focusAtStart && m_focusAtStart->window() == this) m_button8->setFocus();
}

void MainWindow::endRun(bool earlyEnd) {
  const bool hadFocus = m_focusAtStart && m_focusAtStart->window() == this;
  m_button8->hide();
  m_button7->show();
  setRunControlsEnabled(true);
  // Button9 returns to what the folder's discovery found, also after an early
  // end: enabling it always would offer another folder's settings.
  m_button9->setEnabled(m_button9AtStart);
  if (earlyEnd) {
    refillPictureList();
  } else {
    // The run only deselects (back.jpg): unmark those entries rather than
    // rebuild a list of a hundred thousand names.
    const int n = std::min(m_oldFile->count(), static_cast<int>(m_session.pictures.size()));
    for (int i = 0; i < n; ++i) {
      QListWidgetItem* item = m_oldFile->item(i);
      if (item->isSelected() && !m_session.pictures[static_cast<size_t>(i)].selected) item->setSelected(false);
    }
  }
  if (hadFocus) {
    QWidget* back = m_focusAtStart->isVisible() && m_focusAtStart->isEnabled() ? m_focusAtStart.data() : m_button7;
    back->setFocus();
  }
  m_focusAtStart.clear();
  m_busy = false;
}

void MainWindow::showPreview(const Bitmap& thumbnail) {
  const QImage image = ToQImage(thumbnail);
  m_image1->setPixmap(QPixmap::fromImage(image));
  m_image1->resize(image.size());
  centrePreview();
  m_image1->setVisible(m_session.main.previewOn);
  m_image1->repaint();
}

void MainWindow::setPicturesPerRow(int16_t count) {
  m_upDown1->setValue(count);
  m_edit2->setText(QString::number(m_upDown1->value()));
  m_session.perRow = m_upDown1->value();
}

void MainWindow::setLoadButtonEnabled(bool enabled) { m_button9->setEnabled(enabled); }

std::optional<std::string> MainWindow::chooseOpenFile(const Message& filter, const std::string& folder) {
  auto path = m_dialogs.openFile(this, MessageText(filter), Q(folder));
  if (!path) return std::nullopt;
  return S(*path);
}

std::optional<std::string> MainWindow::chooseSaveFile(const Message& filter, const std::string& folder) {
  auto path = m_dialogs.saveFile(this, MessageText(filter), Q(folder));
  if (!path) return std::nullopt;
  return S(*path);
}

// --- folders and the picture list ---

bool MainWindow::goToPath(const QString& path) {
  if (m_busy || path.isEmpty()) return false;
  setFolder(FolderOfPath(S(path)));
  return true;
}

void MainWindow::setFolder(const std::string& wanted) {
  EnterFolder(m_session, FolderToShow(wanted), *this);
  m_title->setText(Q(m_session.main.albumTitle));
  fillDriveList();
  fillFolderList();
  refillPictureList();
}

void MainWindow::fillDriveList() { FillDriveBox(m_drive1, Q(m_session.main.currentFolder)); }

void MainWindow::fillFolderList() {
  const std::string& folder = m_session.main.currentFolder;
  ReportPassedOverNames(*this, folder, FillFolderList(m_dir1, folder));
}

void MainWindow::refillPictureList() {
  PictureListRefill refill = RefillPictureList(m_session.main.currentFolder, m_session.settings.htmlFileName);
  if (!refill.ok) {
    note(Detail(refill.error));
    // Listable a moment ago, gone now: the folder every window falls back to.
    if (m_session.main.currentFolder != HomeFolder()) {
      setFolder(HomeFolder());
      return;
    }
  }
  ReportPassedOverNames(*this, m_session.main.currentFolder, refill.skippedNames);
  m_session.pictures = std::move(refill.pictures);
  m_pageFound = refill.pageFound;
  m_listButtons[5]->setEnabled(m_pageFound && !m_busy);
  m_image1->hide();
  m_image1->setPixmap(QPixmap());
  redrawPictureList();
  m_oldFile->scrollToTop();
}

void MainWindow::redrawPictureList() {
  m_redrawing = true;
  m_oldFile->clear();
  QStringList names;
  names.reserve(static_cast<qsizetype>(m_session.pictures.size()));
  for (const PictureEntry& e : m_session.pictures) names << Q(e.name);
  m_oldFile->addItems(names);
  // One selection change for the whole list: item by item, each change lays
  // the list out again, which takes minutes for a folder of 20,000 pictures.
  QItemSelection selection;
  const QAbstractItemModel* model = m_oldFile->model();
  for (size_t i = 0; i < m_session.pictures.size();) {
    if (!m_session.pictures[i].selected) {
      ++i;
      continue;
    }
    size_t end = i;
    while (end + 1 < m_session.pictures.size() && m_session.pictures[end + 1].selected) ++end;
    selection.select(model->index(static_cast<int>(i), 0), model->index(static_cast<int>(end), 0));
    i = end + 1;
  }
  m_oldFile->selectionModel()->select(selection, QItemSelectionModel::Select);
  m_redrawing = false;
}

void MainWindow::takeSelectionFromList() {
  // From the selection's ranges: asking each item costs a search of the
  // selection per item, which a list of a hundred thousand feels.
  const size_t n = std::min(static_cast<size_t>(m_oldFile->count()), m_session.pictures.size());
  for (size_t i = 0; i < n; ++i) m_session.pictures[i].selected = false;
  for (const QItemSelectionRange& range : m_oldFile->selectionModel()->selection()) {
    for (int row = std::max(0, range.top()); row <= range.bottom() && static_cast<size_t>(row) < n; ++row) {
      m_session.pictures[static_cast<size_t>(row)].selected = true;
    }
  }
}

void MainWindow::namesPassedOver(const std::string& folder, size_t count) {
  // The user sees how many were left out.
  const Message message = PassedOverMessage(folder, count);
  qWarning("%s", qUtf8Printable(MessageText(message)));
  setStatus(StatusPanel::Step, message);
}

void MainWindow::refresh() {
  if (m_busy) return;
  fillFolderList();
  refillPictureList();
}

void MainWindow::nextFolder() {
  if (m_busy) return;
  setFolder(NextFolder(m_session.main.currentFolder));
}

void MainWindow::selectAll() {
  SelectAll(m_session.pictures);
  redrawPictureList();
  m_oldFile->scrollToTop();
}

void MainWindow::selectNone() {
  SelectNone(m_session.pictures);
  redrawPictureList();
  m_oldFile->scrollToTop();
}

void MainWindow::moveUp() {
  if (MoveUp(m_session.pictures) == MoveResult::CannotMove) return showMessage(pictavo::msg::kCannotMove);
  redrawPictureList();
}

void MainWindow::moveDown() {
  if (MoveDown(m_session.pictures) == MoveResult::CannotMove) return showMessage(pictavo::msg::kCannotMove);
  redrawPictureList();
}

void MainWindow::moveToTop() {
  if (MoveToTop(m_session.pictures) == MoveResult::Moved) redrawPictureList();
}

void MainWindow::moveToBottom() {
  if (MoveToBottom(m_session.pictures) == MoveResult::Moved) redrawPictureList();
}

void MainWindow::preview() {
  if (!m_session.main.previewOn) return;
  m_image1->setScaledContents(true);
  m_image1->hide();
  if (!m_previewDecoder) setPreviewDecode({});
  const auto path = PreviewPicturePath(m_session.main.currentFolder, m_session.pictures);
  if (!path) {
    m_previewDecoder->cancel();
    return;
  }
  // The click is answered now; the picture follows from the decoder's
  // thread, so a large photograph never holds the window.
  m_previewPath = *path;
  (void)m_previewDecoder->request(m_previewPath);
}

void MainWindow::showDecodedPreview(uint64_t ticket, const std::string& path, const PreviewPicture& picture) {
  // Overtaken by a later click, or the window moved on meanwhile (a run, a
  // folder change, another selection): nothing of it is shown.
  if (!m_previewDecoder || !m_previewDecoder->current(ticket) || m_busy || !m_session.main.previewOn) return;
  if (PreviewPicturePath(m_session.main.currentFolder, m_session.pictures) != path) return;
  if (!picture.ok) {
    showMessage(Detail(picture.error));
    return;
  }
  m_image1->setPixmap(QPixmap::fromImage(ToQImage(picture.picture)));
  m_image1->resize(picture.fitWidth, picture.fitHeight);
  centrePreview();
  m_image1->show();
}

void MainWindow::openPicture() {
  const auto first = FirstSelected(m_session.pictures);
  if (!first) return;
  Open(*this, PictureOpening(m_session.settings, FolderBase(m_session.main.currentFolder),
                              m_session.pictures[*first].name));
}

void MainWindow::openPage() {
  Open(*this, PageOpening(m_session.settings, FolderBase(m_session.main.currentFolder)));
}

void MainWindow::togglePreview(bool on) {
  m_session.main.previewOn = on;
  m_image1->setVisible(on && !m_image1->pixmap().isNull());
}

// --- settings and the upper panel ---

void MainWindow::loadFolderSettings() {
  {
    SessionWindow mirror(m_session, *this);
    // The command shows its messages itself; a refused file is silent by design.
    (void)LoadFolderSettings(m_session.settings, m_session.main, mirror);
  }
  showPendingNote();
}

void MainWindow::saveSettingsFile() {
  {
    SessionWindow mirror(m_session, *this);
    // The command shows its messages itself.
    (void)SettingsSaveCommand(m_session.settings, m_session.main, mirror);
  }
  showPendingNote();
}

void MainWindow::loadSettingsFile() {
  {
    SessionWindow mirror(m_session, *this);
    // The command shows its messages itself; a refused file is silent by design.
    (void)SettingsLoadCommand(m_session.settings, m_session.main, mirror);
  }
  showPendingNote();
}

void MainWindow::chooseCommentColour() {
  const QColor preset = FromColorRef(m_session.main.commentColor);
  const QColor chosen = m_dialogs.chooseColour(this, preset).value_or(preset);
  m_session.main.commentColor = ToColorRef(chosen);
  showCommentColour();
}

void MainWindow::showCommentColour() {
  QPalette p = m_panel7->palette();
  p.setColor(QPalette::Window, FromColorRef(m_session.main.commentColor));
  m_panel7->setPalette(p);
}

void MainWindow::chooseFolder() {
  if (m_busy) return;
  const QString start = m_lastChosenFolder.isEmpty() ? Q(m_session.main.currentFolder) : m_lastChosenFolder;
  const auto chosen = m_dialogs.chooseFolder(this, tr(msg::kChooseFolderTitle), start);
  if (!chosen) return;
  m_lastChosenFolder = *chosen;
  if (!FolderExists(AbsolutePath(S(*chosen)))) return showWindowMessage(tr(msg::kChooseFolderFailed));
  goToPath(*chosen);
}

void MainWindow::showAbout() {
  QDialog about(this);
  Ui::AboutBox form;
  form.setupUi(&about);
  about.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
  form.Verlabel->setText(QStringLiteral("Pictavo Ver") + Q(m_session.main.programVersion) + QStringLiteral(" "));
  connect(form.OKButton, &QDialogButtonBox::accepted, &about, &QDialog::accept);
  about.move(pos() + QPoint(50, 120));
  about.exec();
}

// --- window events ---

void MainWindow::restoreWindowPosition(const std::string& leftText, const std::string& topText) {
  // A position that does not parse counts as 0; one off the screen is pulled back onto it.
  int x = ParseDecimal(leftText).value_or(0);
  int y = ParseDecimal(topText).value_or(0);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    x = std::clamp(x, area.left(), std::max(area.left(), area.right() - width()));
    y = std::clamp(y, area.top(), std::max(area.top(), area.bottom() - height()));
  }
  move(x, y);
}

void MainWindow::centrePreview() {
  m_image1->move(CentreOffset(m_panel3->width(), m_image1->width()),
                 CentreOffset(m_panel3->height(), m_image1->height()));
}

void MainWindow::clampSplitter() {
  QList<int> sizes = m_splitter->sizes();
  if (sizes.size() != 2) return;
  const int total = sizes[0] + sizes[1];
  const int position = ClampSplitter(sizes[0], m_splitter->width());
  if (position == sizes[0]) return;
  m_splitter->setSizes({position, std::max(0, total - position)});
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_panel3 && event->type() == QEvent::Resize) centrePreview();
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Closing during a run would free the window the run still reports to.
  if (m_busy) {
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  if (m_busy) {
    event->accept();
    return;
  }
  // Only a key aimed at the window itself moves the focus. Keys a focused
  // control passes on (a bare Shift or Ctrl, Shift+arrows in the list) are
  // still the control's: moving the focus there made typing land on
  // Button7, where a blank starts the run.
  QWidget* focus = QApplication::focusWidget();
  if (!focus || focus == this) m_button7->setFocus();
  QMainWindow::keyPressEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!m_busy && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) paths << url.toLocalFile();
  }
  if (dropPaths(paths)) event->acceptProposedAction();
}

bool MainWindow::dropPaths(const QStringList& paths) {
  // A refill during a run would change the list the run reads.
  if (m_busy || paths.isEmpty()) return false;
  return goToPath(paths.back());
}

void MainWindow::handOver(const QStringList& arguments) {
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
  if (arguments.isEmpty()) return;
  if (m_busy) {
    m_deferredPath = arguments.front();
  } else {
    goToPath(arguments.front());
  }
}

// The run has shown its messages; the button has nothing to add.
void MainWindow::execute() { (void)runAlbum(); }

RunOutcome MainWindow::runAlbum() {
  if (m_busy) return RunOutcome::Failed;
  takeSelectionFromList();
  m_session.main.albumTitle = S(m_title->text());
  m_session.main.addComments = m_commentBox->isChecked();
  m_session.perRow = m_upDown1->value();
  m_busy = true;
  const RunOutcome outcome = RunAlbumInSession(m_session, *this, Today());
  m_busy = false;
  if (!m_deferredPath.isEmpty()) goToPath(std::exchange(m_deferredPath, {}));
  return outcome;
}

void MainWindow::deselectPicture(const std::string& name) {
  for (PictureEntry& p : m_session.pictures) {
    if (p.name == name) p.selected = false;
  }
  redrawPictureList();
}

void MainWindow::setPreviewSwitch(bool on) {
  m_listButtons[6]->setChecked(on);
  togglePreview(on);
}

void MainWindow::abortRun() { m_abortRequested = true; }

}  // namespace pictavo::gui
