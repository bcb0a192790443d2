#include "options_window.h"

#include "ui_options_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

#include "qt_convert.h"
#include "dialogs.h"
#include "main_window.h"
#include "message_text.h"

namespace pictavo::gui {
namespace {

void ShowColour(QFrame* swatch, int32_t colour) {
  QPalette p = swatch->palette();
  p.setColor(QPalette::Window, FromColorRef(colour));
  swatch->setPalette(p);
}

}  // namespace

OptionsDialog::OptionsDialog(OptionsOwner& owner, Dialogs& dialogs)
    : QDialog(owner.widget()), m_main(owner), m_dialogs(dialogs), m_ui(std::make_unique<Ui::OptionsDialog>()) {
  m_ui->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  // The ranges are the core's, kept with the rows that use them.
  for (const OptionField& field : OptionFields()) {
    if (field.kind == OptionControl::Spin) {
      auto* spin = findChild<QSpinBox*>(QLatin1String(field.control));
      spin->setRange(field.range->lowest, field.range->highest);
      spin->setSingleStep(field.range->step);
    } else if (field.kind == OptionControl::UpDown) {
      findChild<UpDown*>(QLatin1String(field.control))->setRange(field.range->lowest, field.range->highest);
    }
  }
  connect(m_ui->optOK, &QPushButton::clicked, this, &OptionsDialog::optOKClick);
  connect(m_ui->optCansel, &QPushButton::clicked, this, &OptionsDialog::optCanselClick);
  connect(m_ui->Button1, &QPushButton::clicked, this, &OptionsDialog::chooseStartFolder);
  connect(m_ui->Button4, &QPushButton::clicked, this, [this] { chooseColour(m_form.backgroundColor); });
  connect(m_ui->Button8, &QPushButton::clicked, this, [this] { chooseColour(m_form.textColor); });
  connect(m_ui->Button5, &QPushButton::clicked, this, &OptionsDialog::chooseBackground);
  connect(m_ui->Button6, &QPushButton::clicked, this, [this] { chooseColour(m_form.titleColor, 0); });
  connect(m_ui->Button7, &QPushButton::clicked, this, [this] { chooseColour(m_form.titleBackground, 16777215); });
  connect(m_ui->Button2, &QPushButton::clicked, this, [this] { chooseProgram(m_ui->Edit3); });
  connect(m_ui->Button3, &QPushButton::clicked, this, [this] { chooseProgram(m_ui->Edit6); });
  // The up-down's arrows have no caption: they are named from what they do.
  m_ui->UpDown1->findChild<QToolButton*>(QStringLiteral("UpDown1Up"))
      ->setAccessibleName(tr("圧縮率を上げる"));
  m_ui->UpDown1->findChild<QToolButton*>(QStringLiteral("UpDown1Down"))
      ->setAccessibleName(tr("圧縮率を下げる"));
  connect(m_ui->UpDown1, &UpDown::valueChanged, this, [this](int v) { m_ui->Edit7->setText(QString::number(v)); });
  for (QCheckBox* governing : {m_ui->Check3, m_ui->fontsetbox, m_ui->TtableBox, m_ui->Check5, m_ui->headerBox,
                               m_ui->footerbox, m_ui->footerlinkbox, m_ui->Check7, m_ui->s_maxcheck}) {
    connect(governing, &QCheckBox::toggled, this, &OptionsDialog::updateEnabled);
  }
  m_ui->PageControl1->setCurrentIndex(0);
  move(m_main.startPosition() + QPoint(0, 100));
  mainini();
}

OptionsDialog::~OptionsDialog() = default;

// --- filling and reading the controls ---

void OptionsDialog::mainini() {
  QStringList families = QFontDatabase::families(QFontDatabase::Japanese);
  std::vector<std::string> fonts;
  for (const QString& family : families) fonts.push_back(S(family));
  m_form = FillOptionForm(m_main.session().settings, m_main.picturesPerRowControl(), fonts);
  showForm(m_form);
  // Edit7 shows the stored number as it is; the up-down holds it within 50 to 100.
  m_ui->Edit7->setText(QString::number(m_main.session().settings.rotationQuality));
}

// The items a list control offers for its row.
std::vector<std::string> OptionsDialog::listItems(const OptionField& field, const OptionForm& f) {
  switch (field.rule) {
    case OptionRule::SizeList:
      return TitleSizeItems();
    case OptionRule::WidthList:
      return TitleWidthItems();
    default:
      return f.fonts;
  }
}

void OptionsDialog::showForm(const OptionForm& f) {
  for (const OptionField& field : OptionFields()) {
    const QString name = QLatin1String(field.control);
    switch (field.kind) {
      case OptionControl::Edit:
        findChild<QLineEdit*>(name)->setText(Q(f.*field.text));
        break;
      case OptionControl::Check:
        findChild<QCheckBox*>(name)->setChecked(f.*field.flag);
        break;
      case OptionControl::Spin:
        findChild<QSpinBox*>(name)->setValue(f.*field.number);
        break;
      case OptionControl::Combo: {
        auto* combo = findChild<QComboBox*>(name);
        combo->clear();
        for (const auto& item : listItems(field, f)) combo->addItem(Q(item));
        combo->setCurrentIndex(f.*field.number);
        break;
      }
      case OptionControl::UpDown:
        findChild<UpDown*>(name)->setValue(f.*field.number);
        break;
      case OptionControl::Colour:
        break;  // the swatches show m_form below
    }
  }
  m_ui->Edit7->setText(QString::number(m_ui->UpDown1->value()));
  showSwatches();
  updateEnabled();
}

OptionForm OptionsDialog::form() const {
  OptionForm f = m_form;  // the font list and the colours
  for (const OptionField& field : OptionFields()) {
    const QString name = QLatin1String(field.control);
    switch (field.kind) {
      case OptionControl::Edit:
        f.*field.text = S(findChild<QLineEdit*>(name)->text());
        break;
      case OptionControl::Check:
        f.*field.flag = findChild<QCheckBox*>(name)->isChecked();
        break;
      case OptionControl::Spin:
        f.*field.number = findChild<QSpinBox*>(name)->value();
        break;
      case OptionControl::Combo:
        f.*field.number = findChild<QComboBox*>(name)->currentIndex();
        break;
      case OptionControl::UpDown:
        f.*field.number = findChild<UpDown*>(name)->value();
        break;
      case OptionControl::Colour:
        break;  // chosen into m_form by the pickers
    }
  }
  return f;
}

void OptionsDialog::updateEnabled() {
  const OptionForm f = form();
  m_ui->Edit2->setEnabled(f.backgroundFileEnabled());
  m_ui->Button5->setEnabled(f.backgroundFileEnabled());
  m_ui->Combo2->setEnabled(f.titleFontEnabled());
  m_ui->Combo3->setEnabled(f.titleTableEnabled());
  m_ui->Button7->setEnabled(f.titleTableEnabled());
  m_ui->SpinEdit5->setEnabled(f.titleTableEnabled());
  m_ui->Check6->setEnabled(f.scriptPopupEnabled());
  m_ui->headertext->setEnabled(f.headerCommentEnabled());
  m_ui->footertext->setEnabled(f.footerEnabled());
  m_ui->footerlinkbox->setEnabled(f.footerEnabled());
  m_ui->footerlink->setEnabled(f.footerUrlEnabled());
  m_ui->SpinEdit3->setEnabled(f.intervalEnabled());
  m_ui->SpinSX->setEnabled(f.slideSizeEnabled());
  m_ui->SpinSY->setEnabled(f.slideSizeEnabled());
}

void OptionsDialog::showSwatches() {
  ShowColour(m_ui->Panel2, m_form.backgroundColor);
  ShowColour(m_ui->Panel5, m_form.textColor);
  ShowColour(m_ui->Panel3, m_form.titleColor.value_or(0));
  ShowColour(m_ui->Panel4, m_form.titleBackground.value_or(16777215));
}

void OptionsDialog::showFirstPage() { m_ui->PageControl1->setCurrentIndex(0); }

// --- the pickers ---

void OptionsDialog::chooseColour(int32_t& colour) {
  if (const auto chosen = m_dialogs.chooseColour(this, FromColorRef(colour))) colour = ToColorRef(*chosen);
  showSwatches();
}

void OptionsDialog::chooseColour(std::optional<int32_t>& colour, int32_t preset) {
  // A cancel keeps the colour, also a stored text that was not a number.
  if (const auto chosen = m_dialogs.chooseColour(this, FromColorRef(colour.value_or(preset)))) {
    colour = ToColorRef(*chosen);
  }
  showSwatches();
}

void OptionsDialog::chooseProgram(QLineEdit* edit) {
  const auto path = m_dialogs.openFileTitled(this, tr(msg::kChooseFileTitle), QString(), QString());
  if (path) edit->setText(*path);
}

void OptionsDialog::chooseBackground() {
  const auto path = m_dialogs.openFileTitled(this, tr(msg::kChooseFileTitle), QString(), QString());
  if (!path) return;
  OptionForm f = form();
  const std::optional<Message> refused = TakeBackgroundFile(f, S(*path));
  m_ui->Edit2->setText(Q(f.backgroundFile));
  if (refused) m_dialogs.message(this, MessageText(*refused));
}

void OptionsDialog::chooseStartFolder() {
  // A cancelled chooser keeps the folder that was there.
  if (const auto chosen = m_dialogs.chooseFolderInWindow(this)) m_ui->Edit1->setText(*chosen);
}

// --- the buttons ---

void OptionsDialog::optOKClick() {
  Session& session = m_main.session();
  const QPoint start = m_main.startPosition();
  const QPoint now = m_main.windowPosition();
  const WindowPlaces places{now.x(), now.y(), start.x(), start.y()};
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

void OptionsDialog::optCanselClick() {
  mainini();
  reject();
}

}  // namespace pictavo::gui
