#include "publish_window.h"

#include "ui_publish_window.h"

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
constexpr const char* kNoDestination = QT_TRANSLATE_NOOP("pictavo::gui::PublishWindow", "公開先のフォルダを指定してください。");
constexpr const char* kStopped = QT_TRANSLATE_NOOP("pictavo::gui::PublishWindow", "処理は中断されました。");
constexpr const char* kCannotStart = QT_TRANSLATE_NOOP("pictavo::gui::PublishWindow", "公開用コピーを作成できません。");
constexpr const char* kDone = QT_TRANSLATE_NOOP("pictavo::gui::PublishWindow", "公開用コピーを作成しました。");
constexpr const char* kCheckFailed = QT_TRANSLATE_NOOP("pictavo::gui::PublishWindow", "公開用コピーを作成しましたが、確認で問題が見つかりました。");
constexpr const char* kSomeFailed = QT_TRANSLATE_NOOP("pictavo::gui::PublishWindow", "公開用コピーを作成できなかったファイルがあります。");
constexpr const char* kSettingsNotSaved = QT_TRANSLATE_NOOP("pictavo::gui::PublishWindow", "公開の設定を保存できませんでした。");
}  // namespace msg

// Why the publish did not start, in the interface's language.
QString RefusalText(PublishRefusal why, const std::string& detail) {
  const QString d = QString::fromStdString(detail);
  const auto text = [](const char* source) { return QCoreApplication::translate("pictavo::gui::PublishWindow", source); };
  switch (why) {
    case PublishRefusal::None: break;
    case PublishRefusal::BadMaxSize: return text(QT_TRANSLATE_NOOP("pictavo::gui::PublishWindow", "最大サイズは 16 から 65500 ピクセルまでです。"));
    case PublishRefusal::BadQuality: return text(QT_TRANSLATE_NOOP("pictavo::gui::PublishWindow", "画質は 1 から 100 までです。"));
    case PublishRefusal::NoSite: return text(QT_TRANSLATE_NOOP("pictavo::gui::PublishWindow", "フォルダ %1 がありません。")).arg(d);
    case PublishRefusal::DestinationNotAFolder:
      return text(QT_TRANSLATE_NOOP("pictavo::gui::PublishWindow", "公開先 %1 はフォルダではありません。")).arg(d);
    case PublishRefusal::Nested:
      return text(QT_TRANSLATE_NOOP("pictavo::gui::PublishWindow", "公開先と公開するフォルダは、互いの中に置けません。"));
    case PublishRefusal::SiteUnreadable: return d;
    case PublishRefusal::NoPages:
      return text(QT_TRANSLATE_NOOP("pictavo::gui::PublishWindow", "%1 にはこのプログラムのページがありません。")).arg(d);
    case PublishRefusal::DestinationNotCreated:
      return text(QT_TRANSLATE_NOOP("pictavo::gui::PublishWindow", "公開先を作成できません: %1")).arg(d);
    case PublishRefusal::DestinationNotWritten:
      return text(QT_TRANSLATE_NOOP("pictavo::gui::PublishWindow", "公開先に書き込めません: %1")).arg(d);
  }
  return d;
}

PublishWindow::PublishWindow(QWidget* parent, Dialogs& dialogs, std::string programFolder)
    : ToolWindow(parent, Qt::Dialog | Qt::WindowCloseButtonHint),
      m_ui(dialogs, this),
      m_programFolder(std::move(programFolder)),
      m_form(std::make_unique<Ui::PublishWindow>()) {
  Ui::PublishWindow& ui = *m_form;
  ui.setupUi(this);
  m_dest = ui.DestEdit;
  m_maxSize = ui.MaxSize;
  m_quality = ui.Quality;
  m_keepLocation = ui.KeepLocation;
  m_progress = ui.Progress;
  m_abortButton = ui.AbortButton;
  disableWhileBusy({ui.PublishButton, ui.CloseButton, ui.DestEdit, ui.MaxSize, ui.Quality, ui.KeepLocation});
  connect(ui.DestButton, &QPushButton::clicked, this, &PublishWindow::chooseDestination);
  connect(ui.PublishButton, &QPushButton::clicked, this, &PublishWindow::execute);
  connect(ui.AbortButton, &QPushButton::clicked, this, &PublishWindow::abort);
  connect(ui.CloseButton, &QPushButton::clicked, this, &PublishWindow::close);
  setBusy(false);
}

