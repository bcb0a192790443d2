#include "settings_view_window.h"

#include "ui_settings_view_window.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "qt_convert.h"
#include "main_window.h"

namespace pictavo::gui {
SettingsCheckView::SettingsCheckView(Session& session, QWidget* parent, QPoint start)
    : QDialog(parent), m_session(session), m_ui(std::make_unique<Ui::SettingsCheckView>()) {
  m_ui->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  if (parent) setWindowIcon(parent->windowIcon());
  for (QComboBox* c : {m_ui->ComboBox1, m_ui->ComboBox2, m_ui->ComboBox3, m_ui->ComboBox4}) {
    for (const auto& item : OnOffItems()) c->addItem(Q(item));
    c->setCurrentIndex(-1);
  }
  // Numbers only: no input method on the two sizes.
  for (QLineEdit* e : {m_ui->Edit8, m_ui->Edit9}) {
    e->setAttribute(Qt::WA_InputMethodEnabled, false);
    e->setInputMethodHints(Qt::ImhPreferNumbers | Qt::ImhLatinOnly);
  }
  connect(m_ui->Button1, &QPushButton::clicked, this, &SettingsCheckView::Button1Click);
  connect(m_ui->Button2, &QPushButton::clicked, this, &SettingsCheckView::Button2Click);

  move(start + QPoint(30, 100));
  fill();
}

SettingsCheckView::~SettingsCheckView() = default;

CheckViewRows SettingsCheckView::rows() const {
  CheckViewRows r;
  r.currentFolder = S(m_ui->Edit1->text());
  r.htmlFileName = S(m_ui->Edit2->text());
  r.thumbnailFolderName = S(m_ui->Edit3->text());
  r.thumbnailPrefix = S(m_ui->Edit4->text());
  r.clearThumbnailFolder = m_ui->ComboBox1->currentIndex();
  r.skipExisting = m_ui->ComboBox2->currentIndex();
  r.thumbnailFilter = m_ui->ComboBox3->currentIndex();
  r.thumbnailWidth = S(m_ui->Edit8->text());
  r.thumbnailHeight = S(m_ui->Edit9->text());
  r.makeSlideShow = m_ui->ComboBox4->currentIndex();
  return r;
}

void SettingsCheckView::fill() {
  CheckViewRows r = rows();  // a list whose field is neither entry keeps its selection
  FillCheckView(m_session.settings, m_session.main.currentFolder, r);
  m_ui->Edit1->setText(Q(r.currentFolder));
  m_ui->Edit2->setText(Q(r.htmlFileName));
  m_ui->Edit3->setText(Q(r.thumbnailFolderName));
  m_ui->Edit4->setText(Q(r.thumbnailPrefix));
  m_ui->ComboBox1->setCurrentIndex(r.clearThumbnailFolder);
  m_ui->ComboBox2->setCurrentIndex(r.skipExisting);
  m_ui->ComboBox3->setCurrentIndex(r.thumbnailFilter);
  m_ui->Edit8->setText(Q(r.thumbnailWidth));
  m_ui->Edit9->setText(Q(r.thumbnailHeight));
  m_ui->ComboBox4->setCurrentIndex(r.makeSlideShow);
}

void SettingsCheckView::Button1Click() { accept(); }

void SettingsCheckView::Button2Click() {
  ApplyCheckView(rows(), m_session.settings);
  accept();
}

}  // namespace pictavo::gui
