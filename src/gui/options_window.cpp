#include "options_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "qt_convert.h"
#include "dialogs.h"
#include "main_window.h"
#include "message_text.h"

namespace pictavo::gui {
namespace {

// The page's controls, made in reading order on a grid of label and value.
class PageBuilder {
 public:
  explicit PageBuilder(QWidget* page) : m_page(page), m_grid(new QGridLayout(page)) { m_grid->setColumnStretch(1, 1); }
  QWidget* page() const { return m_page; }

  QLabel* label(const char* text, int column = 0, int span = 1) {
    auto* l = new QLabel(QString::fromUtf8(text), m_page);
    m_grid->addWidget(l, m_row, column, 1, span);
    if (column + span >= 3) ++m_row;
    return l;
  }
  void note(const char* text) { label(text, 0, 3); }
  QCheckBox* check(const char* name, const char* text) {
    auto* c = new QCheckBox(QString::fromUtf8(text), m_page);
    c->setObjectName(QLatin1String(name));
    m_grid->addWidget(c, m_row++, 0, 1, 3);
    return c;
  }
  QSpinBox* spin(const char* name, const char* text, const SpinRange& range) {
    label(text);
    auto* s = new QSpinBox(m_page);
    s->setObjectName(QLatin1String(name));
    s->setRange(range.lowest, range.highest);
    s->setSingleStep(range.step);
    s->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    s->setMinimumWidth(70);
    m_grid->addWidget(s, m_row++, 1, Qt::AlignLeft);
    return s;
  }
  QLineEdit* edit(const char* name, const char* text, bool readOnly = false) {
    label(text);
    auto* e = new QLineEdit(m_page);
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(readOnly);
    e->setMinimumWidth(220);
    m_grid->addWidget(e, m_row, 1);
    return e;
  }
  // A read-only field or a swatch with its button on the same row.
  QPushButton* button(const char* name, const char* text) {
    auto* b = new QPushButton(QString::fromUtf8(text), m_page);
    b->setObjectName(QLatin1String(name));
    m_grid->addWidget(b, m_row++, 2);
    return b;
  }
  QFrame* swatch(const char* name, const char* text) {
    label(text);
    auto* f = new QFrame(m_page);
    f->setObjectName(QLatin1String(name));
    f->setFrameShape(QFrame::Panel);
    f->setFrameShadow(QFrame::Sunken);
    f->setAutoFillBackground(true);
    f->setFixedSize(60, 22);
    m_grid->addWidget(f, m_row, 1, Qt::AlignLeft);
    return f;
  }
  QComboBox* combo(const char* name, const char* text) {
    label(text);
    auto* c = new QComboBox(m_page);
    c->setObjectName(QLatin1String(name));
    m_grid->addWidget(c, m_row++, 1);
    return c;
  }
  void widget(QWidget* w) { m_grid->addWidget(w, m_row++, 0, 1, 3); }
  void endRow() { ++m_row; }
  void finish() { m_grid->setRowStretch(m_row, 1); }

