#include "rotation_window.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

#include "main_window.h"
#include "qt_convert.h"

namespace pictavo::gui {
namespace {

constexpr int kPreviewSide = 200;

}  // namespace

Toption2::Toption2(Dialogs& dialogs, const AlbumSettings& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ToolWindowHost(dialogs, this),
      m_walk(*this, settings) {
  setObjectName(QStringLiteral("Toption2"));
  setWindowTitle(QStringLiteral("画像回転"));
  setModal(true);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(8, 8, 8, 0);

  auto* label1 = new QLabel(QStringLiteral("画像回転処理"), this);
  label1->setObjectName(QStringLiteral("Label1"));
  QFont bold = label1->font();
  bold.setBold(true);
  label1->setFont(bold);
  outer->addWidget(label1);

  auto* body = new QHBoxLayout;
  m_panel = new QFrame(this);
  m_panel->setObjectName(QStringLiteral("Panel1"));
  static_cast<QFrame*>(m_panel)->setFrameShape(QFrame::StyledPanel);
  m_panel->setFixedSize(kPreviewSide + 8, kPreviewSide + 8);
  m_panel->setContextMenuPolicy(Qt::CustomContextMenu);
  m_image2 = new QLabel(m_panel);
  m_image2->setObjectName(QStringLiteral("Image2"));
  m_image2->setScaledContents(true);
  m_image2->setToolTip(QStringLiteral("画像確認のため縮小して表示します。"));
  m_image2->move(4, 4);  // the preview keeps its place; only its size follows the picture
  m_image2->setContextMenuPolicy(Qt::CustomContextMenu);
  body->addWidget(m_panel, 0, Qt::AlignTop);

  auto* side = new QVBoxLayout;
  auto* label2 = new QLabel(QStringLiteral("圧縮率"), this);
  label2->setObjectName(QStringLiteral("Label2"));
  m_edit1 = new QLineEdit(this);
  m_edit1->setObjectName(QStringLiteral("Edit1"));
  m_edit1->setReadOnly(true);
  m_edit1->setMaxLength(3);
  m_edit1->setFixedWidth(40);
  m_edit1->setToolTip(QStringLiteral("保存する画像の圧縮率です。 （大きい数字の方が高画質です。）"));
  m_upDown1 = new UpDown(this);
  m_upDown1->setObjectName(QStringLiteral("UpDown1"));
  m_upDown1->setRange(kRotationMinQuality, kRotationMaxQuality);
  // Only this window's quality: the settings keep theirs.
  connect(m_upDown1, &UpDown::valueChanged, this, &Toption2::setQuality);
  auto* qualityRow = new QHBoxLayout;
  qualityRow->setSpacing(0);
  qualityRow->addWidget(label2);
  qualityRow->addSpacing(6);
  qualityRow->addWidget(m_edit1);
  qualityRow->addWidget(m_upDown1);
  qualityRow->addStretch();
  side->addLayout(qualityRow);
  auto* label3 = new QLabel(QStringLiteral("フルカラー以外では使用できません"), this);
  label3->setObjectName(QStringLiteral("Label3"));
  side->addWidget(label3);
  side->addSpacing(8);

  struct ButtonSpec {
    int number;
    const char* caption;
    const char* hint;
    void (Toption2::*slot)();
  };
  const ButtonSpec specs[] = {
      {1, "右回転", "画像を右に９０度回転します。", &Toption2::rotateRight},
      {2, "左回転", "画像を左に９０度回転します。", &Toption2::rotateLeft},
      {4, "保存して次へ", "表示されている画像を上書きして保存後次の画像を開きます。", &Toption2::save},
      {3, "次へ", "保存せず次の画像を開きます。", &Toption2::next},
      {6, "戻る", "", &Toption2::back},
      {5, "終了", "連続画像回転処理のウィンドウを閉じます。", &Toption2::finish},
  };
  for (const ButtonSpec& b : specs) {
    auto* button = new QPushButton(QString::fromUtf8(b.caption), this);
    button->setObjectName(QStringLiteral("Button%1").arg(b.number));
    if (*b.hint) button->setToolTip(QString::fromUtf8(b.hint));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, b.slot);
    m_button[b.number] = button;
  }
  auto* turns = new QHBoxLayout;
  turns->addWidget(m_button[1]);
  turns->addWidget(m_button[2]);
  side->addLayout(turns);
  side->addWidget(m_button[4]);
  auto* walkRow = new QHBoxLayout;
  walkRow->addWidget(m_button[6]);
  walkRow->addWidget(m_button[3]);
  side->addLayout(walkRow);
  side->addStretch();
  side->addWidget(m_button[5]);
  body->addLayout(side);
  outer->addLayout(body);

  m_popup1 = new QMenu(this);
  m_popup1->setObjectName(QStringLiteral("PopupMenu1"));
  m_popup1->addAction(QStringLiteral("右回転"), this, &Toption2::rotateRight)->setObjectName(QStringLiteral("N1"));
  m_popup1->addAction(QStringLiteral("左回転"), this, &Toption2::rotateLeft)->setObjectName(QStringLiteral("N2"));
  for (QWidget* w : {m_panel, static_cast<QWidget*>(m_image2)}) {
    connect(w, &QWidget::customContextMenuRequested, this,
            [this, w](const QPoint& p) { m_popup1->popup(w->mapToGlobal(p)); });
  }

  auto* bar = new QStatusBar(this);
  bar->setObjectName(QStringLiteral("StatusBar1"));
  bar->setSizeGripEnabled(false);
  const int widths[4] = {100, 100, 100, 50};
  for (int i = 0; i < 4; ++i) {
    m_status[i] = new QLabel(bar);
    m_status[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    m_status[i]->setFixedWidth(widths[i]);
    m_status[i]->setFrameShape(QFrame::Panel);
    m_status[i]->setFrameShadow(QFrame::Sunken);
    if (i == 2) m_status[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bar->addWidget(m_status[i]);
  }
  outer->addWidget(bar);

  setQuality(m_walk.quality);
  showWalk();
}

bool Toption2::openList(const std::string& folder, std::vector<PictureEntry>& list) {
  const bool open = m_walk.openList(folder, list);
  showWalk();
  return open;
}

bool Toption2::openSingle(const std::string& folder, const std::vector<std::string>& selectedNames) {
  const bool open = m_walk.openSingle(folder, selectedNames);
  showWalk();
  return open;
}

void Toption2::setQuality(int quality) {
  m_walk.quality = std::clamp(quality, kRotationMinQuality, kRotationMaxQuality);
  m_upDown1->setValue(m_walk.quality);
  m_edit1->setText(QString::number(m_walk.quality));
}

void Toption2::showWalk() {
  const RotationControls& c = m_walk.controls();
  m_button[1]->setEnabled(c.button1);
  m_button[2]->setEnabled(c.button2);
  m_button[3]->setEnabled(c.button3);
  m_button[6]->setEnabled(c.button6);
  m_button[4]->setText(MessageText(c.button4Caption));
  const Bitmap& picture = m_walk.picture();
  if (picture.empty()) {
    m_image2->hide();
    m_image2->setPixmap(QPixmap());
  } else {
    m_image2->setPixmap(QPixmap::fromImage(ToQImage(picture)));
    m_image2->resize(m_walk.preview().width, m_walk.preview().height);
    m_image2->show();
  }
  if (isVisible() && !c.windowOpen) accept();
}

void Toption2::rotateRight() {
  if (!m_button[1]->isEnabled()) return;
  setEnabled(false);  // the turn runs to its end before anything else
  m_walk.rotateRight();
  setEnabled(true);
  showWalk();
}

void Toption2::rotateLeft() {
  if (!m_button[2]->isEnabled()) return;
  setEnabled(false);
  m_walk.rotateLeft();
  setEnabled(true);
  showWalk();
}

void Toption2::next() {
  m_walk.next();
  showWalk();
}

void Toption2::back() {
  m_walk.back();
  showWalk();
}

void Toption2::save() {
  (void)m_walk.save();  // every failure has shown its message; the walk stays
  showWalk();
}

void Toption2::finish() {
  m_walk.finish();
  showWalk();
  if (isVisible()) accept();
}

void Toption2::reject() {
  // Closed by its frame or Escape: as 終了, unsaved turns are dropped.
  m_walk.finish();
  QDialog::reject();
}

void Toption2::setStatus(StatusPanel panel, const Message& text) {
  // Panel 0 tells of a turn in progress, panel 2 holds the counter.
  QLabel* label = panel == StatusPanel::Counter ? m_status[2] : m_status[0];
  label->setText(MessageText(text));
  label->repaint();
}

}  // namespace pictavo::gui
