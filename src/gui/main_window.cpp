#include "main_window.h"

#include "folder_widgets.h"
#include "keyboard_menu.h"
#include "message_text.h"
#include "qt_convert.h"

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
#include "text/chars.h"

namespace pictavo::gui {
namespace {

QToolButton* SmallButton(QWidget* parent, const char* name, const QString& text, const char* hint) {
  auto* b = new QToolButton(parent);
  b->setObjectName(QLatin1String(name));
  b->setText(text);
  b->setToolTip(QString::fromUtf8(hint));
  b->setFixedSize(20, 20);
  return b;
}

}  // namespace

UpDown::UpDown(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* up = new QToolButton(this);
  auto* down = new QToolButton(this);
  up->setArrowType(Qt::UpArrow);
  down->setArrowType(Qt::DownArrow);
  up->setObjectName(QStringLiteral("UpDown1Up"));
  down->setObjectName(QStringLiteral("UpDown1Down"));
  for (auto* b : {up, down}) {
    b->setFixedSize(16, 11);
    layout->addWidget(b);
  }
  connect(up, &QToolButton::clicked, this, [this] { setValue(m_value + 1); });
  connect(down, &QToolButton::clicked, this, [this] { setValue(m_value - 1); });
}

void UpDown::setRange(int lowest, int highest) {
  m_lowest = lowest;
  m_highest = highest;
  setValue(m_value);
}

void UpDown::setValue(int value) {
  value = std::clamp(value, m_lowest, m_highest);
  if (value == m_value) return;
  m_value = value;
  emit valueChanged(value);
}

TMain::TMain(Dialogs& dialogs, const StartArguments& arguments, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs) {
  setObjectName(QStringLiteral("TMain"));
  setWindowTitle(QStringLiteral("Pictavo"));
  setAcceptDrops(true);
  buildMenus();
  buildToolBar();
  buildControls();

  // Start-up: the defaults and the program folder's settings file, then the
  // folder to show and the window position.
  StartUpOptions options;
  options.programFolder = S(arguments.programFolder);
  const StartUpReport report = StartUp(m_session, options, *this);
  if (report.programFolderError) note(report.programFolderError->message);
  const std::string& start = m_session.settings.startFolder;
  std::string folder = !start.empty() && FolderExists(start) ? start : S(homeFolder());
  if (!arguments.commandLinePath.isEmpty()) {
    std::string path = AbsolutePath(S(arguments.commandLinePath));
    folder = FileExists(path) ? ParentFolder(path) : path;
  }
  setFolder(folder);
  showCommentColour();
  resize(502, 394 + menuBar()->sizeHint().height());
  // The preview pane starts wide enough for the whole 150-pixel preview.
  m_splitter->setSizes({330, kPreviewBox + 10});
  restoreWindowPosition(report.reading.windowLeft, report.reading.windowTop);
  m_startPosition = pos();
  m_edit2->setText(QString::number(m_upDown1->value()));
  m_button7->setFocus();
}

TMain::~TMain() = default;

void TMain::setPreviewDecode(PreviewDecoder::Decode decode) {
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

QString TMain::homeFolder() const {
  const QString home = QDir::homePath();
  return FolderExists(S(home)) ? home : QStringLiteral("/");
}

void TMain::buildMenus() {
  auto add = [this](QMenu* menu, const char* name, const char* text, auto slot) {
    QAction* a = menu->addAction(QString::fromUtf8(text));
    a->setObjectName(QLatin1String(name));
    if constexpr (!std::is_same_v<decltype(slot), std::nullptr_t>) connect(a, &QAction::triggered, this, slot);
    return a;
  };
  m_file2 = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
  m_file2->setObjectName(QStringLiteral("File2"));
  add(m_file2, "mokuji1", "目次作成", &TMain::openTableOfContents);
  add(m_file2, "kaiten1", "回転保存", &TMain::openRotation);
  add(m_file2, "BMP1", "BMP変換", &TMain::openBmpConversion);
  add(m_file2, "comment1", "ｺﾒﾝﾄ作成", &TMain::openCommentEditor);
  m_file2->addSeparator();
  add(m_file2, "folderSelect1", "フォルダの選択", &TMain::chooseFolder);
  m_file2->addSeparator();
  add(m_file2, "settingsSave1", "設定ファイル保存", &TMain::saveSettingsFile);
  add(m_file2, "settingsLoad1", "設定ファイル読込", &TMain::loadSettingsFile);
  m_file2->addSeparator();
  add(m_file2, "exit1", "終了(&X)", &TMain::close);

  m_edit1 = menuBar()->addMenu(QStringLiteral("設定(&T)"));
  m_edit1->setObjectName(QStringLiteral("Edit1"));
  add(m_edit1, "option1", "ｵﾌﾟｼｮﾝ(&O)", &TMain::openOptions);

  m_help1 = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
  m_help1->setObjectName(QStringLiteral("Help1"));
  add(m_help1, "helpContents1", "ﾍﾙﾌﾟ&H)", &TMain::openHelp);
  add(m_help1, "about1", "ﾊﾞｰｼﾞｮﾝ情報(&A)...", &TMain::showAbout);
}

void TMain::buildToolBar() {
  m_coolBar = addToolBar(QStringLiteral("CoolBar1"));
  m_coolBar->setObjectName(QStringLiteral("CoolBar1"));
  m_coolBar->setMovable(false);
  // The tool-bar buttons do what their menu items do.
  struct ToolButton {
    const char* name;
    const char* text;
    void (TMain::*slot)();
  };
  for (const ToolButton& t : {ToolButton{"mokujiBtn", "目次作成", &TMain::openTableOfContents},
                              ToolButton{"kaitenBtn", "画像回転", &TMain::openRotation},
                              ToolButton{"BMPBtn", "BMP変換", &TMain::openBmpConversion},
                              ToolButton{"commentBtn", "ｺﾒﾝﾄ作成", &TMain::openCommentEditor}}) {
    auto* b = new QToolButton(m_coolBar);
    b->setObjectName(QLatin1String(t.name));
    b->setText(QString::fromUtf8(t.text));
    b->setAutoRaise(true);
    m_coolBar->addWidget(b);
    connect(b, &QToolButton::clicked, this, t.slot);
  }
}

void TMain::buildControls() {
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("MainPanel"));
  setCentralWidget(central);
  auto* outer = new QVBoxLayout(central);
  outer->setContentsMargins(4, 4, 4, 0);
  // Tight spacing: the whole window fits the client area of 502 x 394.
  outer->setSpacing(4);

  // Upper panel, left: drives, next folder, folders.
  auto* upper = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  m_drive1 = new QComboBox(central);
  m_drive1->setObjectName(QStringLiteral("Drive1"));
  m_drive1->setToolTip(QStringLiteral("ドライブを指定します。"));
  // A long mount point must not widen the window; the list shows it whole.
  m_drive1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  m_drive1->setMinimumContentsLength(6);
  m_button5 = new QPushButton(QStringLiteral("次のフォルダ"), central);
  m_button5->setObjectName(QStringLiteral("Button5"));
  m_button5->setToolTip(QStringLiteral("現在のフォルダが含まれているフォルダで次のフォルダに移動します。"));
  m_dir1 = new QListWidget(central);
  m_dir1->setObjectName(QStringLiteral("Dir1"));
  m_dir1->setToolTip(QStringLiteral("対象フォルダを指定します。"));
  m_dir1->setContextMenuPolicy(Qt::CustomContextMenu);
  auto* driveRow = new QHBoxLayout;
  driveRow->addWidget(m_drive1, 1);
  driveRow->addWidget(m_button5);
  left->addLayout(driveRow);
  left->addWidget(m_dir1);
  upper->addLayout(left, 1);

  // Upper panel, right: Execute (Abort over it), title, per-row count, comments.
  auto* right = new QGridLayout;
  right->setVerticalSpacing(3);
  m_button7 = new QPushButton(QStringLiteral("実行(&X)"), central);
  m_button7->setObjectName(QStringLiteral("Button7"));
  m_button7->setToolTip(QStringLiteral("カタログ表示するファイルを作成し、htmlのファイルを作ります。"));
  QFont bold = m_button7->font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 3);
  m_button7->setFont(bold);
  m_button7->setMinimumHeight(36);
  m_button8 = new QPushButton(QStringLiteral("中止"), central);
  m_button8->setObjectName(QStringLiteral("Button8"));
  m_button8->setMinimumHeight(36);
  m_button8->hide();
  right->addWidget(m_button7, 0, 0, 1, 3);
  right->addWidget(m_button8, 0, 0, 1, 3);  // same place and height: shown only during a run
  auto* titleLabel = new QLabel(QStringLiteral("タイトル"), central);
  m_title = new QLineEdit(central);
  m_title->setObjectName(QStringLiteral("HPtytlebox"));
  m_title->setToolTip(QStringLiteral("作成されたHTMLのタイトルになります。"));
  right->addWidget(titleLabel, 1, 0);
  right->addWidget(m_title, 1, 1, 1, 2);
  auto* perRowLabel = new QLabel(QStringLiteral("一行の枚数"), central);
  m_edit2 = new QLineEdit(central);
  m_edit2->setObjectName(QStringLiteral("edit2"));
  m_edit2->setReadOnly(true);
  m_edit2->setFixedWidth(32);
  m_upDown1 = new UpDown(central);
  m_upDown1->setObjectName(QStringLiteral("UpDown1"));
  right->addWidget(perRowLabel, 2, 0);
  auto* perRow = new QHBoxLayout;
  perRow->setSpacing(0);
  perRow->addWidget(m_edit2);
  perRow->addWidget(m_upDown1);
  perRow->addStretch();
  right->addLayout(perRow, 2, 1, 1, 2);
  m_commentBox = new QCheckBox(QStringLiteral("コメントを付加する"), central);
  m_commentBox->setObjectName(QStringLiteral("CommentBox"));
  right->addWidget(m_commentBox, 3, 0, 1, 3);
  m_panel7 = new QFrame(central);
  m_panel7->setObjectName(QStringLiteral("Panel7"));
  m_panel7->setFixedHeight(4);
  m_panel7->setAutoFillBackground(true);
  right->addWidget(m_panel7, 4, 0, 1, 3);
  m_button9 = new QPushButton(QStringLiteral("設定の読込"), central);
  m_button9->setObjectName(QStringLiteral("Button9"));
  m_button9->setEnabled(false);
  m_button6 = new QPushButton(QStringLiteral("主な設定の確認"), central);
  m_button6->setObjectName(QStringLiteral("Button6"));
  connect(m_button6, &QPushButton::clicked, this, &TMain::openSettingsView);
  m_button10 = new QPushButton(QStringLiteral("ｺﾒﾝﾄの色"), central);
  m_button10->setObjectName(QStringLiteral("Button10"));
  right->addWidget(m_button9, 5, 0);
  right->addWidget(m_button6, 5, 1);
  right->addWidget(m_button10, 5, 2);
  upper->addLayout(right, 1);
  outer->addLayout(upper);