 private:
  QWidget* m_page;
  QGridLayout* m_grid;
  int m_row = 0;
};

void ShowColour(QFrame* swatch, int32_t colour) {
  QPalette p = swatch->palette();
  p.setColor(QPalette::Window, FromColorRef(colour));
  swatch->setPalette(p);
}

}  // namespace

TOption::TOption(TMain& main, Dialogs& dialogs) : QDialog(&main), m_main(main), m_dialogs(dialogs) {
  setObjectName(QStringLiteral("TOption"));
  setWindowTitle(QStringLiteral("オプション"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  build();
  m_pages->setCurrentIndex(0);
  move(main.startPosition() + QPoint(0, 100));
  mainini();
}

void TOption::build() {
  auto* outer = new QVBoxLayout(this);
  outer->setSizeConstraint(QLayout::SetFixedSize);
  auto* heading = new QLabel(QStringLiteral("オプション設定"), this);
  heading->setObjectName(QStringLiteral("HeadingPanel"));
  heading->setFrameShape(QFrame::Panel);
  heading->setFrameShadow(QFrame::Raised);
  heading->setMargin(4);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  outer->addWidget(heading);

  m_pages = new QTabWidget(this);
  m_pages->setObjectName(QStringLiteral("PageControl1"));
  m_pages->setUsesScrollButtons(false);
  m_pages->addTab(basicPage(), QStringLiteral("基本設定"));
  m_pages->addTab(pagePage(), QStringLiteral("ページ設定"));
  m_pages->addTab(titlePage(), QStringLiteral("タイトル設定"));
  m_pages->addTab(thumbnailPage(), QStringLiteral("ｻﾑﾈｲﾙ画像"));
  m_pages->addTab(namesPage(), QStringLiteral("作成ﾌｧｲﾙ名"));
  m_pages->addTab(headerFooterPage(), QStringLiteral("ﾍｯﾀﾞｰ/ﾌｯﾀｰ"));
  m_pages->addTab(programsPage(), QStringLiteral("外部ソフト"));
  m_pages->addTab(slideShowPage(), QStringLiteral("スライドショウ"));
  m_pages->addTab(rotationPage(), QStringLiteral("画像回転"));
  outer->addWidget(m_pages);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  m_ok = new QPushButton(QStringLiteral("登録"), this);
  m_ok->setObjectName(QStringLiteral("optOK"));
  m_ok->setToolTip(QStringLiteral("すべての設定が終了したら保存して下さい。"));
  m_cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  m_cancel->setObjectName(QStringLiteral("optCansel"));
  m_cancel->setToolTip(QStringLiteral("設定を変更せず終了します。"));
  m_ok->setAutoDefault(false);
  m_cancel->setAutoDefault(false);
  buttons->addWidget(m_ok);
  buttons->addWidget(m_cancel);
  outer->addLayout(buttons);
  connect(m_ok, &QPushButton::clicked, this, &TOption::optOKClick);
  connect(m_cancel, &QPushButton::clicked, this, &TOption::optCanselClick);

  for (QCheckBox* governing : {m_check3, m_fontsetbox, m_ttableBox, m_check5, m_headerBox, m_footerbox, m_footerlinkbox,
                               m_check7, m_sMaxcheck}) {
    connect(governing, &QCheckBox::toggled, this, &TOption::updateEnabled);
  }
}

QWidget* TOption::basicPage() {
  PageBuilder b(new QWidget(this));
  b.note("起動時のフォルダ設定（設定ボタンで指定してください）");
  m_edit1 = b.edit("Edit1", "", true);
  m_edit1->setToolTip(QStringLiteral("直接入力はできません。右の設定ボタンで設定します。"));
  connect(b.button("Button1", "設定"), &QPushButton::clicked, this, &TOption::chooseStartFolder);
  m_checkBox2 = b.check("CheckBox2", "現在の表示位置で次回からは起動");
  m_autoinibox = b.check("autoinibox", "実行時に設定ファイルを自動保存する");
  b.finish();
  return b.page();
}

QWidget* TOption::pagePage() {
  PageBuilder b(new QWidget(this));
  m_linenumspin = b.spin("linenumspin", "1行に表示するｻﾑﾈｲﾙ画像の枚数", spin::kPerRow);
  m_tablewidthbox = b.spin("tablewidthbox", "サムネイル画像の表の太さ", spin::kBorder);
  b.note("（テーブルの枠幅）");
  m_panel2 = b.swatch("Panel2", "背景の色");
  m_panel2->setToolTip(QStringLiteral("カタログの背景色です。"));
  connect(b.button("Button4", "設定"), &QPushButton::clicked, this, [this] { chooseColour(m_form.backgroundColor); });
  m_panel5 = b.swatch("Panel5", "テキストの色");
  connect(b.button("Button8", "設定"), &QPushButton::clicked, this, [this] { chooseColour(m_form.textColor); });
  m_check3 = b.check("Check3", "背景に画像ファイルを使用する。");
  m_edit2 = b.edit("Edit2", "ファイル名", true);
  m_edit2->setToolTip(QStringLiteral("背景パターンを使用するにチェックが入っていると、右の設定ボタンで指定できます。"));
  m_button5 = b.button("Button5", "参照");
  connect(m_button5, &QPushButton::clicked, this, &TOption::chooseBackground);
  b.finish();
  return b.page();
}

QWidget* TOption::titlePage() {
  PageBuilder b(new QWidget(this));
  m_combo1 = b.combo("Combo1", "タイトル文字のサイズ");
  m_combo1->setToolTip(QStringLiteral("タイトルに使用する文字サイズです。（数字が大きいほど文字も大きい）"));
  m_panel3 = b.swatch("Panel3", "タイトル文字の色");
  connect(b.button("Button6", "選択"), &QPushButton::clicked, this, [this] { chooseColour(m_form.titleColor, 0); });
  m_checkBox3 = b.check("CheckBox3", "斜体");
  m_checkBox4 = b.check("CheckBox4", "太字");
  m_fontsetbox = b.check("fontsetbox", "タイトルのフォントを指定する");
  m_combo2 = b.combo("Combo2", "フォント");
  m_combo2->setToolTip(QStringLiteral("タイトルの文字の書体を選択します"));
  m_ttableBox = b.check("TtableBox", "タイトルにテーブルを使用する");
  m_combo3 = b.combo("Combo3", "タイトルテーブルの横幅");
  m_combo3->setToolTip(QStringLiteral("タイトル文字の周辺枠の大きさを指定します"));
  m_panel4 = b.swatch("Panel4", "タイトルの背景色");
  m_button7 = b.button("Button7", "選択");
  connect(m_button7, &QPushButton::clicked, this, [this] { chooseColour(m_form.titleBackground, 16777215); });
  m_spinEdit5 = b.spin("SpinEdit5", "タイトルテーブルの枠幅", spin::kBorder);
  b.finish();
  return b.page();
}

QWidget* TOption::thumbnailPage() {
  PageBuilder b(new QWidget(this));
  m_spinEdit1 = b.spin("SpinEdit1", "サムネイル画像の幅", spin::kThumbnailSide);
  m_spinEdit1->setToolTip(QStringLiteral("アルバム表示の時の画像の幅を指定します"));
  m_spinEdit2 = b.spin("SpinEdit2", "サムネイル画像の高さ", spin::kThumbnailSide);
  m_spinEdit4 = b.spin("SpinEdit4", "サムネイル画像の圧縮率", spin::kThumbnailQuality);
  b.note("（数字が多きいほど画質が向上します。）");
  m_check5 = b.check("Check5", "サムネイル画像をクリックしたとき新しいブラウザを開く");
  m_check6 = b.check("Check6", "Jave Script　を使用する　（ブラウザによっては表示できないものもあります）");
  m_checkfilter = b.check("Checkfilter", "フィルタをかける（フルカラー専用）");
  m_sFilebox = b.check("s_filebox", "同一ﾌｧｲﾙ名のﾌｧｲﾙが存在したらスキップ");
  m_picFrameBox = b.check("PicFrameBox", "ｻﾑﾈｲﾙ画像にリンクの枠表示をしない");
  m_fileclearbox = b.check("fileclearbox", "ｻﾑﾈｲﾙ画像用ﾌｫﾙﾀﾞにあるﾌｧｲﾙを実行時消去");
  b.finish();
  return b.page();
}

QWidget* TOption::namesPage() {
  PageBuilder b(new QWidget(this));
  m_htmlfilebox = b.edit("htmlfilebox", "作成するＨＴＭＬファイル名");
  b.endRow();
  m_htmlfoldabox = b.edit("htmlfoldabox", "サムネイル画像を作成するフォルダ名");
  b.endRow();
  m_sHeaderbox = b.edit("s_headerbox", "サムネイル画像のファイル名に付加する文字列");
  b.endRow();
  b.note("注意");
  b.note("ここでの設定が目次作成でも使用されるのでこの設定が統一されていないと");
  b.note("目次でリンクができなくなることがあります。");
  b.finish();
  return b.page();
}

QWidget* TOption::headerFooterPage() {
  PageBuilder b(new QWidget(this));
  b.note("ヘッダー");
  m_headerBox = b.check("headerBox", "デフォルト（作成日）");
  m_headertext = b.edit("headertext", "コメント");
  b.endRow();
  b.note("フッター");
  m_footerbox = b.check("footerbox", "デフォルト（Pictavoのリンク）");
  m_footertext = b.edit("footertext", "コメント");
  b.endRow();
  m_footerlinkbox = b.check("footerlinkbox", "リンクする");
  m_footerlink = b.edit("footerlink", "URL");
  b.endRow();
  b.note("メールアドレスの時は　mailto: から記入");
  b.finish();
  return b.page();
}

QWidget* TOption::programsPage() {
  PageBuilder b(new QWidget(this));
  m_edit3 = b.edit("Edit3", "外部ビュアー設定", true);
  m_edit3->setToolTip(QStringLiteral("画像表示ソフトを指定します。"));
  connect(b.button("Button2", "設定"), &QPushButton::clicked, this, [this] { chooseProgram(m_edit3); });
  m_edit6 = b.edit("Edit6", "ブラウザ設定", true);
  connect(b.button("Button3", "設定"), &QPushButton::clicked, this, [this] { chooseProgram(m_edit6); });
  b.note("設定しなければ関連づけされたソフトが起動します");
  m_browserbox = b.check("browserbox", "ブラウザを起動しない");
  b.finish();
  return b.page();
}

QWidget* TOption::slideShowPage() {
  PageBuilder b(new QWidget(this));
  m_check7 = b.check("Check7", "スライドショウ用のHTMLを作成する。");
  m_spinEdit3 = b.spin("SpinEdit3", "表示間隔（秒）", spin::kInterval);
  m_sMaxcheck = b.check("s_maxcheck", "画像表示サイズの最大値を指定する。");
  m_spinSX = b.spin("SpinSX", "横Size", spin::kSlideSide);
  m_spinSY = b.spin("SpinSY", "縦Size", spin::kSlideSide);
  b.note("JavaScriptを使用しているため意図したように表示できないﾌﾞﾗｳｻﾞが有ります。");
  b.note("フォルダ名，ファイル名によっては表示されないことがあります");
  b.finish();
  return b.page();
}

QWidget* TOption::rotationPage() {
  PageBuilder b(new QWidget(this));
  b.note("画像保存時の圧縮率");
  auto* row = new QWidget(b.page());
  auto* rowLayout = new QHBoxLayout(row);
  rowLayout->setContentsMargins(0, 0, 0, 0);
  rowLayout->setSpacing(0);
  m_edit7 = new QLineEdit(row);
  m_edit7->setObjectName(QStringLiteral("Edit7"));
  m_edit7->setReadOnly(true);
  m_edit7->setFixedWidth(40);
  m_upDown1 = new UpDown(row);
  m_upDown1->setObjectName(QStringLiteral("UpDown1"));
  m_upDown1->setRange(spin::kRotationQuality.lowest, spin::kRotationQuality.highest);
  rowLayout->addWidget(m_edit7);
  rowLayout->addWidget(m_upDown1);
  rowLayout->addStretch();
  b.widget(row);
  connect(m_upDown1, &UpDown::valueChanged, this, [this](int v) { m_edit7->setText(QString::number(v)); });
  b.note("数字が大きい方が高画質ですが");
  b.note("ファイルサイズが大きくなります。");
  m_checkBox1 = b.check("CheckBox1", "元のファイルをバックアップする（推奨）");
  b.note("画像回転モードの時、元のファイルを");
  b.note("_backupディレクトリを作り保存します");
  b.finish();
  return b.page();
}

// --- filling and reading the controls ---

void TOption::mainini() {
  QStringList families = QFontDatabase::families(QFontDatabase::Japanese);
  std::vector<std::string> fonts;
  for (const QString& family : families) fonts.push_back(S(family));
  m_form = FillOptionForm(m_main.session().settings, m_main.picturesPerRowControl(), fonts);
  showForm(m_form);
  // Edit7 shows the stored number as it is; the up-down holds it within 50 to 100.
  m_edit7->setText(QString::number(m_main.session().settings.rotationQuality));
}

void TOption::showForm(const OptionForm& f) {
  m_edit1->setText(Q(f.startFolder));
  m_checkBox2->setChecked(f.startAtCurrentPosition);
  m_autoinibox->setChecked(f.autoSaveSettings);

  m_linenumspin->setValue(f.perRow);
  m_tablewidthbox->setValue(f.tableBorder);
  m_check3->setChecked(f.backgroundPattern);
  m_edit2->setText(Q(f.backgroundFile));

  m_combo1->clear();
  for (const auto& item : TitleSizeItems()) m_combo1->addItem(Q(item));
  m_combo1->setCurrentIndex(f.titleSize);
  m_checkBox3->setChecked(f.titleItalic);
  m_checkBox4->setChecked(f.titleBold);
  m_fontsetbox->setChecked(f.titleFontSpecified);
  m_combo2->clear();
  for (const auto& font : f.fonts) m_combo2->addItem(Q(font));
  m_combo2->setCurrentIndex(f.titleFont);
  m_ttableBox->setChecked(f.titleUseTable);
  m_combo3->clear();
  for (const auto& item : TitleWidthItems()) m_combo3->addItem(Q(item));
  m_combo3->setCurrentIndex(f.titleWidth);
  m_spinEdit5->setValue(f.titleTableBorder);

  m_spinEdit1->setValue(f.thumbnailWidth);
  m_spinEdit2->setValue(f.thumbnailHeight);
  m_spinEdit4->setValue(f.thumbnailQuality);
  m_check5->setChecked(f.openInSubWindow);
  m_check6->setChecked(f.scriptPopup);
  m_checkfilter->setChecked(f.thumbnailFilter);
  m_sFilebox->setChecked(f.skipExisting);
  m_picFrameBox->setChecked(f.noPictureFrame);
  m_fileclearbox->setChecked(f.clearThumbnailFolder);

  m_htmlfilebox->setText(Q(f.htmlFileName));
  m_htmlfoldabox->setText(Q(f.thumbnailFolderName));
  m_sHeaderbox->setText(Q(f.thumbnailPrefix));

  m_headerBox->setChecked(f.defaultHeader);
  m_headertext->setText(Q(f.headerComment));
  m_footerbox->setChecked(f.defaultFooter);
  m_footertext->setText(Q(f.footerComment));
  m_footerlinkbox->setChecked(f.footerLink);
  m_footerlink->setText(Q(f.footerLinkUrl));

  m_edit3->setText(Q(f.externalViewerPath));
  m_edit6->setText(Q(f.browserPath));
  m_browserbox->setChecked(f.noBrowserPrompt);

  m_check7->setChecked(f.makeSlideShow);
  m_spinEdit3->setValue(f.slideShowInterval);
  m_sMaxcheck->setChecked(f.slideShowLimit);
  m_spinSX->setValue(f.slideShowMaxX);
  m_spinSY->setValue(f.slideShowMaxY);

  m_upDown1->setValue(f.rotationQuality);
  m_edit7->setText(QString::number(m_upDown1->value()));
  m_checkBox1->setChecked(f.rotationBackup);
  showSwatches();
  updateEnabled();
}

OptionForm TOption::form() const {
  OptionForm f = m_form;  // the font list and the colours
  f.startFolder = S(m_edit1->text());
  f.startAtCurrentPosition = m_checkBox2->isChecked();
  f.autoSaveSettings = m_autoinibox->isChecked();
  f.perRow = m_linenumspin->value();
  f.tableBorder = m_tablewidthbox->value();
  f.backgroundPattern = m_check3->isChecked();
  f.backgroundFile = S(m_edit2->text());
  f.titleSize = m_combo1->currentIndex();
  f.titleItalic = m_checkBox3->isChecked();
  f.titleBold = m_checkBox4->isChecked();
  f.titleFontSpecified = m_fontsetbox->isChecked();
  f.titleFont = m_combo2->currentIndex();
  f.titleUseTable = m_ttableBox->isChecked();
  f.titleWidth = m_combo3->currentIndex();
  f.titleTableBorder = m_spinEdit5->value();
  f.thumbnailWidth = m_spinEdit1->value();
  f.thumbnailHeight = m_spinEdit2->value();
  f.thumbnailQuality = m_spinEdit4->value();
  f.openInSubWindow = m_check5->isChecked();
  f.scriptPopup = m_check6->isChecked();
  f.thumbnailFilter = m_checkfilter->isChecked();
  f.skipExisting = m_sFilebox->isChecked();
  f.noPictureFrame = m_picFrameBox->isChecked();
  f.clearThumbnailFolder = m_fileclearbox->isChecked();
  f.htmlFileName = S(m_htmlfilebox->text());
  f.thumbnailFolderName = S(m_htmlfoldabox->text());
  f.thumbnailPrefix = S(m_sHeaderbox->text());
  f.defaultHeader = m_headerBox->isChecked();
  f.headerComment = S(m_headertext->text());
  f.defaultFooter = m_footerbox->isChecked();
  f.footerComment = S(m_footertext->text());
  f.footerLink = m_footerlinkbox->isChecked();
  f.footerLinkUrl = S(m_footerlink->text());
  f.externalViewerPath = S(m_edit3->text());
  f.browserPath = S(m_edit6->text());
  f.noBrowserPrompt = m_browserbox->isChecked();
  f.makeSlideShow = m_check7->isChecked();
  f.slideShowInterval = m_spinEdit3->value();
  f.slideShowLimit = m_sMaxcheck->isChecked();
  f.slideShowMaxX = m_spinSX->value();
  f.slideShowMaxY = m_spinSY->value();
  f.rotationQuality = m_upDown1->value();
  f.rotationBackup = m_checkBox1->isChecked();
  return f;
}

void TOption::updateEnabled() {
  const OptionForm f = form();
  m_edit2->setEnabled(f.backgroundFileEnabled());
  m_button5->setEnabled(f.backgroundFileEnabled());
  m_combo2->setEnabled(f.titleFontEnabled());
  m_combo3->setEnabled(f.titleTableEnabled());
  m_button7->setEnabled(f.titleTableEnabled());
  m_spinEdit5->setEnabled(f.titleTableEnabled());
  m_check6->setEnabled(f.scriptPopupEnabled());
  m_headertext->setEnabled(f.headerCommentEnabled());
  m_footertext->setEnabled(f.footerEnabled());
  m_footerlinkbox->setEnabled(f.footerEnabled());
  m_footerlink->setEnabled(f.footerUrlEnabled());
  m_spinEdit3->setEnabled(f.intervalEnabled());
  m_spinSX->setEnabled(f.slideSizeEnabled());
  m_spinSY->setEnabled(f.slideSizeEnabled());
}

void TOption::showSwatches() {
  ShowColour(m_panel2, m_form.backgroundColor);
  ShowColour(m_panel5, m_form.textColor);
  ShowColour(m_panel3, m_form.titleColor.value_or(0));
  ShowColour(m_panel4, m_form.titleBackground.value_or(16777215));
}

void TOption::showFirstPage() { m_pages->setCurrentIndex(0); }

// --- the pickers ---

void TOption::chooseColour(int32_t& colour) {
  if (const auto chosen = m_dialogs.chooseColour(this, FromColorRef(colour))) colour = ToColorRef(*chosen);
  showSwatches();
}

void TOption::chooseColour(std::optional<int32_t>& colour, int32_t preset) {
  // A cancel keeps the colour, also a stored text that was not a number.
  if (const auto chosen = m_dialogs.chooseColour(this, FromColorRef(colour.value_or(preset)))) {
    colour = ToColorRef(*chosen);
  }
  showSwatches();
}

void TOption::chooseProgram(QLineEdit* edit) {
  const auto path = m_dialogs.openFileTitled(this, QString::fromUtf8(msg::kChooseFileTitle), QString(), QString());
  if (path) edit->setText(*path);
}

void TOption::chooseBackground() {
  const auto path = m_dialogs.openFileTitled(this, QString::fromUtf8(msg::kChooseFileTitle), QString(), QString());
  if (!path) return;
  OptionForm f = form();
  const std::optional<Message> refused = TakeBackgroundFile(f, S(*path));
  m_edit2->setText(Q(f.backgroundFile));
  if (refused) m_dialogs.message(this, MessageText(*refused));
}

void TOption::chooseStartFolder() {
  // A cancelled chooser keeps the folder that was there.
  if (const auto chosen = m_dialogs.chooseFolderInWindow(this)) m_edit1->setText(*chosen);
}

// --- the buttons ---

void TOption::optOKClick() {
  Session& session = m_main.session();
  const QPoint start = m_main.startPosition();
  const WindowPlaces places{m_main.x(), m_main.y(), start.x(), start.y()};
  const OptionConfirmResult result = ConfirmOptions(form(), places, session.settings, session.main);
  if (result.outcome != OptionConfirm::Confirmed) {
    QString text = MessageText(result.message);
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_dialogs.message(this, text);
    return;
  }
  m_main.setPicturesPerRow(session.settings.picturesPerRow);
  emit confirmed();
  accept();
}

void TOption::optCanselClick() {
  mainini();
  reject();
}

}  // namespace pictavo::gui
