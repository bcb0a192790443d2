#include "toc_window.h"

#include "ui_toc_window.h"

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
#include "publish_window.h"
#include "platform/paths.h"
#include "qt_convert.h"
#include "session/session.h"
#include "toc/discovery.h"

namespace pictavo::gui {


TableOfContentsWindow::TableOfContentsWindow(Session& session, AlbumWindow& main, Dialogs& dialogs)
    : ToolWindow(main.widget(), Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint),
      WindowHost(dialogs, this),
      m_session(session),
      m_main(main),
      m_form(std::make_unique<Ui::TableOfContentsWindow>()) {
  Ui::TableOfContentsWindow& ui = *m_form;
  ui.setupUi(this);
  layout()->setMenuBar(ui.MenuBar1);
  m_folders = new FolderPane(ui.Drive1, ui.Dir1);
  m_title = ui.HPtytlebox;
  m_frameCheck = ui.framecheck;
  m_edit5 = ui.Edit5;
  m_upDown1 = ui.UpDown1;
  m_check2 = ui.Check2;
  m_panel2 = ui.Panel2;
  m_check3 = ui.Check3;
  m_edit2 = ui.Edit2;
  m_button4 = ui.Button4;
  m_label2 = ui.Label2;
  m_upDown1->setRange(kMinFrameTitleSize, kMaxFrameTitleSize);
  disableWhileBusy({ui.Button1, ui.Button2, ui.Drive1, ui.Dir1});

  connect(ui.N2, &QAction::triggered, this, &TableOfContentsWindow::openBatch);
  connect(ui.PublishItem, &QAction::triggered, this, &TableOfContentsWindow::openPublish);
  connect(ui.N3, &QAction::triggered, this, &TableOfContentsWindow::close);
  // N5 (この項目のﾍﾙﾌﾟ) does nothing.
  connect(m_frameCheck, &QCheckBox::toggled, this, [this](bool on) {
    m_edit5->setEnabled(on);
    m_upDown1->setEnabled(on);
  });
  connect(m_check3, &QCheckBox::toggled, this, [this](bool on) {
    m_edit2->setEnabled(on);
    m_button4->setEnabled(on);
  });
  connect(m_upDown1, &UpDown::valueChanged, this, &TableOfContentsWindow::setFrameTitleSize);
  connect(ui.Button1, &QPushButton::clicked, this, &TableOfContentsWindow::execute);
  connect(ui.Button2, &QPushButton::clicked, this, &TableOfContentsWindow::close);
  connect(ui.Button3, &QPushButton::clicked, this, &TableOfContentsWindow::chooseBackgroundColour);
  connect(ui.Button4, &QPushButton::clicked, this, &TableOfContentsWindow::chooseBackgroundPicture);
  connect(m_folders, &FolderPane::chosen, this, &TableOfContentsWindow::goTo);

  setFrameTitleSize(m_frameTitleSize);
  showBackgroundColour();
  // Placed beside the main window as it stands when the window is made.
  const QRect frame = main.widget()->frameGeometry();
  move(frame.left() + 30, frame.top() + 100);
}

TableOfContentsWindow::~TableOfContentsWindow() = default;

void TableOfContentsWindow::openAt(const QString& folder) {
  goTo(folder);
  m_label2->clear();
  ShowModal(this);
}

void TableOfContentsWindow::goTo(const QString& wanted) {
  if (busy()) return;
  const QString before = m_folders->folder();
  const QString shown = m_folders->goTo(wanted);
  if (shown != before) m_title->setText(Q(FolderTitle(S(shown))));
}

const QString& TableOfContentsWindow::folder() const { return m_folders->folder(); }

TocOptions TableOfContentsWindow::options() const {
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

void TableOfContentsWindow::setFrameTitleSize(int size) {
  m_frameTitleSize = std::clamp(size, kMinFrameTitleSize, kMaxFrameTitleSize);
  m_upDown1->setValue(m_frameTitleSize);
  m_edit5->setText(QString::number(m_frameTitleSize));
}

void TableOfContentsWindow::chooseBackgroundColour() {
  const QColor current = FromColorRef(m_backgroundColour);
  m_backgroundColour = ToColorRef(m_ui.dialogs().chooseColour(this, current).value_or(current));
  showBackgroundColour();
}

void TableOfContentsWindow::showBackgroundColour() {
  QPalette p = m_panel2->palette();
  const QColor colour = FromColorRef(m_backgroundColour);
  p.setColor(QPalette::Window, colour);
  p.setColor(QPalette::WindowText, colour.lightness() < 128 ? Qt::white : Qt::black);
  m_panel2->setPalette(p);
}

void TableOfContentsWindow::chooseBackgroundPicture() {
  const QString current = m_edit2->text();
  const QString start = current.isEmpty() ? folder() : QFileInfo(current).absolutePath();
  // A cancelled dialog keeps the picture chosen last.
  if (const auto path = m_ui.dialogs().openFile(this, tr("画像ファイル|*.jpg;*.gif"), start)) {
    m_edit2->setText(*path);
  }
}

void TableOfContentsWindow::execute() {
  if (busy()) return;
  setBusy(true);
  m_label2->clear();
  // Its messages have been shown through this window; nothing is left to say.
  (void)MakeTableOfContents(options(), m_session.settings, m_session.main, *this, Today());
  setBusy(false);
}

void TableOfContentsWindow::openBatch() {
  if (busy()) return;
  if (!m_batch) m_batch = new BatchWindow(m_session, m_main, *this, m_ui.dialogs());
  setBusy(true);
  // Counting moves the main window through the folders as the run will.
  MainWindowDriver driver(m_main, m_session);
  const int targets = CountBatchTargets(options(), driver, *this);
  setBusy(false);
  if (targets > 0) m_batch->openFor(targets);
}

void TableOfContentsWindow::openPublish() {
  if (busy()) return;
  if (!m_publish) m_publish = new PublishWindow(this, m_ui.dialogs(), m_session.main.programFolder);
  m_publish->openFor(folder());
}

void TableOfContentsWindow::setStatus(StatusPanel panel, const Message& text) {
  if (panel == StatusPanel::Counter) showTocProgress(MessageText(text).toStdString());
}

bool TableOfContentsWindow::processEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  return false;
}

void TableOfContentsWindow::showTocProgress(const std::string& text) {
  m_label2->setText(Q(text));
  m_label2->repaint();
}

bool TableOfContentsWindow::keepOpen() const {
  // The batch window or a command still reports to this window.
  return busy() || (m_batch && m_batch->isVisible()) || (m_publish && m_publish->busy());
}

}  // namespace pictavo::gui
