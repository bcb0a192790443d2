// The program: the main window over the folder given on the command line
// (a file opens its folder), else the start folder of the settings.
// `--screenshot FILE` renders the window into a PNG file and ends, for the
// documentation (run it with QT_QPA_PLATFORM=offscreen).

#include <QApplication>
#include <QTimer>

#include "dialogs.h"
#include "instance_guard.h"
#include "main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Pictavo"));
  QStringList args = QApplication::arguments();
  args.removeFirst();
  QString screenshot;
  if (args.size() >= 2 && args.front() == QStringLiteral("--screenshot")) {
    screenshot = args.at(1);
    args = args.mid(2);
  }
  // A second start hands its command line to the first and ends.
  pictavo::gui::InstanceGuard guard;
  if (screenshot.isEmpty() && !guard.claim(args)) return 0;
  pictavo::gui::StartArguments arguments;
  if (!args.isEmpty()) arguments.commandLinePath = args.front();
  pictavo::gui::QtDialogs dialogs;
  pictavo::gui::TMain window(dialogs, arguments);
  QObject::connect(&guard, &pictavo::gui::InstanceGuard::handedOver, &window, &pictavo::gui::TMain::handOver);
  window.show();
  if (!screenshot.isEmpty()) {
    QTimer::singleShot(0, &window, [&] {
      window.preview();
      if (!window.grab().save(screenshot)) QApplication::exit(1);
      else QApplication::exit(0);
    });
  }
  return QApplication::exec();
}
