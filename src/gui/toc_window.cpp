#include "toc_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "batch_window.h"
#include "folder_widgets.h"
#include "main_window.h"
#include "publish_window.h"
#include "platform/paths.h"
#include "qt_convert.h"
#include "session/session.h"
#include "toc/discovery.h"

namespace pictavo::gui {

namespace {
constexpr int kMinFrameTitleSize = 1;
constexpr int kMaxFrameTitleSize = 7;
}  // namespace

Tmokuji::Tmokuji(TMain& main, Dialogs& dialogs) : QDialog(&main), WindowHost(dialogs, this), m_main(main) {
  setObjectName(QStringLiteral("Tmokuji"));
  setWindowTitle(QStringLiteral("目次作成"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
  buildControls();
  setFrameTitleSize(m_frameTitleSize);
  showBackgroundColour();
  // Placed beside the main window as it stands when the window is made.
  move(main.frameGeometry().left() + 30, main.frameGeometry().top() + 100);
}

Tmokuji::~Tmokuji() = default;

void Tmokuji::buildControls() {
  auto* menuBar = new QMenuBar(this);
  QMenu* file = menuBar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
  file->setObjectName(QStringLiteral("N1"));
  QAction* batch = file->addAction(QStringLiteral("連続アルバム作成"), this, &Tmokuji::openBatch);
  batch->setObjectName(QStringLiteral("N2"));
  QAction* publish = file->addAction(QStringLiteral("公開用コピーの作成"), this, &Tmokuji::openPublish);
  publish->setObjectName(QStringLiteral("PublishItem"));
  file->addSeparator();
  file->addAction(QStringLiteral("終了"), this, &Tmokuji::close)->setObjectName(QStringLiteral("N3"));
  QMenu* help = menuBar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
  help->setObjectName(QStringLiteral("N4"));
  help->addAction(QStringLiteral("この項目のﾍﾙﾌﾟ"))->setObjectName(QStringLiteral("N5"));  // no action

  // Left: the folder to create in.
  auto* left = new QVBoxLayout;
  left->addWidget(new QLabel(QStringLiteral("作成フォルダ"), this));
  m_folders = new FolderPane(this);
  left->addWidget(m_folders->drive());
  left->addWidget(m_folders->list(), 1);

  // Right: the page's options.
  auto* right = new QGridLayout;
  right->addWidget(new QLabel(QStringLiteral("目次のタイトル"), this), 0, 0, 1, 3);
  m_title = new QLineEdit(this);
  m_title->setObjectName(QStringLiteral("HPtytlebox"));
  right->addWidget(m_title, 1, 0, 1, 3);
  m_frameCheck = new QCheckBox(QStringLiteral("フレームを使用する。"), this);
  m_frameCheck->setObjectName(QStringLiteral("framecheck"));
  right->addWidget(m_frameCheck, 2, 0, 1, 3);
  right->addWidget(new QLabel(QStringLiteral("フレーム使用時のタイトルサイズ"), this), 3, 0, 1, 2);
  m_edit5 = new QLineEdit(this);
  m_edit5->setObjectName(QStringLiteral("Edit5"));
  m_edit5->setReadOnly(true);
  m_edit5->setFixedWidth(28);
  m_upDown1 = new QWidget(this);
  m_upDown1->setObjectName(QStringLiteral("UpDown1"));
  auto* arrows = new QVBoxLayout(m_upDown1);
  arrows->setContentsMargins(0, 0, 0, 0);
  arrows->setSpacing(0);
  for (const bool up : {true, false}) {
    auto* b = new QToolButton(m_upDown1);
    b->setObjectName(up ? QStringLiteral("UpDown1Up") : QStringLiteral("UpDown1Down"));
    b->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
    b->setFixedSize(16, 11);
    arrows->addWidget(b);
    connect(b, &QToolButton::clicked, this, [this, up] { setFrameTitleSize(m_frameTitleSize + (up ? 1 : -1)); });
  }
  auto* size = new QHBoxLayout;
  size->setSpacing(0);
  size->addWidget(m_edit5);
  size->addWidget(m_upDown1);
  size->addStretch();
  right->addLayout(size, 3, 2);
  m_check2 = new QCheckBox(QStringLiteral("目次に画像を表示する"), this);
  m_check2->setObjectName(QStringLiteral("Check2"));
  right->addWidget(m_check2, 4, 0, 1, 3);
  m_panel2 = new QLabel(QStringLiteral("背景色"), this);
  m_panel2->setObjectName(QStringLiteral("Panel2"));
  m_panel2->setAlignment(Qt::AlignCenter);
  m_panel2->setAutoFillBackground(true);
  m_panel2->setFrameShape(QFrame::Panel);
  m_panel2->setFrameShadow(QFrame::Sunken);
  m_panel2->setMinimumHeight(24);
  m_button3 = new QPushButton(QStringLiteral("背景色変更"), this);
  m_button3->setObjectName(QStringLiteral("Button3"));
  right->addWidget(m_panel2, 5, 0, 1, 2);
  right->addWidget(m_button3, 5, 2);
  m_check3 = new QCheckBox(QStringLiteral("背景に画像ファイルを使用する"), this);
  m_check3->setObjectName(QStringLiteral("Check3"));
  right->addWidget(m_check3, 6, 0, 1, 3);
  m_edit2 = new QLineEdit(this);
  m_edit2->setObjectName(QStringLiteral("Edit2"));
  m_edit2->setReadOnly(true);
  m_button4 = new QPushButton(QStringLiteral("設定"), this);
  m_button4->setObjectName(QStringLiteral("Button4"));
  right->addWidget(m_edit2, 7, 0, 1, 2);
  right->addWidget(m_button4, 7, 2);
  right->setRowStretch(8, 1);
  m_button1 = new QPushButton(QStringLiteral("実行"), this);
  m_button1->setObjectName(QStringLiteral("Button1"));
  m_button1->setToolTip(QStringLiteral("目次となるページを作成します。"));
  m_button2 = new QPushButton(QStringLiteral("終了"), this);
  m_button2->setObjectName(QStringLiteral("Button2"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_button1);
  buttons->addWidget(m_button2);
  right->addLayout(buttons, 9, 0, 1, 3);

  auto* upper = new QHBoxLayout;
  upper->addLayout(left, 1);
  upper->addLayout(right, 1);

  // The status strip with the progress label at its right.
  m_label2 = new QLabel(this);
  m_label2->setObjectName(QStringLiteral("Label2"));
  m_label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_label2->setFrameShape(QFrame::Panel);
  m_label2->setFrameShadow(QFrame::Sunken);
  m_label2->setMinimumHeight(20);

  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menuBar);
  layout->addLayout(upper, 1);
  layout->addWidget(m_label2);
  resize(470, 340);

  // At creation the frame size and the background picture are off and disabled.
  for (QWidget* w : {static_cast<QWidget*>(m_edit5), m_upDown1, static_cast<QWidget*>(m_edit2),
                     static_cast<QWidget*>(m_button4)}) {
    w->setEnabled(false);
  }
  connect(m_frameCheck, &QCheckBox::toggled, this, [this](bool on) {
    m_edit5->setEnabled(on);
    m_upDown1->setEnabled(on);
  });
  connect(m_check3, &QCheckBox::toggled, this, [this](bool on) {
    m_edit2->setEnabled(on);
    m_button4->setEnabled(on);
  });
  connect(m_button1, &QPushButton::clicked, this, &Tmokuji::execute);
  connect(m_button2, &QPushButton::clicked, this, &Tmokuji::close);
  connect(m_button3, &QPushButton::clicked, this, &Tmokuji::chooseBackgroundColour);
  connect(m_button4, &QPushButton::clicked, this, &Tmokuji::chooseBackgroundPicture);
  connect(m_folders, &FolderPane::chosen, this, &Tmokuji::goTo);
}

void Tmokuji::openAt(const QString& folder) {
  goTo(folder);
  m_label2->clear();
  ShowModal(this);
}

void Tmokuji::goTo(const QString& wanted) {
  if (m_busy) return;
  const QString before = m_folders->folder();
  const QString shown = m_folders->goTo(wanted, QDir::homePath());
  if (shown != before) m_title->setText(Q(FolderTitle(S(shown))));
}

const QString& Tmokuji::folder() const { return m_folders->folder(); }

TocOptions Tmokuji::options() const {
  TocOptions o;
  o.tocFolder = S(folder());
  o.tocTitle = S(m_title->text());
  o.useFrames = m_frameCheck->isChecked();
  o.frameTitleSize = m_frameTitleSize;
  o.showPictures = m_check2->isChecked();
  o.tocBackgroundColor = m_backgroundColour;
  o.useBackgroundPicture = m_check3->isChecked();
  o.backgroundPicturePath = S(m_edit2->text());
  return o;
}

void Tmokuji::setFrameTitleSize(int size) {
  m_frameTitleSize = std::clamp(size, kMinFrameTitleSize, kMaxFrameTitleSize);
  m_edit5->setText(QString::number(m_frameTitleSize));
}

void Tmokuji::chooseBackgroundColour() {
  const QColor current = FromColorRef(m_backgroundColour);
  m_backgroundColour = ToColorRef(m_ui.dialogs().chooseColour(this, current).value_or(current));
  showBackgroundColour();
}

void Tmokuji::showBackgroundColour() {
  QPalette p = m_panel2->palette();
  const QColor colour = FromColorRef(m_backgroundColour);
  p.setColor(QPalette::Window, colour);
  p.setColor(QPalette::WindowText, colour.lightness() < 128 ? Qt::white : Qt::black);
  m_panel2->setPalette(p);
}

void Tmokuji::chooseBackgroundPicture() {
  const QString current = m_edit2->text();
  const QString start = current.isEmpty() ? folder() : QFileInfo(current).absolutePath();
  // A cancelled dialog keeps the picture chosen last.
  if (const auto path = m_ui.dialogs().openFile(this, QStringLiteral("画像ファイル|*.jpg;*.gif"), start)) {
    m_edit2->setText(*path);
  }
}

void Tmokuji::setBusy(bool busy) {
  m_busy = busy;
  for (QWidget* w : {static_cast<QWidget*>(m_button1), static_cast<QWidget*>(m_button2),
                     static_cast<QWidget*>(m_folders->drive()), static_cast<QWidget*>(m_folders->list())}) {
    w->setEnabled(!busy);
  }
}

void Tmokuji::execute() {
  if (m_busy) return;
  setBusy(true);
  m_label2->clear();
  Session& session = m_main.session();
  // Its messages have been shown through this window; nothing is left to say.
  (void)MakeTableOfContents(options(), session.settings, session.main, *this, Today());
  setBusy(false);
}

void Tmokuji::openBatch() {
  if (m_busy) return;
  if (!m_batch) m_batch = new Tautorunform(m_main, *this, m_ui.dialogs());
  setBusy(true);
  // Counting moves the main window through the folders as the run will.
  MainWindowDriver driver(m_main);
  const int targets = CountBatchTargets(options(), driver, *this);
  setBusy(false);
  if (targets > 0) m_batch->openFor(targets);
}

void Tmokuji::openPublish() {
  if (m_busy) return;
  if (!m_publish) m_publish = new TPublish(this, m_ui.dialogs(), m_main.session().main.programFolder);
  m_publish->openFor(folder());
}

void Tmokuji::setStatus(StatusPanel panel, const Message& text) {
  if (panel == StatusPanel::Counter) showTocProgress(MessageText(text).toStdString());
}

bool Tmokuji::processEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  return false;
}

void Tmokuji::showTocProgress(const std::string& text) {
  m_label2->setText(Q(text));
  m_label2->repaint();
}

void Tmokuji::closeEvent(QCloseEvent* event) {
  // The batch window or a command still reports to this window.
  if (m_busy || (m_batch && m_batch->isVisible()) || (m_publish && m_publish->busy())) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

}  // namespace pictavo::gui