PublishWindow::~PublishWindow() = default;

void PublishWindow::openFor(const QString& site) {
  m_site = site;
  const PublishSettings s = ReadPublishSettings(m_programFolder);
  m_maxSize->setValue(s.maxSize);
  m_quality->setValue(s.quality);
  m_keepLocation->setChecked(s.keepLocation);
  m_progress->setRange(0, 1);
  m_progress->setValue(0);
  setWindowTitle(tr("公開用コピーの作成 - ") + QDir::toNativeSeparators(site));
  ShowModal(this);
}

void PublishWindow::chooseDestination() {
  const QString start = m_dest->text().isEmpty() ? QDir(m_site).absoluteFilePath(QStringLiteral("..")) : m_dest->text();
  if (auto folder = m_ui.dialogs().chooseFolder(this, tr("公開先フォルダ"), start)) m_dest->setText(*folder);
}

void PublishWindow::setBusy(bool busy) {
  ToolWindow::setBusy(busy);
  m_abortButton->setEnabled(busy);  // 中止 only while the copy runs
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
  if (busy()) return;
  const QString dest = m_dest->text().trimmed();
  if (dest.isEmpty()) {
    m_ui.showMessage(tr(msg::kNoDestination).toStdString());
    return;
  }
  PublishSettings settings{m_maxSize->value(), m_quality->value(), m_keepLocation->isChecked()};
  if (const Status saved = WritePublishSettings(m_programFolder, settings); !saved.ok()) {
    m_ui.note(saved.reason());
    m_ui.showMessage(tr(msg::kSettingsNotSaved).toStdString());
  }
  PublishOptions options;
  options.maxSize = settings.maxSize;
  options.quality = settings.quality;
  options.keepLocation = settings.keepLocation;
  m_abort = false;
  setBusy(true);
  const PublishSummary s = Publish(S(m_site), S(dest), options, *this);
  setBusy(false);
  const std::string counts = tr("縮小した画像 %1 枚、コピーしたファイル %2 件、変更のなかったファイル %3 件、削除したファイル %4 件")
                                 .arg(s.reduced)
                                 .arg(s.copied)
                                 .arg(s.unchanged)
                                 .arg(s.removed)
                                 .toStdString();
  switch (s.outcome) {
    case PublishOutcome::Done: m_ui.showMessage(tr(msg::kDone).toStdString() + "\r" + counts); break;
    case PublishOutcome::Stopped: m_ui.showMessage(tr(msg::kStopped).toStdString()); break;
    case PublishOutcome::CheckFailed: {
      std::string detail;
      for (const Finding& f : s.check.findings) {
        if (f.severity == Severity::Problem) detail += f.page + ": " + f.text + "\n";
      }
      m_ui.note(detail);
      m_ui.showMessage(tr(msg::kCheckFailed).toStdString() + "\r" + counts);
      break;
    }
    case PublishOutcome::Failed:
      if (s.refusal != PublishRefusal::None) {
        m_ui.note(RefusalText(s.refusal, s.refusalDetail).toStdString());
        m_ui.showMessage(tr(msg::kCannotStart).toStdString());
      } else {
        std::string detail;
        for (const std::string& f : s.failures) detail += f + "\n";
        m_ui.note(detail);
        m_ui.showMessage(tr(msg::kSomeFailed).toStdString() + "\r" + counts);
      }
      break;
  }
}

}  // namespace pictavo::gui
