#include "tool_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPixmap>
#include <QStatusBar>

#include "qt_convert.h"

namespace pictavo::gui {

std::vector<QLabel*> FillStatusStrip(QStatusBar* bar, std::initializer_list<StatusPanelSpec> panels) {
  std::vector<QLabel*> labels;
  for (const StatusPanelSpec& spec : panels) {
    auto* label = new QLabel(bar);
    label->setObjectName(QStringLiteral("StatusPanel%1").arg(labels.size()));
    if (spec.stretch) {
      label->setMinimumWidth(spec.width);
    } else {
      label->setFixedWidth(spec.width);
    }
    if (spec.sunken) {
      label->setFrameShape(QFrame::Panel);
      label->setFrameShadow(QFrame::Sunken);
    }
    label->setAlignment(spec.alignment);
    bar->addWidget(label, spec.stretch ? 1 : 0);
    labels.push_back(label);
  }
  return labels;
}

void ShowPreviewPicture(QLabel* image, const Bitmap& picture, const QRect& geometry) {
  if (picture.empty()) {
    image->hide();
    image->setPixmap(QPixmap());
    return;
  }
  image->setPixmap(QPixmap::fromImage(ToQImage(picture)));
  image->setGeometry(geometry);
  image->show();
}

ToolWindow::ToolWindow(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {}

void ToolWindow::disableWhileBusy(std::initializer_list<QWidget*> controls) {
  m_busyControls.insert(m_busyControls.end(), controls.begin(), controls.end());
}

void ToolWindow::setBusy(bool busy) {
  m_busy = busy;
  for (QWidget* w : m_busyControls) w->setEnabled(!busy);
}

void ToolWindow::reject() {
  // Esc mid-command would hide the window the command still reports to.
  if (!keepOpen()) QDialog::reject();
}

void ToolWindow::closeEvent(QCloseEvent* event) {
  if (keepOpen()) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

}  // namespace pictavo::gui
