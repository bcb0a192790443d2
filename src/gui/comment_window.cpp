#include "comment_window.h"

#include "ui_comment_window.h"

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
#include "tool_window.h"

namespace pictavo::gui {

CommentEditorWindow::CommentEditorWindow(Dialogs& dialogs, std::function<RotationWindow*()> rotationWindow,
                                         QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ToolWindowHost(dialogs, this),
      m_dialogs(dialogs),
      m_rotationWindow(std::move(rotationWindow)),
      m_editor(*this),
      m_form(std::make_unique<Ui::CommentEditorWindow>()) {
  Ui::CommentEditorWindow& ui = *m_form;
  ui.setupUi(this);
  layout()->setMenuBar(ui.MenuBar1);
  m_file1 = ui.File1;
  m_panel3 = ui.Panel3;
  m_image1 = ui.Image1;
  m_edit1 = ui.Edit1;
  m_edit2 = ui.Edit2;
  m_n11 = ui.N11;
  m_n19 = ui.N19;
  m_image1->hide();
  for (QLineEdit* e : {m_edit1, m_edit2}) e->installEventFilter(this);
  m_status = FillStatusStrip(ui.StatusBar1, {{176}, {176}});

  connect(ui.Button2, &QPushButton::clicked, this, &CommentEditorWindow::update);
  connect(ui.Button1, &QPushButton::clicked, this, &CommentEditorWindow::save);
  connect(ui.Button5, &QPushButton::clicked, this, &CommentEditorWindow::saveAndFinish);
  connect(ui.Open1, &QAction::triggered, this, &CommentEditorWindow::openOther);
  connect(ui.Save1, &QAction::triggered, this, &CommentEditorWindow::save);
  connect(ui.N17, &QAction::triggered, this, &CommentEditorWindow::openRotation);
  connect(ui.Exit1, &QAction::triggered, this, &CommentEditorWindow::reject);
  struct FillItem {
    QAction* action;
    FillWhat what;
    bool all;
  };
  const FillItem items[] = {
      {ui.N5, FillWhat::Date, false},     {ui.N14, FillWhat::DateTime, false}, {ui.N8, FillWhat::Size, false},
      {ui.N12, FillWhat::Name, false},    {ui.N9, FillWhat::NameDate, false},  {ui.N6, FillWhat::NameSize, false},
      {ui.N3, FillWhat::Date, true},      {ui.N15, FillWhat::DateTime, true},  {ui.N2, FillWhat::Size, true},
      {ui.N13, FillWhat::Name, true},     {ui.N10, FillWhat::NameDate, true},  {ui.Replace1, FillWhat::NameSize, true},
  };
  for (const FillItem& item : items) {
    connect(item.action, &QAction::triggered, this, [this, item] { fill(item.what, item.all); });
  }
  connect(m_n11, &QAction::triggered, this, [this](bool on) { m_editor.noExtension = on; });
  connect(m_n19, &QAction::triggered, this, [this](bool on) { m_editor.addDimensions = on; });

  m_popup1 = new QMenu(this);
  m_popup1->setObjectName(QStringLiteral("PopupMenu1"));
  m_popup1->addAction(tr("画像回転処理へ"), this, &CommentEditorWindow::openRotation)
      ->setObjectName(QStringLiteral("N18"));
  OpenMenuFromKeyboard(m_file1);
  connect(m_file1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { m_popup1->popup(m_file1->viewport()->mapToGlobal(p)); });
  connect(m_file1, &QListWidget::itemSelectionChanged, this, [this] {
    if (!m_showing) selectEntry();
  });
}

CommentEditorWindow::~CommentEditorWindow() = default;

bool CommentEditorWindow::openFolder(const std::string& folder) {
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

void CommentEditorWindow::showList() {
  m_showing = true;
  m_file1->clear();
  for (const std::string& name : m_editor.files()) m_file1->addItem(Q(name));
  if (m_editor.selected() >= 0) m_file1->setCurrentRow(m_editor.selected());
  m_file1->scrollToTop();
  m_showing = false;
  setStatus(StatusPanel::Step, m_editor.fileCountText());
}

void CommentEditorWindow::showFields() {
  m_edit1->setText(Q(m_editor.comment1));
  m_edit2->setText(Q(m_editor.comment2));
}

void CommentEditorWindow::showPreview(const Bitmap& picture, const PreviewBox& box) {
  ShowPreviewPicture(m_image1, picture, QRect(box.left, box.top, box.width, box.height));
}

void CommentEditorWindow::selectEntry() {
  const int row = m_file1->currentRow();
  if (row < 0 || !m_file1->item(row)->isSelected()) return;
  m_editor.select(row);  // a picture that cannot be decoded has shown its error
  showFields();
  showPreview(m_editor.picture(), m_editor.preview());
  setStatus(StatusPanel::Step, m_editor.fileCountText());
}

void CommentEditorWindow::update() {
  m_editor.comment1 = m_edit1->text().toStdString();
  m_editor.comment2 = m_edit2->text().toStdString();
  m_editor.update();
}

// The editor shows its own message for every outcome.
void CommentEditorWindow::save() { (void)m_editor.save(); }

void CommentEditorWindow::saveAndFinish() {
  save();
  reject();  // nothing left to ask unless the save failed
}

void CommentEditorWindow::openOther() {
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

void CommentEditorWindow::openRotation() {
  std::vector<std::string> names;
  const int row = m_file1->currentRow();
  if (row >= 0 && m_file1->item(row)->isSelected()) names.push_back(m_file1->item(row)->text().toStdString());
  RotationWindow* rotation = m_rotationWindow();
  if (!rotation->openSingle(m_editor.folder(), names)) return;
  rotation->exec();
  // The picture as it is now (turned when it was saved), with its comments.
  if (m_editor.selected() >= 0) selectEntry();
}

void CommentEditorWindow::fill(FillWhat what, bool all) {
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

void CommentEditorWindow::reject() {
  if (!m_editor.settleUnsavedChanges()) return;
  QDialog::reject();
}

void CommentEditorWindow::setStatus(StatusPanel panel, const Message& text) {
  m_status[panel == StatusPanel::Step ? 0 : 1]->setText(MessageText(text));
}

bool CommentEditorWindow::eventFilter(QObject* watched, QEvent* event) {
  // A click into a comment field selects all its text.
  if ((watched == m_edit1 || watched == m_edit2) && event->type() == QEvent::MouseButtonPress) {
    auto* edit = static_cast<QLineEdit*>(watched);
    QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace pictavo::gui
