// The main window's speed, measured (a benchmark, not a test; nothing in CI
// runs it). Under QT_QPA_PLATFORM=offscreen:
//   bench/pictavo_windowbench [WORK_FOLDER]
// prints, as medians of five:
//   - entering a folder of 20,000 pictures: list filled and painted;
//   - a click on a 24-megapixel picture: the click answered (the window
//     free again) and its preview drawn;
//   - during a run over six 24-megapixel pictures: the longest gap between
//     two turns of the window's event loop.

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "silent_dialogs.h"
#include "image/jpeg.h"
#include "main_window.h"

namespace {

using pictavo::Bitmap;
using pictavo::bench::SilentDialogs;

// A photo-like picture: smooth gradients with fine noise, so the encoder
// works as hard as on a real photograph.
void WritePhoto(const std::string& path, int w, int h) {
  Bitmap b = Bitmap::Create(w, h, 24);
  uint32_t seed = 12345;
  for (int y = 0; y < h; ++y) {
    uint8_t* row = b.row(y);
    for (int x = 0; x < w; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int noise = static_cast<int>(seed >> 28) - 8;
      row[3 * x] = static_cast<uint8_t>(std::clamp(x * 255 / w + noise, 0, 255));
      row[3 * x + 1] = static_cast<uint8_t>(std::clamp(y * 255 / h + noise, 0, 255));
      row[3 * x + 2] = static_cast<uint8_t>(std::clamp((x + y) * 127 / (w + h) + 64 + noise, 0, 255));
    }
  }
  const pictavo::Status written = pictavo::WriteJpegFile(path, b, 90);
  if (!written.ok()) std::fprintf(stderr, "%s\n", written.reason().c_str());
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  namespace fs = std::filesystem;
  const fs::path work = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "pictavo-windowbench";
  const fs::path many = work / "many", large = work / "large", program = work / "program";
  fs::create_directories(many);
  fs::create_directories(large);
  // The list shows names; the pictures' contents are not read to fill it.
  for (int i = 0; i < 20000; ++i) {
    const fs::path p = many / ("IMG_" + std::to_string(100000 + i) + ".jpg");
    if (!fs::exists(p)) std::fclose(std::fopen(p.c_str(), "wb"));
  }
  for (int i = 0; i < 6; ++i) {
    const fs::path p = large / ("P" + std::to_string(i) + ".jpg");
    if (!fs::exists(p)) WritePhoto(p.string(), 6000, 4000);
  }

  SilentDialogs dialogs;
  pictavo::gui::StartArguments arguments;
  arguments.programFolder = QString::fromStdString(program.string());
  arguments.commandLinePath = QString::fromStdString(large.string());
  pictavo::gui::MainWindow window(dialogs, arguments);
  window.show();
  QApplication::processEvents();
  auto* list = window.findChild<QListWidget*>(QStringLiteral("OldFile"));

  std::vector<double> enter, preview, gaps;
  std::fprintf(stderr, "pictures ready\n");
  for (int round = 0; round < 5; ++round) {
    window.goToPath(QString::fromStdString(large.string()));
    QApplication::processEvents();
    QElapsedTimer t;
    t.start();
    window.goToPath(QString::fromStdString(many.string()));
    list->repaint();
    QApplication::processEvents();
    enter.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    std::fprintf(stderr, "enter %.1f ms\n", enter.back());
  }
  window.goToPath(QString::fromStdString(large.string()));
  auto* image = window.findChild<QLabel*>(QStringLiteral("Image1"));
  std::vector<double> answer;
  for (int round = 0; round < 5; ++round) {
    QElapsedTimer t;
    t.start();
    window.preview();
    window.repaint();
    answer.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    // The picture follows from the decoder's thread.
    while (!image->isVisible()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    window.repaint();
    preview.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    std::fprintf(stderr, "preview answered %.1f ms, shown %.1f ms\n", answer.back(), preview.back());
  }
  for (int round = 0; round < 3; ++round) {
    fs::remove_all(large / "htm_image");
    QElapsedTimer clock;
    double last = 0, longest = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
      const double now = static_cast<double>(clock.nsecsElapsed()) / 1e6;
      longest = std::max(longest, now - last);
      last = now;
    });
    window.selectAll();
    clock.start();
    ticker.start(1);
    window.execute();
    ticker.stop();
    gaps.push_back(longest);
    std::fprintf(stderr, "gap %.1f ms\n", gaps.back());
  }
  std::printf("enter a folder of 20000 pictures: %.1f ms\n", Median(enter));
  std::printf("click on a 24-megapixel picture answered: %.1f ms\n", Median(answer));
  std::printf("preview of a 24-megapixel picture shown: %.1f ms\n", Median(preview));
  std::printf("longest gap between events during a run of six 24-megapixel pictures: %.1f ms\n", Median(gaps));
  return 0;
}
