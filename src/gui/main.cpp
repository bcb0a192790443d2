// The program: the main window over the folder given on the command line
// (a file opens its folder), else the start folder of the settings.
//   pictavo [--lang ja|en] [FOLDER]
// speaks the language given, else the locale's (see session/language.h).
//
// For the documentation (run with QT_QPA_PLATFORM=offscreen):
//   pictavo --screenshot FILE [--show SLOT] [--grab WINDOW] [--page N] [FOLDER]
// renders a window into a PNG file and ends: the main window, or after the
// main window's slot SLOT (for example openOptions) the top-level window
// whose object name is WINDOW, with its N-th tab page (from 0) shown. SLOT
// may go on with /Window.slot steps, each run on that window in turn.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <optional>

#include "dialogs.h"
#include "instance_guard.h"
#include "main_window.h"
#include "translations.h"

namespace {

struct ScreenshotRequest {
  QString file;
  QString slot;
  QString window;
  int page = -1;
};

// Takes the screenshot options and --lang off the front of args.
ScreenshotRequest TakeOptions(QStringList& args, QString& language) {
  ScreenshotRequest r;
  while (args.size() >= 2 && args.front().startsWith(QStringLiteral("--"))) {
    const QString option = args.takeFirst();
    const QString value = args.takeFirst();
    if (option == QStringLiteral("--lang")) language = value;
    else if (option == QStringLiteral("--screenshot")) r.file = value;
    else if (option == QStringLiteral("--show")) r.slot = value;
    else if (option == QStringLiteral("--grab")) r.window = value;
    else if (option == QStringLiteral("--page")) r.page = value.toInt();
    else std::fprintf(stderr, "pictavo: unknown option %s\n", qPrintable(option));
  }
  return r;
}

QWidget* TopLevelNamed(const QString& name) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == name && w->isVisible()) return w;
  }
  return nullptr;
}

void TakeScreenshot(pictavo::gui::MainWindow& main, const ScreenshotRequest& r) {
  main.preview();
  // SLOT/Window.slot/...: the main window's slot, then each named window's in turn.
  const QStringList steps = r.slot.split(QLatin1Char('/'), Qt::SkipEmptyParts);
  if (!steps.isEmpty() && !QMetaObject::invokeMethod(&main, qPrintable(steps.front()), Qt::QueuedConnection)) {
    std::fprintf(stderr, "pictavo: no slot %s\n", qPrintable(steps.front()));
    QApplication::exit(1);
    return;
  }
  for (qsizetype i = 1; i < steps.size(); ++i) {
    QTimer::singleShot(static_cast<int>(200 * i), &main, [step = steps[i]] {
      QWidget* w = TopLevelNamed(step.section(QLatin1Char('.'), 0, 0));
      if (!w || !QMetaObject::invokeMethod(w, qPrintable(step.section(QLatin1Char('.'), 1)))) {
        std::fprintf(stderr, "pictavo: no slot %s\n", qPrintable(step));
      }
    });
  }
  // Modal windows run their own event loop; the timer fires inside it. The
  // preview is decoded off the window's thread: the grab waits for it.
  QTimer::singleShot(static_cast<int>(300 + 200 * std::max<qsizetype>(0, steps.size() - 1)), &main, [&main, r] {
    QWidget* target = r.window.isEmpty() ? &main : TopLevelNamed(r.window);
    if (target && r.page >= 0) {
      if (auto* tabs = target->findChild<QTabWidget*>()) tabs->setCurrentIndex(r.page);
    }
    const bool saved = target && target->grab().save(r.file);
    if (!saved) std::fprintf(stderr, "pictavo: could not render %s\n", qPrintable(r.window));
    QApplication::exit(saved ? 0 : 1);
  });
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Pictavo"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictavo.png")));
  // The desktop entry's name, so the window is matched to its menu entry.
  QGuiApplication::setDesktopFileName(QStringLiteral("pictavo"));
  QStringList args = QApplication::arguments();
  args.removeFirst();
  QString languageName;
  const ScreenshotRequest screenshot = TakeOptions(args, languageName);
  std::optional<pictavo::InterfaceLanguage> language = pictavo::LanguageOfEnvironment();
  if (!languageName.isNull()) language = pictavo::ParseInterfaceLanguage(languageName.toStdString());
  if (!language) {
    std::fprintf(stderr, "pictavo: --lang takes ja or en, not %s\n", qPrintable(languageName));
    return 2;
  }
  // Every text, Qt's buttons and dialogs included (はい/いいえ, not Yes/No),
  // speaks the interface's language; what the program writes does not.
  pictavo::gui::UseInterfaceLanguage(app, *language);
  // The path is made whole here: the first instance has a working folder of its own.
  if (!args.isEmpty()) args.front() = QDir::cleanPath(QFileInfo(args.front()).absoluteFilePath());
  // A second start hands its command line to the first and ends.
  pictavo::gui::InstanceGuard guard;
  if (screenshot.file.isEmpty() && !guard.claim(args)) return 0;
  pictavo::gui::StartArguments arguments;
  if (!args.isEmpty()) arguments.commandLinePath = args.front();
  pictavo::gui::QtDialogs dialogs;
  pictavo::gui::MainWindow window(dialogs, arguments);
  QObject::connect(&guard, &pictavo::gui::InstanceGuard::handedOver, &window, &pictavo::gui::MainWindow::handOver);
  window.show();
  if (!screenshot.file.isEmpty()) TakeScreenshot(window, screenshot);
  return QApplication::exec();
}