  // Lower part: the picture list with the small buttons, the splitter, the preview.
  m_splitter = new QSplitter(Qt::Horizontal, central);
  m_splitter->setObjectName(QStringLiteral("Splitter1"));
  m_splitter->setChildrenCollapsible(false);
  auto* listPane = new QWidget(m_splitter);
  listPane->setMinimumWidth(100);  // the splitter's own clamp, not the layout, keeps 150
  auto* listLayout = new QHBoxLayout(listPane);
  listLayout->setContentsMargins(0, 0, 0, 0);
  auto* listColumn = new QVBoxLayout;
  listColumn->addWidget(new QLabel(QStringLiteral("　画像(*.JPG)ファイル"), listPane));
  m_oldFile = new QListWidget(listPane);
  m_oldFile->setObjectName(QStringLiteral("OldFile"));
  m_oldFile->setToolTip(QStringLiteral("ファイル一覧が表示されます。 対象のファイルを選択して下さい。"));
  m_oldFile->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_oldFile->setLayoutMode(QListView::Batched);
  m_oldFile->setContextMenuPolicy(Qt::CustomContextMenu);
  listColumn->addWidget(m_oldFile);
  listLayout->addLayout(listColumn, 1);
  auto* buttons = new QVBoxLayout;
  buttons->setSpacing(1);
  m_listButtons[0] = SmallButton(listPane, "Button11", QStringLiteral("↻"), "ファイル一覧を読み直します。");
  m_listButtons[1] = SmallButton(listPane, "Button3", QStringLiteral("全"), "表示されているすべてのファイルを選択します。");
  m_listButtons[2] = SmallButton(listPane, "Button4", QStringLiteral("解"), "ファイル一覧のすべての選択を解除します。");
  m_listButtons[3] = SmallButton(listPane, "Button1", QStringLiteral("▲"), "選択したファイルの順番を上げます。");
  m_listButtons[4] = SmallButton(listPane, "Button2", QStringLiteral("▼"), "選択したファイルの順番を下げます。");
  m_listButtons[5] = SmallButton(listPane, "htmButton", QStringLiteral("htm"), "指定されたhtmlファイルを開きます。");
  m_listButtons[6] = SmallButton(listPane, "NoPicButton", QStringLiteral("P"), "実行時のPreview Windowの表示切換");
  m_listButtons[6]->setCheckable(true);
  m_listButtons[6]->setChecked(true);
  buttons->addSpacing(17);
  for (auto* b : m_listButtons) buttons->addWidget(b);
  buttons->addStretch();
  listLayout->addLayout(buttons);

