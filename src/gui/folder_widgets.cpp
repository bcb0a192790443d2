#include "folder_widgets.h"

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

FolderPane::FolderPane(QWidget* window) : QObject(window) {
  m_drive1 = new QComboBox(window);
  m_drive1->setObjectName(QStringLiteral("Drive1"));
  m_dir1 = new QListWidget(window);
  m_dir1->setObjectName(QStringLiteral("Dir1"));
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

TOpenfolda::TOpenfolda(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Openfolda"));
  setWindowTitle(QStringLiteral("フォルダ選択"));
  setWindowFlags((windowFlags() | Qt::WindowCloseButtonHint) &
                 ~(Qt::WindowMaximizeButtonHint | Qt::WindowContextHelpButtonHint));
  setModal(true);
  m_drive1 = new QComboBox(this);
  m_drive1->setObjectName(QStringLiteral("DriveComboBox1"));
  m_dir1 = new QListWidget(this);
  m_dir1->setObjectName(QStringLiteral("DirectoryListBox1"));
  auto* choose = new QPushButton(QStringLiteral("選択"), this);
  choose->setObjectName(QStringLiteral("Button1"));
  choose->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
  cancel->setObjectName(QStringLiteral("Button2"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(choose);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_drive1);
  layout->addWidget(m_dir1, 1);
  layout->addLayout(buttons);
  resize(300, 320);

  connect(choose, &QPushButton::clicked, this, &TOpenfolda::accept);
  connect(cancel, &QPushButton::clicked, this, &TOpenfolda::reject);
  connect(m_dir1, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { goTo(item->data(Qt::UserRole).toString()); });
  connect(m_drive1, &QComboBox::activated, this, [this](int index) { goTo(m_drive1->itemData(index).toString()); });
  // Placed beside the window that made it, as it stands now.
  if (parent) move(parent->frameGeometry().left() + 30, parent->frameGeometry().top() + 100);
}

void TOpenfolda::goTo(const QString& folder) {
  const QString target = QString::fromStdString(FolderToShow(folder.toStdString()));
  m_folder = target;
  FillDriveBox(m_drive1, target);
  FillFolderList(m_dir1, target.toStdString());
}

void TOpenfolda::choose(const QString& startFolder) {
  if (m_folder.isEmpty() || !QDir(m_folder).exists()) goTo(startFolder);
  exec();
}

void TOpenfolda::accept() {
  m_chosen = m_folder;
  QDialog::accept();
}

void TOpenfolda::reject() {
  m_chosen.clear();
  QDialog::reject();
}

void TOpenfolda::closeEvent(QCloseEvent* event) {
  // The title bar's close button: the last choice stays.
  event->accept();
  QDialog::done(QDialog::Rejected);
}

}  // namespace pictavo::gui
