#include "bmp_window.h"

#include "ui_bmp_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>

#include "folder_widgets.h"
#include "platform/paths.h"
#include "qt_convert.h"
#include "spin_box.h"
#include "session/session.h"

namespace pictavo::gui {

BmpConversionWindow::BmpConversionWindow(const Session& session, Dialogs& dialogs, QWidget* parent)
    : ToolWindow(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint),
      WindowHost(dialogs, this),
      m_session(session),
      m_form(std::make_unique<Ui::BmpConversionWindow>()) {
  Ui::BmpConversionWindow& ui = *m_form;
  ui.setupUi(this);
  m_folders = new FolderPane(ui.Drive1, ui.Dir1);
  m_file1 = ui.File1;
  m_label3 = ui.Label3;
  m_image2 = ui.Image2;
  m_spinEdit1 = ui.SpinEdit1;
  m_status = FillStatusStrip(ui.StatusBar1, {{50, Qt::AlignLeft | Qt::AlignVCenter, false, true}}).front();
  m_image2->hide();
  m_spinEdit1->setRange(kConversionMinQuality, kConversionMaxQuality);
  m_spinEdit1->setValue(kConversionDefaultQuality);
  disableWhileBusy({ui.Drive1, ui.Dir1, ui.File1, ui.SpinEdit1, ui.Button1, ui.Button2});

  connect(ui.Button1, &QPushButton::clicked, this, &BmpConversionWindow::convert);
  connect(ui.Button2, &QPushButton::clicked, this, &BmpConversionWindow::close);
  connect(m_folders, &FolderPane::chosen, this, &BmpConversionWindow::goTo);
  // Placed beside the main window as it stands when the window is made.
  if (parent) move(parent->frameGeometry().left() + 50, parent->frameGeometry().top() + 120);
}

BmpConversionWindow::~BmpConversionWindow() = default;

void BmpConversionWindow::openAt(const QString& folder) {
  goTo(folder);
  ShowModal(this);
}

void BmpConversionWindow::goTo(const QString& wanted) {
  if (busy()) return;
  m_folders->goTo(wanted);
  fillFileList();
}

const QString& BmpConversionWindow::folder() const { return m_folders->folder(); }

void BmpConversionWindow::fillFileList() {
  // The .bmp files in any letter case, by name.
  m_file1->clear();
  for (const PictureEntry& e : FolderPictures(S(folder()), ".bmp").pictures) m_file1->addItem(Q(e.name));
}

QStringList BmpConversionWindow::selectedNames() const {
  QStringList names;
  for (int i = 0; i < m_file1->count(); ++i) {
    if (m_file1->item(i)->isSelected()) names << m_file1->item(i)->text();
  }
  return names;
}

void BmpConversionWindow::convert() {
  if (busy()) return;
  m_spinEdit1->interpretText();  // a typed quality counts, brought into range
  std::vector<std::string> names;
  for (const QString& name : selectedNames()) names.push_back(S(name));
  setBusy(true);
  // Its messages have been shown through this window; nothing is left to say.
  (void)ConvertBmpFiles(S(folder()), names, m_spinEdit1->value(), *this, this);
  setBusy(false);
  // The new JPEG files are not BMP files: the list stays as it is.
}

void BmpConversionWindow::setStatus(StatusPanel panel, const Message& text) {
  if (panel == StatusPanel::Step) m_status->setText(MessageText(text));
}

bool BmpConversionWindow::processEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  return false;
}

void BmpConversionWindow::showFileName(const std::string& name) {
  m_label3->setText(Q(name));
  m_label3->repaint();
}

void BmpConversionWindow::showPreview(const Bitmap& picture, const PreviewBox& box) {
  m_image2->hide();
  ShowPreviewPicture(m_image2, picture, QRect(box.left, box.top, box.width, box.height));
  m_image2->repaint();
  processEvents();
}

}  // namespace pictavo::gui
