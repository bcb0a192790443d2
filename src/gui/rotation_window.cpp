#include "rotation_window.h"

#include <QApplication>
#include <QPointer>

#include "ui_rotation_window.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

#include "tool_window.h"
#include "qt_convert.h"

namespace pictavo::gui {

RotationWindow::RotationWindow(Dialogs& dialogs, const AlbumSettings& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ToolWindowHost(dialogs, this),
      m_walk(*this, settings),
      m_form(std::make_unique<Ui::RotationWindow>()) {
  Ui::RotationWindow& ui = *m_form;
  ui.setupUi(this);
  m_edit1 = ui.Edit1;
  m_upDown1 = ui.UpDown1;
  m_panel = ui.Panel1;
  m_image2 = ui.Image2;
  m_button[1] = ui.Button1;
  m_button[2] = ui.Button2;
  m_button[3] = ui.Button3;
  m_button[4] = ui.Button4;
  m_button[5] = ui.Button5;
  m_button[6] = ui.Button6;
  m_upDown1->setRange(kRotationMinQuality, kRotationMaxQuality);
  // Only this window's quality: the settings keep theirs.
  connect(m_upDown1, &UpDown::valueChanged, this, &RotationWindow::setQuality);
  connect(ui.Button1, &QPushButton::clicked, this, &RotationWindow::rotateRight);
  connect(ui.Button2, &QPushButton::clicked, this, &RotationWindow::rotateLeft);
  connect(ui.Button4, &QPushButton::clicked, this, &RotationWindow::save);
  connect(ui.Button3, &QPushButton::clicked, this, &RotationWindow::next);
  connect(ui.Button6, &QPushButton::clicked, this, &RotationWindow::back);
  connect(ui.Button5, &QPushButton::clicked, this, &RotationWindow::finish);

  m_popup1 = new QMenu(this);
  m_popup1->setObjectName(QStringLiteral("PopupMenu1"));
  m_popup1->addAction(tr("右回転"), this, &RotationWindow::rotateRight)->setObjectName(QStringLiteral("N1"));
  m_popup1->addAction(tr("左回転"), this, &RotationWindow::rotateLeft)->setObjectName(QStringLiteral("N2"));
  for (QWidget* w : {m_panel, static_cast<QWidget*>(m_image2)}) {
    connect(w, &QWidget::customContextMenuRequested, this,
            [this, w](const QPoint& p) { m_popup1->popup(w->mapToGlobal(p)); });
  }
  // Panel 0 tells of a turn in progress, panel 2 holds the counter.
  m_status = FillStatusStrip(ui.StatusBar1, {{100}, {100}, {100, Qt::AlignRight | Qt::AlignVCenter}, {50}});

  setQuality(m_walk.quality);
  showWalk();
}

RotationWindow::~RotationWindow() = default;

bool RotationWindow::openList(const std::string& folder, std::vector<PictureEntry>& list) {
  const bool open = m_walk.openList(folder, list);
  showWalk();
  return open;
}

bool RotationWindow::openSingle(const std::string& folder, const std::vector<std::string>& selectedNames) {
  const bool open = m_walk.openSingle(folder, selectedNames);
  showWalk();
  return open;
}

void RotationWindow::setQuality(int quality) {
  m_walk.quality = std::clamp(quality, kRotationMinQuality, kRotationMaxQuality);
  m_upDown1->setValue(m_walk.quality);
  m_edit1->setText(QString::number(m_walk.quality));
}

void RotationWindow::showWalk() {
  const RotationControls& c = m_walk.controls();
  m_button[1]->setEnabled(c.rotateRight);
  m_button[2]->setEnabled(c.rotateLeft);
  m_button[3]->setEnabled(c.next);
  m_button[6]->setEnabled(c.back);
  m_button[4]->setText(MessageText(c.saveCaption));
  // The preview keeps its place; only its size follows the picture.
  ShowPreviewPicture(m_image2, m_walk.picture(),
                     QRect(m_image2->pos(), QSize(m_walk.preview().width, m_walk.preview().height)));
  if (isVisible() && !c.windowOpen) accept();
}

void RotationWindow::rotateRight() {
  if (!m_button[1]->isEnabled()) return;
  const QPointer<QWidget> focus = QApplication::focusWidget();
  setEnabled(false);  // the turn runs to its end before anything else
  m_walk.rotateRight();
  setEnabled(true);
  // Disabling the window took the focus off the button: a keyboard user
  // turns again with the same key.
  if (focus && focus->window() == this) focus->setFocus();
  showWalk();
}

void RotationWindow::rotateLeft() {
  if (!m_button[2]->isEnabled()) return;
  const QPointer<QWidget> focus = QApplication::focusWidget();
  setEnabled(false);
  m_walk.rotateLeft();
  setEnabled(true);
  // Disabling the window took the focus off the button: a keyboard user
  // turns again with the same key.
  if (focus && focus->window() == this) focus->setFocus();
  showWalk();
}

void RotationWindow::next() {
  m_walk.next();
  showWalk();
}

void RotationWindow::back() {
  m_walk.back();
  showWalk();
}

void RotationWindow::save() {
  (void)m_walk.save();  // every failure has shown its message; the walk stays
  showWalk();
}

void RotationWindow::finish() {
  m_walk.finish();
  showWalk();
  if (isVisible()) accept();
}

void RotationWindow::reject() {
  // Closed by its frame or Escape: as 終了, unsaved turns are dropped.
  m_walk.finish();
  QDialog::reject();
}

void RotationWindow::setStatus(StatusPanel panel, const Message& text) {
  // Panel 0 tells of a turn in progress, panel 2 holds the counter.
  QLabel* label = panel == StatusPanel::Counter ? m_status[2] : m_status[0];
  label->setText(MessageText(text));
  label->repaint();
}

}  // namespace pictavo::gui
