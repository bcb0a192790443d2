#include "settings_view_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "qt_convert.h"
#include "main_window.h"

namespace pictavo::gui {
Tsetview::Tsetview(MainWindow& main) : QDialog(&main), m_main(main) {
  setObjectName(QStringLiteral("Tsetview"));
  setWindowTitle(QStringLiteral("設定確認"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setWindowIcon(main.windowIcon());
  auto* grid = new QGridLayout(this);
  grid->setSizeConstraint(QLayout::SetFixedSize);
  int row = 0;
  auto addRow = [&](const char* label, QWidget* control, const char* name) {
    control->setObjectName(QLatin1String(name));
    grid->addWidget(new QLabel(QString::fromUtf8(label), this), row, 0);
    grid->addWidget(control, row++, 1);
  };
  auto edit = [&](const char* label, const char* name) {
    auto* e = new QLineEdit(this);
    e->setMinimumWidth(240);
    addRow(label, e, name);
    return e;
  };
  auto onOff = [&](const char* label, const char* name) {
    auto* c = new QComboBox(this);
    for (const auto& item : OnOffItems()) c->addItem(Q(item));
    c->setCurrentIndex(-1);
    addRow(label, c, name);
    return c;
  };
  m_edit[0] = edit("現在のフォルダ名", "Edit1");
  m_edit[0]->setReadOnly(true);
  m_edit[1] = edit("生成されるＨＴＭＬファイル名", "Edit2");
  m_edit[2] = edit("サムネイル画像を作成するフォルダ", "Edit3");
  m_edit[3] = edit("ｻﾑﾈｲﾙ画像のファイル名に付加する文字", "Edit4");
  m_combo[0] = onOff("ｻﾑﾈｲﾙ画像用ﾌｫﾙﾀﾞにあるﾌｧｲﾙを削除", "ComboBox1");
  m_combo[1] = onOff("同一ﾌｧｲﾙ名のﾌｧｲﾙが存在したらスキップ", "ComboBox2");
  m_combo[2] = onOff("フィルタをかける（フルカラー専用）", "ComboBox3");
  m_edit8 = edit("サムネイル画像の幅", "Edit8");
  m_edit9 = edit("サムネイル画像の高さ", "Edit9");
  m_combo[3] = onOff("スライドショウ用のHTMLを作成する。", "ComboBox4");
  // Numbers only: no input method on the two sizes.
  for (QLineEdit* e : {m_edit8, m_edit9}) {
    e->setAttribute(Qt::WA_InputMethodEnabled, false);
    e->setInputMethodHints(Qt::ImhPreferNumbers | Qt::ImhLatinOnly);
  }

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("Button1"));
  auto* update = new QPushButton(QStringLiteral("更新"), this);
  update->setObjectName(QStringLiteral("Button2"));
  buttons->addWidget(ok);
  buttons->addWidget(update);
  grid->addLayout(buttons, row, 0, 1, 2);
  connect(ok, &QPushButton::clicked, this, &Tsetview::Button1Click);
  connect(update, &QPushButton::clicked, this, &Tsetview::Button2Click);

  move(main.startPosition() + QPoint(30, 100));
  fill();
}

CheckViewRows Tsetview::rows() const {
  CheckViewRows r;
  r.currentFolder = S(m_edit[0]->text());
  r.htmlFileName = S(m_edit[1]->text());
  r.thumbnailFolderName = S(m_edit[2]->text());
  r.thumbnailPrefix = S(m_edit[3]->text());
  r.clearThumbnailFolder = m_combo[0]->currentIndex();
  r.skipExisting = m_combo[1]->currentIndex();
  r.thumbnailFilter = m_combo[2]->currentIndex();
  r.thumbnailWidth = S(m_edit8->text());
  r.thumbnailHeight = S(m_edit9->text());
  r.makeSlideShow = m_combo[3]->currentIndex();
  return r;
}

void Tsetview::fill() {
  CheckViewRows r = rows();  // a list whose field is neither entry keeps its selection
  FillCheckView(m_main.session().settings, m_main.session().main.currentFolder, r);
  m_edit[0]->setText(Q(r.currentFolder));
  m_edit[1]->setText(Q(r.htmlFileName));
  m_edit[2]->setText(Q(r.thumbnailFolderName));
  m_edit[3]->setText(Q(r.thumbnailPrefix));
  m_combo[0]->setCurrentIndex(r.clearThumbnailFolder);
  m_combo[1]->setCurrentIndex(r.skipExisting);
  m_combo[2]->setCurrentIndex(r.thumbnailFilter);
  m_edit8->setText(Q(r.thumbnailWidth));
  m_edit9->setText(Q(r.thumbnailHeight));
  m_combo[3]->setCurrentIndex(r.makeSlideShow);
}

void Tsetview::Button1Click() { accept(); }

void Tsetview::Button2Click() {
  ApplyCheckView(rows(), m_main.session().settings);
  accept();
}

}  // namespace pictavo::gui
