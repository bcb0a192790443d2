// How soon a run over a large folder reaches its first picture, and how long
// the window goes without handling events meanwhile (a benchmark, not a
// test; nothing in CI runs it). Under QT_QPA_PLATFORM=offscreen:
//   bench/pictavo_startbench [--full] [--seconds S] [WORK_FOLDER [COUNT...]]
// For each COUNT (default 1000 20000 100000) it makes a folder of that many
// tiny JPEG pictures and runs Execute twice: with
// the thumbnails made, and with skipExistingThumbnails=on over a thumbnail
// folder where every thumbnail exists. Each run is aborted after S seconds
// (default 4) unless --full; the closing steps are timed either way. It
// prints the time from Execute to the first picture's thumbnail in hand and
// the longest gap between two turns of the event loop (a 1 ms timer), with
// the moment it ended.

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "image/jpeg.h"
#include "main_window.h"
#include "silent_dialogs.h"

namespace {

namespace fs = std::filesystem;
using pictavo::StatusPanel;
using pictavo::bench::SilentDialogs;

// The main window with the moment the run first names a picture noted.
class TimedMain : public pictavo::gui::MainWindow {
 public:
  using MainWindow::MainWindow;
  void setStatus(StatusPanel panel, const pictavo::Message& text) override {
    if (panel == StatusPanel::Step && !(text.id == pictavo::MessageId::Detail && text.args == std::vector<std::string>{""}) &&
        firstPicture < 0 && clock.isValid()) {
      firstPicture = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    }
    MainWindow::setStatus(panel, text);
  }
  QElapsedTimer clock;
  double firstPicture = -1;
};

// count copies of `picture` named IMG_nnnnnn.jpg in folder (a file system
// allows too few hard links for the largest folder).
void Populate(const fs::path& folder, const fs::path& picture, int count) {
  fs::create_directories(folder);
  for (int i = 0; i < count; ++i) {
    const fs::path p = folder / ("IMG_" + std::to_string(100000 + i) + ".jpg");
    std::error_code error;
    if (!fs::exists(p)) fs::copy_file(picture, p, error);
    if (error) std::fprintf(stderr, "%s: %s\n", p.c_str(), error.message().c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  bool full = false;
  double seconds = 4;
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--full") == 0) {
      full = true;
    } else if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      seconds = std::atof(argv[++i]);
    } else {
      positional.emplace_back(argv[i]);
    }
  }
  const fs::path work = positional.empty() ? fs::temp_directory_path() / "pictavo-startbench" : fs::path(positional[0]);
  std::vector<int> counts;
  for (size_t i = 1; i < positional.size(); ++i) counts.push_back(std::stoi(positional[i]));
  if (counts.empty()) counts = {1000, 20000, 100000};

  fs::create_directories(work / "program");
  const fs::path tiny = work / "tiny.jpg";
  if (!fs::exists(tiny)) {
    pictavo::Bitmap b = pictavo::Bitmap::Create(8, 6, 24);
    for (int y = 0; y < 6; ++y) std::memset(b.row(y), 40 * y, 24);
    const pictavo::Status written = pictavo::WriteJpegFile(tiny.string(), b, 80);
    if (!written.ok()) std::fprintf(stderr, "%s\n", written.reason().c_str());
  }

  SilentDialogs dialogs;
  pictavo::gui::StartArguments arguments;
  arguments.programFolder = QString::fromStdString((work / "program").string());
  arguments.commandLinePath = QString::fromStdString(work.string());
  TimedMain window(dialogs, arguments);
  window.show();
  QApplication::processEvents();

  std::printf("%8s %-6s %14s %14s %12s %12s\n", "pictures", "run", "first picture", "longest gap", "(ended at)",
              "whole run");
  for (int count : counts) {
    const fs::path album = work / ("album-" + std::to_string(count));
    Populate(album, tiny, count);
    for (bool keep : {false, true}) {
      fs::remove_all(album / "htm_image");
      if (keep) Populate(album / "htm_image", tiny, count);
      window.goToPath(QString::fromStdString(album.string()));
      QApplication::processEvents();
      window.session().settings.skipExistingThumbnails = keep ? "on" : "off";

      double last = 0, longest = 0, longestEnd = 0;
      QTimer ticker;
      QObject::connect(&ticker, &QTimer::timeout, [&] {
        const double now = static_cast<double>(window.clock.nsecsElapsed()) / 1e6;
        if (now - last > longest) {
          longest = now - last;
          longestEnd = now;
        }
        last = now;
      });
      QTimer abort;
      abort.setSingleShot(true);
      QObject::connect(&abort, &QTimer::timeout, &window, &pictavo::gui::MainWindow::abortRun);
      window.firstPicture = -1;
      window.clock.start();
      ticker.start(1);
      if (!full) abort.start(static_cast<int>(seconds * 1000));
      window.execute();
      const double whole = static_cast<double>(window.clock.nsecsElapsed()) / 1e6;
      if (whole - last > longest) {  // the closing steps, up to Execute's return
        longest = whole - last;
        longestEnd = whole;
      }
      ticker.stop();
      abort.stop();
      window.clock.invalidate();
      std::printf("%8d %-6s %11.1f ms %11.1f ms %9.0f ms %9.0f ms\n", count, keep ? "kept" : "made",
                  window.firstPicture, longest, longestEnd, whole);
      std::fflush(stdout);
    }
  }
  return 0;
}
