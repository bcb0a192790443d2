#include "batch_window.h"

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

#include "main_window.h"
#include "platform/paths.h"
#include "qt_convert.h"
#include "session/session.h"
#include "toc_window.h"

namespace pictavo::gui {

void MainWindowDriver::moveToFolder(const std::string& folder) {
  m_wanted = AbsolutePath(folder);
  m_main.goToPath(Q(m_wanted));
}

bool MainWindowDriver::onWantedFolder() const { return m_main.session().main.currentFolder == m_wanted; }

const std::vector<PictureEntry>& MainWindowDriver::listPictures() {
  return onWantedFolder() ? m_main.session().pictures : m_none;
}

void MainWindowDriver::deselect(const std::string& name) {
  if (onWantedFolder()) m_main.deselectPicture(name);
}

RunOutcome MainWindowDriver::runAlbum() { return onWantedFolder() ? m_main.runAlbum() : RunOutcome::Failed; }

Tautorunform::Tautorunform(TMain& main, Tmokuji& toc, Dialogs& dialogs)
    : QDialog(&main), WindowHost(dialogs, this), m_main(main), m_toc(toc) {
  setObjectName(QStringLiteral("Tautorunform"));
  setWindowTitle(QStringLiteral("連続ファイル作成"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);

  auto* panel1 = new QLabel(QStringLiteral("HTMLファイル作成"), this);
  panel1->setObjectName(QStringLiteral("Panel1"));
  panel1->setAlignment(Qt::AlignCenter);
  panel1->setFrameShape(QFrame::Panel);
  panel1->setFrameShadow(QFrame::Raised);
  panel1->setMinimumHeight(28);
  QFont heading = panel1->font();
  heading.setBold(true);
  panel1->setFont(heading);

  auto* count = new QHBoxLayout;
  auto* label2 = new QLabel(QStringLiteral("対象のフォルダが"), this);
  label2->setObjectName(QStringLiteral("Label2"));
  m_edit2 = new QLineEdit(this);
  m_edit2->setObjectName(QStringLiteral("Edit2"));
  m_edit2->setReadOnly(true);
  m_edit2->setFixedWidth(48);
  m_edit2->setAlignment(Qt::AlignRight);
  auto* label3 = new QLabel(QStringLiteral("個存在します。"), this);
  label3->setObjectName(QStringLiteral("Label3"));
  count->addWidget(label2);
  count->addWidget(m_edit2);
  count->addWidget(label3);
  count->addStretch();

  m_button1 = new QPushButton(QStringLiteral("実行"), this);
  m_button1->setObjectName(QStringLiteral("Button1"));
  m_button1->setMinimumHeight(32);
  m_button2 = new QPushButton(QStringLiteral("中止"), this);
  m_button2->setObjectName(QStringLiteral("Button2"));
  m_button2->setMinimumHeight(32);
  m_button2->hide();
  m_speedButton1 = new QToolButton(this);
  m_speedButton1->setObjectName(QStringLiteral("SpeedButton1"));
  m_speedButton1->setText(QStringLiteral("P"));  // the main window's preview switch
  m_speedButton1->setToolTip(QStringLiteral("連続処理時の画像表示切換"));
  m_speedButton1->setCheckable(true);
  m_speedButton1->setChecked(true);
  m_speedButton1->setFixedSize(32, 32);
  auto* buttons = new QGridLayout;
  buttons->addWidget(m_button1, 0, 0);
  buttons->addWidget(m_button2, 0, 0);  // 中止 takes 実行's place and size during a run
  buttons->addWidget(m_speedButton1, 0, 1);

  m_label1 = new QLabel(QStringLiteral("現在の作業フォルダ"), this);
  m_label1->setObjectName(QStringLiteral("Label1"));
  m_edit1 = new QLineEdit(this);
  m_edit1->setObjectName(QStringLiteral("Edit1"));
  m_edit1->setReadOnly(true);
  m_progressBar1 = new QProgressBar(this);
  m_progressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  m_progressBar1->setTextVisible(false);
  m_panel3 = new QLabel(this);
  m_panel3->setObjectName(QStringLiteral("Panel3"));
  m_panel3->setFrameShape(QFrame::Panel);
  m_panel3->setFrameShadow(QFrame::Sunken);
  m_panel3->setMinimumHeight(20);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(panel1);
  layout->addLayout(count);
  layout->addLayout(buttons);
  layout->addWidget(m_label1);
  layout->addWidget(m_edit1);
  layout->addWidget(m_progressBar1);
  layout->addWidget(m_panel3);
  // The working-folder line keeps its room while hidden, so nothing jumps.
  for (QWidget* w : {static_cast<QWidget*>(m_label1), static_cast<QWidget*>(m_edit1)}) {
    QSizePolicy keep = w->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    w->setSizePolicy(keep);
  }
  resize(300, 230);

  connect(m_button1, &QPushButton::clicked, this, &Tautorunform::run);
  connect(m_button2, &QPushButton::clicked, this, &Tautorunform::abort);
  // The switch and the main window's preview button are one switch.
  connect(m_speedButton1, &QToolButton::toggled, this, [this](bool on) { m_main.setPreviewSwitch(on); });
}

void Tautorunform::openFor(int targetCount) {
  m_label1->hide();
  m_edit1->hide();
  m_edit1->clear();
  m_panel3->setText(Q(BatchProgressText(0, targetCount)));
  m_edit2->setText(QString::number(targetCount));
  m_progressBar1->setRange(0, std::max(1, targetCount));
  m_progressBar1->setValue(0);
  {
    const QSignalBlocker quiet(m_speedButton1);
    m_speedButton1->setChecked(m_main.session().main.previewOn);
  }
  m_button1->setEnabled(true);
  move(m_main.frameGeometry().left() + 80, m_main.frameGeometry().top() + 50);
  ShowModal(this);
}

void Tautorunform::run() {
  if (m_running) return;
  const int targets = m_edit2->text().toInt();
  m_progressBar1->setRange(0, std::max(1, targets));
  m_progressBar1->setValue(0);
  m_abort = false;
  m_running = true;
  const TocOptions toc = m_toc.options();
  Session& session = m_main.session();
  MainWindowDriver driver(m_main);
  BatchJob job{toc, session.settings, session.main, driver, *this, Today()};
  // Its messages have been shown through this window; nothing is left to say.
  (void)RunBatch(job, targets);
  m_running = false;
  hide();
}

void Tautorunform::abort() { m_abort = true; }

bool Tautorunform::processEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  return m_abort;
}

void Tautorunform::setStatus(StatusPanel panel, const Message& text) { m_toc.setStatus(panel, text); }

void Tautorunform::showTocProgress(const std::string& text) { m_toc.showTocProgress(text); }

void Tautorunform::beginBatch() {
  m_button1->hide();
  m_button2->show();
  m_toc.hide();
}

void Tautorunform::showBatchFolder(const std::string& folderName) {
  m_label1->show();
  m_edit1->show();
  m_edit1->setText(Q(folderName));
  m_label1->repaint();
  m_edit1->repaint();
}

void Tautorunform::showBatchProgress(const std::string& text) {
  m_panel3->setText(Q(text));
  m_panel3->repaint();
}

void Tautorunform::stepBatchProgress() { m_progressBar1->setValue(m_progressBar1->value() + 1); }

void Tautorunform::beforeTableOfContents() { m_toc.show(); }

void Tautorunform::endBatch() {
  m_button2->hide();
  m_button1->show();
  m_button1->setEnabled(true);
  m_toc.show();
}

void Tautorunform::reject() {
  // Closing mid-run would free the window the run reports to.
  if (!m_running) QDialog::reject();
}

void Tautorunform::closeEvent(QCloseEvent* event) {
  if (m_running) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

}  // namespace pictavo::gui
