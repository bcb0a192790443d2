#include "batch_window.h"

#include "ui_batch_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/paths.h"
#include "qt_convert.h"
#include "session/session.h"
#include "toc_window.h"

namespace pictavo::gui {

void MainWindowDriver::moveToFolder(const std::string& folder) {
  m_wanted = AbsolutePath(folder);
  m_main.goToPath(Q(m_wanted));
}

bool MainWindowDriver::onWantedFolder() const { return m_session.main.currentFolder == m_wanted; }

const std::vector<PictureEntry>& MainWindowDriver::listPictures() {
  return onWantedFolder() ? m_session.pictures : m_none;
}

void MainWindowDriver::deselect(const std::string& name) {
  if (onWantedFolder()) m_main.deselectPicture(name);
}

RunOutcome MainWindowDriver::runAlbum() { return onWantedFolder() ? m_main.runAlbum() : RunOutcome::Failed; }

BatchWindow::BatchWindow(Session& session, AlbumWindow& main, TableOfContentsWindow& toc, Dialogs& dialogs)
    : ToolWindow(main.widget(), Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint),
      WindowHost(dialogs, this),
      m_session(session),
      m_main(main),
      m_toc(toc),
      m_form(std::make_unique<Ui::BatchWindow>()) {
  Ui::BatchWindow& ui = *m_form;
  ui.setupUi(this);
  m_edit2 = ui.Edit2;
  m_button1 = ui.Button1;
  m_button2 = ui.Button2;
  m_label1 = ui.Label1;
  m_edit1 = ui.Edit1;
  m_speedButton1 = ui.SpeedButton1;
  m_progressBar1 = ui.ProgressBar1;
  m_panel3 = ui.Panel3;
  m_button2->hide();  // 中止 takes 実行's place and size during a run
  // The working-folder line keeps its room while hidden, so nothing jumps.
  for (QWidget* w : {static_cast<QWidget*>(m_label1), static_cast<QWidget*>(m_edit1)}) {
    QSizePolicy keep = w->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    w->setSizePolicy(keep);
  }

  connect(m_button1, &QPushButton::clicked, this, &BatchWindow::run);
  connect(m_button2, &QPushButton::clicked, this, &BatchWindow::abort);
  // The switch and the main window's preview button are one switch.
  connect(m_speedButton1, &QToolButton::toggled, this, [this](bool on) { m_main.setPreviewSwitch(on); });
}

BatchWindow::~BatchWindow() = default;

void BatchWindow::openFor(int targetCount) {
  m_label1->hide();
  m_edit1->hide();
  m_edit1->clear();
  m_panel3->setText(Q(BatchProgressText(0, targetCount)));
  m_edit2->setText(QString::number(targetCount));
  m_progressBar1->setRange(0, std::max(1, targetCount));
  m_progressBar1->setValue(0);
  {
    const QSignalBlocker quiet(m_speedButton1);
    m_speedButton1->setChecked(m_session.main.previewOn);
  }
  m_button1->setEnabled(true);
  const QRect frame = m_main.widget()->frameGeometry();
  move(frame.left() + 80, frame.top() + 50);
  ShowModal(this);
}

void BatchWindow::run() {
  if (busy()) return;
  const int targets = m_edit2->text().toInt();
  m_progressBar1->setRange(0, std::max(1, targets));
  m_progressBar1->setValue(0);
  m_abort = false;
  setBusy(true);
  const TocOptions toc = m_toc.options();
  MainWindowDriver driver(m_main, m_session);
  BatchJob job{toc, m_session.settings, m_session.main, driver, *this, Today()};
  // Its messages have been shown through this window; nothing is left to say.
  (void)RunBatch(job, targets);
  setBusy(false);
  hide();
}

void BatchWindow::abort() { m_abort = true; }

bool BatchWindow::processEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  return m_abort;
}

void BatchWindow::setStatus(StatusPanel panel, const Message& text) { m_toc.setStatus(panel, text); }

void BatchWindow::showTocProgress(const std::string& text) { m_toc.showTocProgress(text); }

void BatchWindow::beginBatch() {
  m_button1->hide();
  m_button2->show();
  m_toc.hide();
}

void BatchWindow::showBatchFolder(const std::string& folderName) {
  m_label1->show();
  m_edit1->show();
  m_edit1->setText(Q(folderName));
  m_label1->repaint();
  m_edit1->repaint();
}

void BatchWindow::showBatchProgress(const std::string& text) {
  m_panel3->setText(Q(text));
  m_panel3->repaint();
}

void BatchWindow::stepBatchProgress() { m_progressBar1->setValue(m_progressBar1->value() + 1); }

void BatchWindow::beforeTableOfContents() { m_toc.show(); }

void BatchWindow::endBatch() {
  m_button2->hide();
  m_button1->show();
  m_button1->setEnabled(true);
  m_toc.show();
}

}  // namespace pictavo::gui
