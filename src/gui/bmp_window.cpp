#include "bmp_window.h"

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
#include "main_window.h"
#include "platform/paths.h"
#include "qt_convert.h"
#include "spin_box.h"
#include "session/session.h"

namespace pictavo::gui {

TBMPtoJPEG::TBMPtoJPEG(TMain& main, Dialogs& dialogs) : QDialog(&main), WindowHost(dialogs, this), m_main(main) {
  setObjectName(QStringLiteral("TBMPtoJPEG"));
  setWindowTitle(QStringLiteral("BMP-JPG変換"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);

  auto* left = new QVBoxLayout;
  m_folders = new FolderPane(this);
  left->addWidget(m_folders->drive());
  left->addWidget(m_folders->list(), 1);

  auto* middle = new QVBoxLayout;
  auto* label1 = new QLabel(QStringLiteral("BMPファイルリスト"), this);
  label1->setObjectName(QStringLiteral("Label1"));
  m_file1 = new QListWidget(this);
  m_file1->setObjectName(QStringLiteral("File1"));
  m_file1->setSelectionMode(QAbstractItemView::ExtendedSelection);
  middle->addWidget(label1);
  middle->addWidget(m_file1, 1);

  auto* right = new QVBoxLayout;
  m_label3 = new QLabel(this);
  m_label3->setObjectName(QStringLiteral("Label3"));
  m_label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_label3->setFixedWidth(126);
  m_panel1 = new QFrame(this);
  m_panel1->setObjectName(QStringLiteral("Panel1"));
  static_cast<QFrame*>(m_panel1)->setFrameShape(QFrame::StyledPanel);
  m_panel1->setFixedSize(126, 126);
  m_image2 = new QLabel(m_panel1);
  m_image2->setObjectName(QStringLiteral("Image2"));
  m_image2->setScaledContents(true);  // the picture stretches to the box
  m_image2->hide();
  auto* label2 = new QLabel(QStringLiteral("JPEG圧縮率"), this);
  label2->setObjectName(QStringLiteral("Label2"));
  m_spinEdit1 = new NearestSpinBox(this);
  m_spinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
  m_spinEdit1->setRange(kConversionMinQuality, kConversionMaxQuality);
  m_spinEdit1->setValue(kConversionDefaultQuality);
  m_button1 = new QPushButton(QStringLiteral("変換"), this);
  m_button1->setObjectName(QStringLiteral("Button1"));
  m_button2 = new QPushButton(QStringLiteral("終了"), this);
  m_button2->setObjectName(QStringLiteral("Button2"));
  auto* quality = new QHBoxLayout;
  quality->addWidget(label2);
  quality->addWidget(m_spinEdit1);
  right->addWidget(m_label3);
  right->addWidget(m_panel1);
  right->addLayout(quality);
  right->addStretch();
  right->addWidget(m_button1);
  right->addWidget(m_button2);

  auto* columns = new QHBoxLayout;
  columns->addLayout(left, 1);
  columns->addLayout(middle, 1);
  columns->addLayout(right);

  auto* bar = new QStatusBar(this);
  bar->setObjectName(QStringLiteral("StatusBar1"));
  bar->setSizeGripEnabled(false);
  m_status = new QLabel(bar);
  m_status->setObjectName(QStringLiteral("StatusPanel0"));
  m_status->setMinimumWidth(50);
  bar->addWidget(m_status, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns, 1);
  layout->addWidget(bar);
  resize(520, 300);

  connect(m_button1, &QPushButton::clicked, this, &TBMPtoJPEG::convert);
  connect(m_button2, &QPushButton::clicked, this, &TBMPtoJPEG::close);
  connect(m_folders, &FolderPane::chosen, this, &TBMPtoJPEG::goTo);
  // Placed beside the main window as it stands when the window is made.
  move(main.frameGeometry().left() + 50, main.frameGeometry().top() + 120);
}

void TBMPtoJPEG::openAt(const QString& folder) {
  goTo(folder);
  ShowModal(this);
}

void TBMPtoJPEG::goTo(const QString& wanted) {
  if (m_busy) return;
  // A folder that cannot be shown: the program's own folder.
  m_folders->goTo(wanted, Q(m_main.session().main.programFolder));
  fillFileList();
}

const QString& TBMPtoJPEG::folder() const { return m_folders->folder(); }

void TBMPtoJPEG::fillFileList() {
  // The .bmp files in any letter case, by name.
  m_file1->clear();
  for (const PictureEntry& e : FolderPictures(S(folder()), ".bmp").pictures) m_file1->addItem(Q(e.name));
}

QStringList TBMPtoJPEG::selectedNames() const {
  QStringList names;
  for (int i = 0; i < m_file1->count(); ++i) {
    if (m_file1->item(i)->isSelected()) names << m_file1->item(i)->text();
  }
  return names;
}

void TBMPtoJPEG::setBusy(bool busy) {
  m_busy = busy;
  for (QWidget* w : {static_cast<QWidget*>(m_folders->drive()), static_cast<QWidget*>(m_folders->list()),
                     static_cast<QWidget*>(m_file1),
                     static_cast<QWidget*>(m_spinEdit1), static_cast<QWidget*>(m_button1),
                     static_cast<QWidget*>(m_button2)}) {
    w->setEnabled(!busy);
  }
}

void TBMPtoJPEG::convert() {
  if (m_busy) return;
  m_spinEdit1->interpretText();  // a typed quality counts, brought into range
  std::vector<std::string> names;
  for (const QString& name : selectedNames()) names.push_back(S(name));
  setBusy(true);
  // Its messages have been shown through this window; nothing is left to say.
  (void)ConvertBmpFiles(S(folder()), names, m_spinEdit1->value(), *this, this);
  setBusy(false);
  // The new JPEG files are not BMP files: the list stays as it is.
}

void TBMPtoJPEG::setStatus(StatusPanel panel, const Message& text) {
  if (panel == StatusPanel::Step) m_status->setText(MessageText(text));
}

bool TBMPtoJPEG::processEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  return false;
}

void TBMPtoJPEG::showFileName(const std::string& name) {
  m_label3->setText(Q(name));
  m_label3->repaint();
}

void TBMPtoJPEG::showPreview(const Bitmap& picture, const PreviewBox& box) {
  m_image2->hide();
  m_image2->setPixmap(QPixmap::fromImage(ToQImage(picture)));
  m_image2->setGeometry(box.left, box.top, box.width, box.height);
  m_image2->show();
  m_image2->repaint();
  processEvents();
}

void TBMPtoJPEG::reject() {
  if (!m_busy) QDialog::reject();
}

void TBMPtoJPEG::closeEvent(QCloseEvent* event) {
  // The conversion still reports to this window.
  if (m_busy) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

}  // namespace pictavo::gui