  auto* previewPane = new QWidget(m_splitter);
  auto* previewLayout = new QVBoxLayout(previewPane);
  previewLayout->setContentsMargins(0, 0, 0, 0);
  previewLayout->setSpacing(0);
  previewLayout->addWidget(new QLabel(QStringLiteral("Preview Window"), previewPane));
  m_panel3 = new QFrame(previewPane);
  m_panel3->setObjectName(QStringLiteral("Panel3"));
  static_cast<QFrame*>(m_panel3)->setFrameShape(QFrame::StyledPanel);
  m_panel3->setMinimumSize(100, kPreviewBox);
  m_panel3->installEventFilter(this);
  previewLayout->addWidget(m_panel3, 1);
  m_image1 = new QLabel(m_panel3);
  m_image1->setObjectName(QStringLiteral("Image1"));
  m_image1->hide();
  m_splitter->addWidget(listPane);
  m_splitter->addWidget(previewPane);
  outer->addWidget(m_splitter, 1);

  auto* bar = new QStatusBar(this);
  bar->setObjectName(QStringLiteral("StatusBar1"));
  setStatusBar(bar);
  const int widths[3] = {233, 88, 50};
  for (int i = 0; i < 3; ++i) {
    m_status[i] = new QLabel(bar);
    m_status[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    m_status[i]->setFixedWidth(widths[i]);
    m_status[i]->setFrameShape(QFrame::Panel);
    m_status[i]->setFrameShadow(QFrame::Sunken);
    if (i > 0) m_status[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bar->addWidget(m_status[i]);
  }

  // Pop-up menus of the picture list and the folder list.
  m_popup1 = new QMenu(this);
  m_popup1->setObjectName(QStringLiteral("PopupMenu1"));
  m_popup1->addAction(QStringLiteral("最上部に移動"), this, &TMain::moveToTop)->setObjectName(QStringLiteral("moveTop1"));
  m_popup1->addAction(QStringLiteral("最下部に移動"), this, &TMain::moveToBottom)
      ->setObjectName(QStringLiteral("moveBottom1"));
  m_popup1->addSeparator();
  m_popup1->addAction(QStringLiteral("最新の情報に更新"), this, &TMain::refresh)->setObjectName(QStringLiteral("refresh1"));
  m_popup2 = new QMenu(this);
  m_popup2->setObjectName(QStringLiteral("PopupMenu2"));
  m_popup2->addAction(QStringLiteral("次のフォルダへ"), this, &TMain::nextFolder)
      ->setObjectName(QStringLiteral("nextFolder2"));
  m_popup2->addSeparator();
  m_popup2->addAction(QStringLiteral("最新の情報に更新"), this, &TMain::refresh)->setObjectName(QStringLiteral("refresh2"));
  OpenMenuFromKeyboard(m_oldFile);
  OpenMenuFromKeyboard(m_dir1);
  connect(m_oldFile, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { m_popup1->popup(m_oldFile->viewport()->mapToGlobal(p)); });
  connect(m_dir1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { m_popup2->popup(m_dir1->viewport()->mapToGlobal(p)); });

  connect(m_button7, &QPushButton::clicked, this, &TMain::execute);
  connect(m_button8, &QPushButton::clicked, this, &TMain::abortRun);
  connect(m_button5, &QPushButton::clicked, this, &TMain::nextFolder);
  connect(m_button9, &QPushButton::clicked, this, &TMain::loadFolderSettings);
  connect(m_button10, &QPushButton::clicked, this, &TMain::chooseCommentColour);
  connect(m_listButtons[0], &QToolButton::clicked, this, &TMain::refresh);
  connect(m_listButtons[1], &QToolButton::clicked, this, &TMain::selectAll);
  connect(m_listButtons[2], &QToolButton::clicked, this, &TMain::selectNone);
  connect(m_listButtons[3], &QToolButton::clicked, this, &TMain::moveUp);
  connect(m_listButtons[4], &QToolButton::clicked, this, &TMain::moveDown);
  connect(m_listButtons[5], &QToolButton::clicked, this, &TMain::openPage);
  connect(m_listButtons[6], &QToolButton::toggled, this, &TMain::togglePreview);
  connect(m_upDown1, &UpDown::valueChanged, this, [this](int v) { m_edit2->setText(QString::number(v)); });
  connect(m_oldFile, &QListWidget::itemSelectionChanged, this, [this] {
    if (!m_redrawing) takeSelectionFromList();
  });
  connect(m_oldFile, &QListWidget::itemClicked, this, &TMain::preview);
  connect(m_oldFile, &QListWidget::itemDoubleClicked, this, &TMain::openPicture);
  connect(m_dir1, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { goToPath(item->data(Qt::UserRole).toString()); });
  connect(m_drive1, &QComboBox::activated, this, [this](int index) { goToPath(m_drive1->itemData(index).toString()); });
  connect(m_splitter, &QSplitter::splitterMoved, this, [this] { clampSplitter(); });

  setTabOrder(m_button7, m_title);
  setTabOrder(m_title, m_upDown1);
  setTabOrder(m_upDown1, m_commentBox);
  setTabOrder(m_commentBox, m_button9);
  setTabOrder(m_button9, m_button10);
  setTabOrder(m_button10, m_drive1);
  setTabOrder(m_drive1, m_button5);
  setTabOrder(m_button5, m_dir1);
  setTabOrder(m_dir1, m_oldFile);
}

// The controls an album run disables, in the order they are listed for it.
void TMain::setRunControlsEnabled(bool enabled) {
  QWidget* widgets[] = {m_drive1,         m_dir1,           m_oldFile,        m_listButtons[3], m_listButtons[4],
                        m_listButtons[1], m_listButtons[2], m_listButtons[0], m_button5,        m_button6,
                        m_button9,        m_button10,       m_upDown1,        m_title,          m_commentBox,
                        m_listButtons[5], m_coolBar};
  for (QWidget* w : widgets) w->setEnabled(enabled);
  for (QMenu* m : {m_file2, m_edit1, m_help1}) m->menuAction()->setEnabled(enabled);
  if (enabled) m_listButtons[5]->setEnabled(m_pageFound);
}

// --- the core's view of the window ---

void TMain::note(const Message& detail) {
  const std::string text = MessageText(detail).toStdString();
  qWarning("%s", text.c_str());
  m_pendingNote = text;
}

void TMain::showPendingNote() {
  // A note no message of its command took is shown when the command ends,
  // not under the next command's message.
  if (!m_pendingNote.empty()) m_dialogs.message(this, Q(std::exchange(m_pendingNote, {})));
}

void TMain::showMessage(const Message& message) { showWindowMessage(MessageText(message)); }

void TMain::showWindowMessage(QString t) {
  t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  if (!m_pendingNote.empty()) t += QStringLiteral("\n\n") + Q(std::exchange(m_pendingNote, {}));
  m_dialogs.message(this, t);
}

bool TMain::askYesNo(const Message& question, const Message& caption) {
  QString t = MessageText(question);
  t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return m_dialogs.question(this, t, MessageText(caption));
}

void TMain::setStatus(StatusPanel panel, const Message& text) {
  const int i = static_cast<int>(panel);
  if (i < 0 || i > 2) return;
  m_status[i]->setText(MessageText(text));
}

bool TMain::processEvents() {
  // The point where a run hears Abort; the click itself may have come in
  // while the run waited (letEventsRun).
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  return m_abortRequested;
}

void TMain::letEventsRun() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void TMain::openWithProgram(const std::string& program, const std::string& document, const std::string& folder) {
  m_dialogs.startProgram(Q(program), Q(document), Q(folder));
}

void TMain::openWithAssociatedProgram(const std::string& path) { m_dialogs.openDocument(Q(path)); }

void TMain::beginRun() {
  m_busy = true;
  m_abortRequested = false;
  m_image1->hide();
  m_image1->setScaledContents(false);
  m_button9AtStart = m_button9->isEnabled();
  m_button7->hide();
  m_button8->show();
  setRunControlsEnabled(false);
}

void TMain::endRun(bool earlyEnd) {
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
  m_busy = false;
}

void TMain::showPreview(const Bitmap& thumbnail) {
  const QImage image = ToQImage(thumbnail);
  m_image1->setPixmap(QPixmap::fromImage(image));
  m_image1->resize(image.size());
  centrePreview();
  m_image1->setVisible(m_session.main.previewOn);
  m_image1->repaint();
}

void TMain::setPicturesPerRow(int16_t count) {
  m_upDown1->setValue(count);
  m_edit2->setText(QString::number(m_upDown1->value()));
  m_session.perRow = m_upDown1->value();
}

void TMain::setLoadButtonEnabled(bool enabled) { m_button9->setEnabled(enabled); }

std::optional<std::string> TMain::chooseOpenFile(const Message& filter, const std::string& folder) {
  auto path = m_dialogs.openFile(this, MessageText(filter), Q(folder));
  if (!path) return std::nullopt;
  return S(*path);
}

std::optional<std::string> TMain::chooseSaveFile(const Message& filter, const std::string& folder) {
  auto path = m_dialogs.saveFile(this, MessageText(filter), Q(folder));
  if (!path) return std::nullopt;
  return S(*path);
}

// --- folders and the picture list ---

bool TMain::goToPath(const QString& path) {
  if (m_busy || path.isEmpty()) return false;
  const std::string p = AbsolutePath(S(path));
  setFolder(FileExists(p) ? ParentFolder(p) : p);
  return true;
}

void TMain::setFolder(const std::string& wanted) {
  std::string folder = wanted;
  if (!FolderExists(folder) || !ListFiles(folder).ok) {
    // A folder that cannot be shown: the home folder instead, without a message.
    folder = S(homeFolder());
  }
  EnterFolder(m_session, folder, *this);
  m_title->setText(Q(m_session.main.albumTitle));
  fillDriveList();
  fillFolderList();
  refillPictureList();
}

void TMain::fillDriveList() { FillDriveBox(m_drive1, Q(m_session.main.currentFolder)); }

void TMain::fillFolderList() {
  const std::string& folder = m_session.main.currentFolder;
  const size_t skipped = FillFolderList(m_dir1, folder);
  if (skipped) warnPassedOver(folder, skipped);
}

void TMain::refillPictureList() {
  PictureListRefill refill = RefillPictureList(m_session.main.currentFolder, m_session.settings.htmlFileName);
  if (!refill.ok) {
    note(Detail(refill.error));
    if (m_session.main.currentFolder != S(homeFolder())) {
      setFolder(S(homeFolder()));
      return;
    }
  }
  if (refill.skippedNames > 0) warnPassedOver(m_session.main.currentFolder, refill.skippedNames);
  m_session.pictures = std::move(refill.pictures);
  m_pageFound = refill.pageFound;
  m_listButtons[5]->setEnabled(m_pageFound && !m_busy);
  m_image1->hide();
  m_image1->setPixmap(QPixmap());
  redrawPictureList();
  m_oldFile->scrollToTop();
}

void TMain::redrawPictureList() {
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

void TMain::takeSelectionFromList() {
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

void TMain::warnPassedOver(const std::string& folder, size_t count) {
  // Names that are not UTF-8 cannot be shown or passed on; the user sees how many were left out.
  const std::string text = folder + ": " + std::to_string(count) + " names are not UTF-8 and are not listed";
  qWarning("%s", text.c_str());
  setStatus(StatusPanel::Step, Detail(text));
}

void TMain::refresh() {
  if (m_busy) return;
  fillFolderList();
  refillPictureList();
}

void TMain::nextFolder() {
  if (m_busy) return;
  setFolder(NextFolder(m_session.main.currentFolder));
}

void TMain::selectAll() {
  SelectAll(m_session.pictures);
  redrawPictureList();
  m_oldFile->scrollToTop();
}

void TMain::selectNone() {
  SelectNone(m_session.pictures);
  redrawPictureList();
  m_oldFile->scrollToTop();
}

void TMain::moveUp() {
  if (MoveUp(m_session.pictures) == MoveResult::CannotMove) return showMessage(pictavo::msg::kCannotMove);
  redrawPictureList();
}

void TMain::moveDown() {
  if (MoveDown(m_session.pictures) == MoveResult::CannotMove) return showMessage(pictavo::msg::kCannotMove);
  redrawPictureList();
}

void TMain::moveToTop() {
  if (MoveToTop(m_session.pictures) == MoveResult::Moved) redrawPictureList();
}

void TMain::moveToBottom() {
  if (MoveToBottom(m_session.pictures) == MoveResult::Moved) redrawPictureList();
}

void TMain::preview() {
  if (!m_session.main.previewOn) return;
  m_image1->setScaledContents(true);
  m_image1->hide();
  if (!m_previewDecoder) setPreviewDecode({});
  const auto first = FirstSelected(m_session.pictures);
  if (!first) {
    m_previewDecoder->cancel();
    return;
  }
  // The click is answered now; the picture follows from the decoder's
  // thread, so a large photograph never holds the window.
  m_previewPath = FolderBase(m_session.main.currentFolder) + m_session.pictures[*first].name;
  (void)m_previewDecoder->request(m_previewPath);
}

void TMain::showDecodedPreview(uint64_t ticket, const std::string& path, const PreviewPicture& picture) {
  // Overtaken by a later click, or the window moved on meanwhile (a run, a
  // folder change, another selection): nothing of it is shown.
  if (!m_previewDecoder || !m_previewDecoder->current(ticket) || m_busy || !m_session.main.previewOn) return;
  const auto first = FirstSelected(m_session.pictures);
  if (!first || FolderBase(m_session.main.currentFolder) + m_session.pictures[*first].name != path) return;
  if (!picture.ok) {
    showMessage(Detail(picture.error));
    return;
  }
  m_image1->setPixmap(QPixmap::fromImage(ToQImage(picture.picture)));
  m_image1->resize(picture.fitWidth, picture.fitHeight);
  centrePreview();
  m_image1->show();
}

void TMain::openPicture() {
  const auto first = FirstSelected(m_session.pictures);
  if (!first) return;
  const std::string& name = m_session.pictures[*first].name;
  const std::string folder = FolderBase(m_session.main.currentFolder);
  if (LowerAscii(Extension(name)) == ".jpg" && !m_session.settings.externalViewerPath.empty()) {
    openWithProgram(m_session.settings.externalViewerPath, name, folder);
  } else {
    openWithAssociatedProgram(folder + name);
  }
}

void TMain::openPage() {
  const std::string folder = FolderBase(m_session.main.currentFolder);
  const std::string page = folder + m_session.settings.htmlFileName;
  if (!m_session.settings.browserPath.empty()) {
    openWithProgram(m_session.settings.browserPath, page, folder);
  } else {
    openWithAssociatedProgram(page);
  }
}

void TMain::togglePreview(bool on) {
  m_session.main.previewOn = on;
  m_image1->setVisible(on && !m_image1->pixmap().isNull());
}

// --- settings and the upper panel ---

void TMain::loadFolderSettings() {
  {
    SessionWindow mirror(m_session, *this);
    // The command shows its messages itself; a refused file is silent by design.
    (void)LoadFolderSettings(m_session.settings, m_session.main, mirror);
  }
  showPendingNote();
}

void TMain::saveSettingsFile() {
  {
    SessionWindow mirror(m_session, *this);
    // The command shows its messages itself.
    (void)SettingsSaveCommand(m_session.settings, m_session.main, mirror);
  }
  showPendingNote();
}

void TMain::loadSettingsFile() {
  {
    SessionWindow mirror(m_session, *this);
    // The command shows its messages itself; a refused file is silent by design.
    (void)SettingsLoadCommand(m_session.settings, m_session.main, mirror);
  }
  showPendingNote();
}

void TMain::chooseCommentColour() {
  const QColor preset = FromColorRef(m_session.main.commentColor);
  const QColor chosen = m_dialogs.chooseColour(this, preset).value_or(preset);
  m_session.main.commentColor = ToColorRef(chosen);
  showCommentColour();
}

void TMain::showCommentColour() {
  QPalette p = m_panel7->palette();
  p.setColor(QPalette::Window, FromColorRef(m_session.main.commentColor));
  m_panel7->setPalette(p);
}

void TMain::chooseFolder() {
  if (m_busy) return;
  const QString start = m_lastChosenFolder.isEmpty() ? Q(m_session.main.currentFolder) : m_lastChosenFolder;
  const auto chosen = m_dialogs.chooseFolder(this, QString::fromUtf8(msg::kChooseFolderTitle), start);
  if (!chosen) return;
  m_lastChosenFolder = *chosen;
  if (!FolderExists(AbsolutePath(S(*chosen)))) return showWindowMessage(tr(msg::kChooseFolderFailed));
  goToPath(*chosen);
}

void TMain::showAbout() {
  QDialog about(this);
  about.setObjectName(QStringLiteral("TAbout"));
  about.setWindowTitle(QStringLiteral("バージョン情報"));
  about.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
  auto* layout = new QVBoxLayout(&about);
  auto* version = new QLabel(QStringLiteral("Pictavo Ver") + Q(m_session.main.programVersion) + QStringLiteral(" "), &about);
  version->setObjectName(QStringLiteral("Verlabel"));
  layout->addWidget(version);
  auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok, &about);
  connect(ok, &QDialogButtonBox::accepted, &about, &QDialog::accept);
  layout->addWidget(ok);
  about.move(pos() + QPoint(50, 120));
  about.exec();
}

// --- window events ---

void TMain::restoreWindowPosition(const std::string& leftText, const std::string& topText) {
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

void TMain::centrePreview() {
  m_image1->move(CentreOffset(m_panel3->width(), m_image1->width()),
                 CentreOffset(m_panel3->height(), m_image1->height()));
}

void TMain::clampSplitter() {
  QList<int> sizes = m_splitter->sizes();
  if (sizes.size() != 2) return;
  const int total = sizes[0] + sizes[1];
  const int position = ClampSplitter(sizes[0], m_splitter->width());
  if (position == sizes[0]) return;
  m_splitter->setSizes({position, std::max(0, total - position)});
}

bool TMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_panel3 && event->type() == QEvent::Resize) centrePreview();
  return QMainWindow::eventFilter(watched, event);
}

void TMain::closeEvent(QCloseEvent* event) {
  // Closing during a run would free the window the run still reports to.
  if (m_busy) {
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

void TMain::keyPressEvent(QKeyEvent* event) {
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

void TMain::dragEnterEvent(QDragEnterEvent* event) {
  if (!m_busy && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TMain::dropEvent(QDropEvent* event) {
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) paths << url.toLocalFile();
  }
  if (dropPaths(paths)) event->acceptProposedAction();
}

bool TMain::dropPaths(const QStringList& paths) {
  // A refill during a run would change the list the run reads.
  if (m_busy || paths.isEmpty()) return false;
  return goToPath(paths.back());
}

void TMain::handOver(const QStringList& arguments) {
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
void TMain::execute() { (void)runAlbum(); }

RunOutcome TMain::runAlbum() {
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

void TMain::deselectPicture(const std::string& name) {
  for (PictureEntry& p : m_session.pictures) {
    if (p.name == name) p.selected = false;
  }
  redrawPictureList();
}

void TMain::setPreviewSwitch(bool on) {
  m_listButtons[6]->setChecked(on);
  togglePreview(on);
}

void TMain::abortRun() { m_abortRequested = true; }

}  // namespace pictavo::gui
