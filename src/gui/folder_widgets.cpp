#include "folder_widgets.h"

#include "ui_folder_chooser.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/paths.h"
#include "session/picture_list.h"
#include "session/session.h"

namespace pictavo::gui {

void FillDriveBox(QComboBox* box, const QString& folder) {
  QStringList roots{QStringLiteral("/")};
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath())) roots << volume.rootPath();
  }
  std::sort(roots.begin() + 1, roots.end());
  const QString mine = QStorageInfo(folder).rootPath();
  if (!mine.isEmpty() && !roots.contains(mine)) roots << mine;
  box->clear();
  for (const QString& root : roots) box->addItem(root, root);
  box->setCurrentIndex(std::max(0, static_cast<int>(roots.indexOf(mine))));
}

size_t FillFolderList(QListWidget* list, const std::string& folder) {
  const Listing subs = ListFolders(folder);
  list->clear();
  for (const FolderListEntry& e : FolderListEntries(folder, subs.names)) {
    const std::string name = e.path == "/" ? "/" : LastComponent(e.path);
    auto* item = new QListWidgetItem(QString(e.level * 2, QLatin1Char(' ')) + QString::fromStdString(name), list);
    item->setData(Qt::UserRole, QString::fromStdString(e.path));
    if (e.current) list->setCurrentItem(item);
  }
  return subs.skipped.size();
}

FolderPane::FolderPane(QComboBox* drive, QListWidget* list) : QObject(list), m_drive1(drive), m_dir1(list) {
  connect(m_dir1, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { emit chosen(item->data(Qt::UserRole).toString()); });
  connect(m_drive1, &QComboBox::activated, this, [this](int index) { emit chosen(m_drive1->itemData(index).toString()); });
}

QString FolderPane::goTo(const QString& wanted) {
  const std::string folder = FolderToShow(wanted.toStdString());
  m_folder = QString::fromStdString(folder);
  FillDriveBox(m_drive1, m_folder);
  FillFolderList(m_dir1, folder);
  return m_folder;
}

FolderChooserDialog::FolderChooserDialog(QWidget* parent)
    : QDialog(parent), m_form(std::make_unique<Ui::FolderChooserDialog>()) {
  m_form->setupUi(this);
  setWindowFlags((windowFlags() | Qt::WindowCloseButtonHint) &
                 ~(Qt::WindowMaximizeButtonHint | Qt::WindowContextHelpButtonHint));
  m_drive1 = m_form->DriveComboBox1;
  m_dir1 = m_form->DirectoryListBox1;
  connect(m_form->Button1, &QPushButton::clicked, this, &FolderChooserDialog::accept);
  connect(m_form->Button2, &QPushButton::clicked, this, &FolderChooserDialog::reject);
  connect(m_dir1, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { goTo(item->data(Qt::UserRole).toString()); });
  connect(m_drive1, &QComboBox::activated, this, [this](int index) { goTo(m_drive1->itemData(index).toString()); });
  // Placed beside the window that made it, as it stands now.
  if (parent) move(parent->frameGeometry().left() + 30, parent->frameGeometry().top() + 100);
}

FolderChooserDialog::~FolderChooserDialog() = default;

void FolderChooserDialog::goTo(const QString& folder) {
  const QString target = QString::fromStdString(FolderToShow(folder.toStdString()));
  m_folder = target;
  FillDriveBox(m_drive1, target);
  FillFolderList(m_dir1, target.toStdString());
}

void FolderChooserDialog::choose(const QString& startFolder) {
  if (m_folder.isEmpty() || !QDir(m_folder).exists()) goTo(startFolder);
  exec();
}

void FolderChooserDialog::accept() {
  m_chosen = m_folder;
  QDialog::accept();
}

void FolderChooserDialog::reject() {
  m_chosen.clear();
  QDialog::reject();
}

void FolderChooserDialog::closeEvent(QCloseEvent* event) {
  // The title bar's close button: the last choice stays.
  event->accept();
  QDialog::done(QDialog::Rejected);
}

}  // namespace pictavo::gui
