#include "publish_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "publish/publish_settings.h"
#include "qt_convert.h"

namespace pictavo::gui {

namespace msg {
constexpr const char* kNoDestination = "公開先のフォルダを指定してください。";
constexpr const char* kStopped = "処理は中断されました。";
constexpr const char* kCannotStart = "公開用コピーを作成できません。";
constexpr const char* kDone = "公開用コピーを作成しました。";
constexpr const char* kCheckFailed = "公開用コピーを作成しましたが、確認で問題が見つかりました。";
constexpr const char* kSomeFailed = "公開用コピーを作成できなかったファイルがあります。";
constexpr const char* kSettingsNotSaved = "公開の設定を保存できませんでした。";
}  // namespace msg

PublishWindow::PublishWindow(QWidget* parent, Dialogs& dialogs, std::string programFolder)
    : QDialog(parent), m_ui(dialogs, this), m_programFolder(std::move(programFolder)) {
  setObjectName(QStringLiteral("TPublish"));
  setWindowTitle(QStringLiteral("公開用コピーの作成"));
  setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);

  auto* form = new QFormLayout;
  auto* destRow = new QHBoxLayout;
  m_dest = new QLineEdit(this);
  m_dest->setObjectName(QStringLiteral("DestEdit"));
  auto* choose = new QPushButton(QStringLiteral("参照..."), this);
  choose->setObjectName(QStringLiteral("DestButton"));
  connect(choose, &QPushButton::clicked, this, &PublishWindow::chooseDestination);
  destRow->addWidget(m_dest, 1);
  destRow->addWidget(choose);
  form->addRow(QStringLiteral("公開先フォルダ"), destRow);
  m_maxSize = new QSpinBox(this);
  m_maxSize->setObjectName(QStringLiteral("MaxSize"));
  m_maxSize->setRange(16, 65500);
  m_maxSize->setSuffix(QStringLiteral(" ピクセル"));
  form->addRow(QStringLiteral("画像の最大サイズ"), m_maxSize);
  m_quality = new QSpinBox(this);
  m_quality->setObjectName(QStringLiteral("Quality"));
  m_quality->setRange(1, 100);
  form->addRow(QStringLiteral("画質"), m_quality);
  m_keepLocation = new QCheckBox(QStringLiteral("撮影場所（GPS）の情報を残す"), this);
  m_keepLocation->setObjectName(QStringLiteral("KeepLocation"));
  form->addRow(QString(), m_keepLocation);
  m_progress = new QProgressBar(this);
  m_progress->setObjectName(QStringLiteral("Progress"));
  m_progress->setRange(0, 1);
  m_progress->setValue(0);

  auto* buttons = new QHBoxLayout;
  m_run = new QPushButton(QStringLiteral("作成"), this);
  m_run->setObjectName(QStringLiteral("PublishButton"));
  m_abortButton = new QPushButton(QStringLiteral("中止"), this);
  m_abortButton->setObjectName(QStringLiteral("AbortButton"));
  m_close = new QPushButton(QStringLiteral("閉じる"), this);
  m_close->setObjectName(QStringLiteral("CloseButton"));
  connect(m_run, &QPushButton::clicked, this, &PublishWindow::execute);
  connect(m_abortButton, &QPushButton::clicked, this, &PublishWindow::abort);
  connect(m_close, &QPushButton::clicked, this, &PublishWindow::close);
  buttons->addStretch(1);
  buttons->addWidget(m_run);
  buttons->addWidget(m_abortButton);
  buttons->addWidget(m_close);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(m_progress);
  layout->addLayout(buttons);
  setBusy(false);
}

void PublishWindow::openFor(const QString& site) {
  m_site = site;
  const PublishSettings s = ReadPublishSettings(m_programFolder);
  m_maxSize->setValue(s.maxSize);
  m_quality->setValue(s.quality);
  m_keepLocation->setChecked(s.keepLocation);
  m_progress->setRange(0, 1);
  m_progress->setValue(0);
  setWindowTitle(QStringLiteral("公開用コピーの作成 - ") + QDir::toNativeSeparators(site));
  ShowModal(this);
}

void PublishWindow::chooseDestination() {
  const QString start = m_dest->text().isEmpty() ? QDir(m_site).absoluteFilePath(QStringLiteral("..")) : m_dest->text();
  if (auto folder = m_ui.dialogs().chooseFolder(this, QStringLiteral("公開先フォルダ"), start)) m_dest->setText(*folder);
}

void PublishWindow::setBusy(bool busy) {
  m_busy = busy;
  m_run->setEnabled(!busy);
  m_close->setEnabled(!busy);
  m_abortButton->setEnabled(busy);
  for (QWidget* w : std::initializer_list<QWidget*>{m_dest, m_maxSize, m_quality, m_keepLocation}) w->setEnabled(!busy);
}

bool PublishWindow::stopRequested() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  return m_abort;
}

void PublishWindow::progress(size_t done, size_t total, const std::string& path) {
  m_progress->setRange(0, static_cast<int>(std::max<size_t>(total, 1)));
  m_progress->setValue(static_cast<int>(done));
  m_progress->setFormat(QStringLiteral("%v / %m  ") + Q(path));
}

void PublishWindow::abort() { m_abort = true; }

void PublishWindow::execute() {
  if (m_busy) return;
  const QString dest = m_dest->text().trimmed();
  if (dest.isEmpty()) {
    m_ui.showMessage(msg::kNoDestination);
    return;
  }
  PublishSettings settings{m_maxSize->value(), m_quality->value(), m_keepLocation->isChecked()};
  std::string error;
  if (!WritePublishSettings(m_programFolder, settings, error)) {
    m_ui.note(error);
    m_ui.showMessage(msg::kSettingsNotSaved);
  }
  PublishOptions options;
  options.maxSize = settings.maxSize;
  options.quality = settings.quality;
  options.keepLocation = settings.keepLocation;
  m_abort = false;
  setBusy(true);
  const PublishSummary s = Publish(S(m_site), S(dest), options, *this);
  setBusy(false);
  const std::string counts = "縮小した画像 " + std::to_string(s.reduced) + " 枚、コピーしたファイル " +
                             std::to_string(s.copied) + " 件、変更のなかったファイル " +
                             std::to_string(s.unchanged) + " 件、削除したファイル " + std::to_string(s.removed) + " 件";
  switch (s.outcome) {
    case PublishOutcome::Done: m_ui.showMessage(std::string(msg::kDone) + "\r" + counts); break;
    case PublishOutcome::Stopped: m_ui.showMessage(msg::kStopped); break;
    case PublishOutcome::CheckFailed: {
      std::string detail;
      for (const Finding& f : s.check.findings) {
        if (f.severity == Severity::Problem) detail += f.page + ": " + f.text + "\n";
      }
      m_ui.note(detail);
      m_ui.showMessage(std::string(msg::kCheckFailed) + "\r" + counts);
      break;
    }
    case PublishOutcome::Failed:
      if (!s.error.empty()) {
        m_ui.note(s.error);
        m_ui.showMessage(msg::kCannotStart);
      } else {
        std::string detail;
        for (const std::string& f : s.failures) detail += f + "\n";
        m_ui.note(detail);
        m_ui.showMessage(std::string(msg::kSomeFailed) + "\r" + counts);
      }
      break;
  }
}

void PublishWindow::closeEvent(QCloseEvent* event) {
  if (m_busy) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void PublishWindow::reject() {
  if (!m_busy) QDialog::reject();
}

}  // namespace pictavo::gui
