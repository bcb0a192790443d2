#include "comment_window.h"

#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "keyboard_menu.h"
#include "qt_convert.h"
#include "rotation_window.h"

namespace pictavo::gui {
namespace {

constexpr int kPanelWidth = 166;
constexpr int kPanelHeight = 191;

}  // namespace

Tcomment::Tcomment(Dialogs& dialogs, std::function<Toption2*()> rotationWindow, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ToolWindowHost(dialogs, this),
      m_dialogs(dialogs),
      m_rotationWindow(std::move(rotationWindow)),
      m_editor(*this) {
  setObjectName(QStringLiteral("Tcomment"));
  setWindowTitle(QStringLiteral("コメントファイル作成"));
  setModal(true);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(6, 0, 6, 0);
  auto* bar = new QMenuBar(this);
  buildMenus(bar);
  outer->setMenuBar(bar);

  auto* panel1 = new QLabel(QStringLiteral("コメントファイル作成"), this);
  panel1->setObjectName(QStringLiteral("Panel1"));
  panel1->setFrameShape(QFrame::Panel);
  panel1->setFrameShadow(QFrame::Raised);
  panel1->setAlignment(Qt::AlignCenter);
  panel1->setMinimumHeight(24);
  outer->addWidget(panel1);

  auto* grid = new QGridLayout;
  auto* panel2 = new QLabel(QStringLiteral("「jpg」ファイルリスト"), this);
  panel2->setObjectName(QStringLiteral("Panel2"));
  m_file1 = new QListWidget(this);
  m_file1->setObjectName(QStringLiteral("File1"));
  m_file1->setSelectionMode(QAbstractItemView::SingleSelection);
  m_file1->setContextMenuPolicy(Qt::CustomContextMenu);
  m_file1->setMinimumWidth(150);
  grid->addWidget(panel2, 0, 0);
  grid->addWidget(m_file1, 1, 0);

  m_panel3 = new QFrame(this);
  m_panel3->setObjectName(QStringLiteral("Panel3"));
  static_cast<QFrame*>(m_panel3)->setFrameShape(QFrame::StyledPanel);
  m_panel3->setFixedSize(kPanelWidth, kPanelHeight);
  auto* panel4 = new QLabel(QStringLiteral("Preview Window"), m_panel3);
  panel4->setObjectName(QStringLiteral("Panel4"));
  panel4->setGeometry(1, 1, kPanelWidth - 2, 16);
  panel4->setAlignment(Qt::AlignCenter);
  panel4->setAutoFillBackground(true);
  m_image1 = new QLabel(m_panel3);
  m_image1->setObjectName(QStringLiteral("Image1"));
  m_image1->setScaledContents(true);
  m_image1->setToolTip(QStringLiteral("画像表示エリア"));
  m_image1->hide();
  grid->addWidget(m_panel3, 1, 1, Qt::AlignTop);
  outer->addLayout(grid, 1);

  auto* label1 = new QLabel(QStringLiteral("コメント記入欄"), this);
  label1->setObjectName(QStringLiteral("Label1"));
  outer->addWidget(label1);
  m_edit1 = new QLineEdit(this);
  m_edit1->setObjectName(QStringLiteral("Edit1"));
  m_edit2 = new QLineEdit(this);
  m_edit2->setObjectName(QStringLiteral("Edit2"));
  for (QLineEdit* e : {m_edit1, m_edit2}) {
    e->installEventFilter(this);
    outer->addWidget(e);
  }
  auto* buttons = new QHBoxLayout;
  auto* button2 = new QPushButton(QStringLiteral("更新"), this);
  button2->setObjectName(QStringLiteral("Button2"));
  auto* button1 = new QPushButton(QStringLiteral("保存"), this);
  button1->setObjectName(QStringLiteral("Button1"));
  auto* button5 = new QPushButton(QStringLiteral("保存して終了"), this);
  button5->setObjectName(QStringLiteral("Button5"));
  button5->setToolTip(QStringLiteral("コメント作成ウインドウを閉じます。"));
  for (QPushButton* b : {button2, button1, button5}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  outer->addLayout(buttons);
  connect(button2, &QPushButton::clicked, this, &Tcomment::update);
  connect(button1, &QPushButton::clicked, this, &Tcomment::save);
  connect(button5, &QPushButton::clicked, this, &Tcomment::saveAndFinish);

  auto* status = new QStatusBar(this);
  status->setObjectName(QStringLiteral("StatusBar1"));
  status->setSizeGripEnabled(false);
  for (int i = 0; i < 2; ++i) {
    m_status[i] = new QLabel(status);
    m_status[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    m_status[i]->setFixedWidth(176);
    m_status[i]->setFrameShape(QFrame::Panel);
    m_status[i]->setFrameShadow(QFrame::Sunken);
    status->addWidget(m_status[i]);
  }
  outer->addWidget(status);

  m_popup1 = new QMenu(this);
  m_popup1->setObjectName(QStringLiteral("PopupMenu1"));
  m_popup1->addAction(QStringLiteral("画像回転処理へ"), this, &Tcomment::openRotation)
      ->setObjectName(QStringLiteral("N18"));
  OpenMenuFromKeyboard(m_file1);
  connect(m_file1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { m_popup1->popup(m_file1->viewport()->mapToGlobal(p)); });
  connect(m_file1, &QListWidget::itemSelectionChanged, this, [this] {
    if (!m_showing) selectEntry();
  });
}

void Tcomment::buildMenus(QWidget* barWidget) {
  auto* bar = static_cast<QMenuBar*>(barWidget);
  auto add = [this](QMenu* menu, const char* name, const char* text, auto slot) {
    QAction* a = menu->addAction(QString::fromUtf8(text));
    a->setObjectName(QLatin1String(name));
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  QMenu* file2 = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
  file2->setObjectName(QStringLiteral("File2"));
  add(file2, "Open1", "開く(&O)...", &Tcomment::openOther);
  add(file2, "Save1", "保存(&S)", &Tcomment::save);
  file2->addSeparator();
  add(file2, "N17", "回転ウインドウを開く", &Tcomment::openRotation);
  file2->addSeparator();
  add(file2, "Exit1", "終了(&X)", &Tcomment::reject);

  QMenu* edit3 = bar->addMenu(QStringLiteral("編集(&E)"));
  edit3->setObjectName(QStringLiteral("Edit3"));
  struct FillItem {
    const char* name;
    const char* text;
    FillWhat what;
    bool all;
  };
  const FillItem items[] = {
      {"N5", "選択されているファイルに日付を記入", FillWhat::Date, false},
      {"N14", "選択されているファイルに日付と時刻を記入", FillWhat::DateTime, false},
      {"N8", "選択されているファイルにﾌｧｲﾙｻｲｽﾞを記入", FillWhat::Size, false},
      {"N12", "選択されているファイルにファイル名を記入", FillWhat::Name, false},
      {"N9", "選択されているファイルにファイル名と日付を記入", FillWhat::NameDate, false},
      {"N6", "選択されているファイルにファイル名とﾌｧｲﾙｻｲｽﾞを記入", FillWhat::NameSize, false},
      {"N3", "すべてのファイルに日付を記入", FillWhat::Date, true},
      {"N15", "すべてのファイルに日付と時刻を記入", FillWhat::DateTime, true},
      {"N2", "すべてのファイルにﾌｧｲﾙｻｲｽﾞを記入", FillWhat::Size, true},
      {"N13", "すべてのファイルにファイル名を記入", FillWhat::Name, true},
      {"N10", "すべてのファイルにファイル名と日付を記入", FillWhat::NameDate, true},
      {"Replace1", "すべてのファイルにファイル名とﾌｧｲﾙｻｲｽﾞを記入", FillWhat::NameSize, true},
  };
  for (const FillItem& item : items) {
    if (item.all && item.what == FillWhat::Date) edit3->addSeparator();
    add(edit3, item.name, item.text, [this, item] { fill(item.what, item.all); });
  }
  edit3->addSeparator();
  m_n11 = add(edit3, "N11", "ﾌｧｲﾙ名には拡張子を付けない", [this](bool on) { m_editor.noExtension = on; });
  m_n19 = add(edit3, "N19", "ﾌｧｲﾙｻｲｽﾞに画像の大きさを付加する", [this](bool on) { m_editor.addDimensions = on; });
  for (QAction* a : {m_n11, m_n19}) a->setCheckable(true);
}

bool Tcomment::openFolder(const std::string& folder) {
  if (!m_editor.settleUnsavedChanges()) {
    showList();
    showFields();
    return false;
  }
  m_editor.openFolder(folder);
  showList();
  showFields();
  showPreview(m_editor.picture(), m_editor.preview());
  return true;
}

void Tcomment::showList() {
  m_showing = true;
  m_file1->clear();
  for (const std::string& name : m_editor.files()) m_file1->addItem(Q(name));
  if (m_editor.selected() >= 0) m_file1->setCurrentRow(m_editor.selected());
  m_file1->scrollToTop();
  m_showing = false;
  setStatus(StatusPanel::Step, m_editor.fileCountText());
}

void Tcomment::showFields() {
  m_edit1->setText(Q(m_editor.comment1));
  m_edit2->setText(Q(m_editor.comment2));
}

void Tcomment::showPreview(const Bitmap& picture, const PreviewBox& box) {
  if (picture.empty()) {
    m_image1->hide();
    m_image1->setPixmap(QPixmap());
    return;
  }
  m_image1->setPixmap(QPixmap::fromImage(ToQImage(picture)));
  m_image1->setGeometry(box.left, box.top, box.width, box.height);
  m_image1->show();
}

void Tcomment::selectEntry() {
  const int row = m_file1->currentRow();
  if (row < 0 || !m_file1->item(row)->isSelected()) return;
  m_editor.select(row);  // a picture that cannot be decoded has shown its error
  showFields();
  showPreview(m_editor.picture(), m_editor.preview());
  setStatus(StatusPanel::Step, m_editor.fileCountText());
}

void Tcomment::update() {
  m_editor.comment1 = m_edit1->text().toStdString();
  m_editor.comment2 = m_edit2->text().toStdString();
  m_editor.update();
}

// The editor shows its own message for every outcome.
void Tcomment::save() { (void)m_editor.save(); }

void Tcomment::saveAndFinish() {
  save();
  reject();  // nothing left to ask unless the save failed
}

void Tcomment::openOther() {
  const bool read = m_editor.openOther([this]() -> std::optional<std::string> {
    const auto chosen = m_dialogs.chooseFolderInWindow(this);
    if (!chosen || chosen->isEmpty()) return std::nullopt;
    return chosen->toStdString();
  });
  if (!read) return;
  // A newly read list starts without a selection; the preview stays as it was.
  showList();
  showFields();
}

void Tcomment::openRotation() {
  std::vector<std::string> names;
  const int row = m_file1->currentRow();
  if (row >= 0 && m_file1->item(row)->isSelected()) names.push_back(m_file1->item(row)->text().toStdString());
  Toption2* rotation = m_rotationWindow();
  if (!rotation->openSingle(m_editor.folder(), names)) return;
  rotation->exec();
  // The picture as it is now (turned when it was saved), with its comments.
  if (m_editor.selected() >= 0) selectEntry();
}

void Tcomment::fill(FillWhat what, bool all) {
  if (!all) {
    m_editor.fillSelected(what);
    showFields();
    showPreview(m_editor.picture(), m_editor.preview());
    return;
  }
  m_editor.fillAll(what, [this](int index, const Bitmap* picture) {
    // The entry in work at the top of the list, its texts and picture shown.
    if (QListWidgetItem* item = m_file1->item(index)) m_file1->scrollToItem(item, QAbstractItemView::PositionAtTop);
    showFields();
    if (picture) showPreview(*picture, CommentPreviewBox(picture->width, picture->height));
    m_file1->repaint();
    m_edit1->repaint();
    m_edit2->repaint();
  });
  showFields();
  showPreview(m_editor.picture(), m_editor.preview());
}

void Tcomment::reject() {
  if (!m_editor.settleUnsavedChanges()) return;
  QDialog::reject();
}

void Tcomment::setStatus(StatusPanel panel, const Message& text) {
  m_status[panel == StatusPanel::Step ? 0 : 1]->setText(MessageText(text));
}

bool Tcomment::eventFilter(QObject* watched, QEvent* event) {
  // A click into a comment field selects all its text.
  if ((watched == m_edit1 || watched == m_edit2) && event->type() == QEvent::MouseButtonPress) {
    auto* edit = static_cast<QLineEdit*>(watched);
    QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace pictavo::gui
