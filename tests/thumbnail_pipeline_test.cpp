// The album run with thumbnails made ahead on worker threads: what the user
// sees and the files it leaves are those of making each thumbnail at its turn.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "album/album_run.h"
#include "album/thumbnail_stream.h"
#include "image/jpeg.h"
#include "platform/paths.h"
#include "settings/album_settings.h"
#include "test_jpeg.h"
#include "test_util.h"

namespace pictavo {
namespace {

// Records every call in order; presses Abort at the given processEvents call.
class RecordingHost : public AlbumRunHost {
 public:
  void showMessage(const std::string& text) override { log.push_back("message " + text); }
  bool askYesNo(const std::string&, const std::string&) override { return false; }
  void setStatus(int panel, const std::string& text) override {
    log.push_back("status " + std::to_string(panel) + " " + text);
  }
  bool processEvents() override { return ++events == abortAt; }
  void showPreview(const Bitmap& thumbnail) override {
    log.push_back("preview " + std::to_string(thumbnail.width) + "x" + std::to_string(thumbnail.height));
  }
  std::vector<std::string> log;
  int events = 0;
  int abortAt = -1;
};

struct Album {
  TempDir dir;
  AlbumSettings settings;
  MainValues main;
  std::vector<PictureEntry> pictures;
  RecordingHost host;

  Album() {
    ResetSettings(settings);
    main.currentFolder = dir.path();
    main.albumTitle = "t";
  }
  void add(const std::string& name, int w, int h, const TestJpegOptions& o = {}) {
    WriteAll(dir.file(name), MakeTestJpeg(w, h, o));
    pictures.push_back({name, true});
  }
  RunOutcome run() {
    AlbumRunState state{settings, main, pictures, host, 5, CivilDate{}, {}, {}, {}, true};
    RunExtras extras;
    return AlbumRun(state, extras);
  }
  std::string thumbnail(const std::string& name) const { return dir.file(settings.thumbnailFolderName + "/" + name); }
  // The thumbnail the straightforward way makes.
  StreamedThumbnail made(const std::string& name) const {
    ThumbnailJob job;
    job.tw = std::stoi(settings.thumbnailWidth);
    job.th = std::stoi(settings.thumbnailHeight);
    job.filter = isNotOff(settings.thumbnailFilter);
    StreamedThumbnail out;
    std::string error;
    EXPECT_TRUE(MakeThumbnailFull(dir.file(name), job, out, error)) << error;
    return out;
  }
  std::string expectedFile(const std::string& name) const {
    std::string error, bytes;
    EXPECT_TRUE(EncodeJpeg(made(name).thumbnail, std::stoi(settings.thumbnailQuality), bytes, error)) << error;
    return bytes;
  }
  std::string preview(const std::string& name) const {
    const Bitmap t = made(name).thumbnail;
    return "preview " + std::to_string(t.width) + "x" + std::to_string(t.height);
  }
};

TEST(ThumbnailPipeline, RunWritesTheSameFilesAndShowsTheSameSteps) {
  for (const char* filter : {"off", "on"}) {
    Album a;
    a.settings.thumbnailFilter = filter;
    TestJpegOptions rotated;
    rotated.orientation = 6;
    TestJpegOptions grey;
    grey.grey = true;
    a.add("1.jpg", 640, 480);
    a.add("2.jpg", 300, 500, rotated);
    a.add("3.jpg", 60, 40);
    a.add("4.jpg", 333, 222, grey);
    a.add("5.jpg", 500, 200);
    a.pictures[3].selected = false;
    ASSERT_EQ(a.run(), RunOutcome::Completed);
    for (const char* name : {"1.jpg", "2.jpg", "3.jpg", "5.jpg"}) {
      EXPECT_TRUE(ReadAll(a.thumbnail(name)) == a.expectedFile(name)) << name << " filter " << filter;
    }
    EXPECT_FALSE(PathExists(a.thumbnail("4.jpg")));
    // Per picture, in list order: counter, name, path, preview.
    std::vector<std::string> steps;
    for (const auto& line : a.host.log) {
      if (line.rfind("status 0 ", 0) == 0 || line.rfind("status 2 0", 0) == 0 || line.rfind("preview", 0) == 0) {
        steps.push_back(line);
      }
    }
    const std::string big = std::string(filter) == "on" ? "status 0 フィルター処理" : "status 0 通常圧縮";
    const std::vector<std::string> want = {
        "status 2 0000/0000   ", "status 2 0001/0004   ", "status 0 1.jpg",   big, a.preview("1.jpg"),
        "status 2 0002/0004   ", "status 0 2.jpg",        big,                a.preview("2.jpg"),
        "status 2 0003/0004   ", "status 0 3.jpg",        "status 0 通常圧縮", a.preview("3.jpg"),
        "status 2 0004/0004   ", "status 0 5.jpg",        big,                a.preview("5.jpg"),
        "status 0 ",
    };
    EXPECT_EQ(steps, want);
  }
}

TEST(ThumbnailPipeline, AbortLeavesNoThumbnailAfterTheAbortPoint) {
  Album a;
  for (int i = 1; i <= 6; ++i) a.add(std::to_string(i) + ".jpg", 400, 300);
  a.host.abortAt = 3;  // before the third picture
  ASSERT_EQ(a.run(), RunOutcome::Aborted);
  EXPECT_TRUE(PathExists(a.thumbnail("1.jpg")));
  EXPECT_TRUE(PathExists(a.thumbnail("2.jpg")));
  for (int i = 3; i <= 6; ++i) EXPECT_FALSE(PathExists(a.thumbnail(std::to_string(i) + ".jpg"))) << i;
  const std::string page = ReadAll(a.dir.file(a.settings.htmlFileName));
  EXPECT_NE(page.find("2.jpg"), std::string::npos);
  EXPECT_EQ(page.find("3.jpg"), std::string::npos);
}

TEST(ThumbnailPipeline, ReadFailureStopsBeforeLaterThumbnails) {
  Album a;
  a.add("1.jpg", 400, 300);
  a.add("2.jpg", 400, 300);
  WriteAll(a.dir.file("3.jpg"), "not a picture");
  a.pictures.push_back({"3.jpg", true});
  a.add("4.jpg", 400, 300);
  ASSERT_EQ(a.run(), RunOutcome::Failed);
  EXPECT_TRUE(PathExists(a.thumbnail("2.jpg")));
  EXPECT_FALSE(PathExists(a.thumbnail("4.jpg")));
  int readErrors = 0;
  for (const auto& line : a.host.log) readErrors += line == std::string("message ") + msg::kReadError;
  EXPECT_EQ(readErrors, 1);
}

// A picture listed twice with existing thumbnails kept: the second sees the
// thumbnail the first has just written, as it would one at a time.
TEST(ThumbnailPipeline, LaterPictureSeesTheThumbnailWrittenBeforeIt) {
  Album a;
  a.settings.skipExistingThumbnails = "on";
  a.add("a.jpg", 400, 300);
  a.pictures.push_back({"a.jpg", true});
  ASSERT_EQ(a.run(), RunOutcome::Completed);
  const std::vector<std::string>& log = a.host.log;
  EXPECT_EQ(std::count(log.begin(), log.end(), "status 0 通常圧縮"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "status 0 ファイル作成スキップ"), 1);

  // Thumbnails in the album folder itself, prefixed: "s_a.jpg" is first a
  // thumbnail and then a picture of the list, read after it was written.
  Album b;
  b.settings.thumbnailFolderName = ".";
  b.settings.thumbnailPrefix = "s_";
  b.add("a.jpg", 400, 300);
  b.pictures.push_back({"s_a.jpg", true});
  ASSERT_EQ(b.run(), RunOutcome::Completed);
  Bitmap second;
  JpegInfo info;
  std::string error;
  ASSERT_TRUE(DecodeJpegFile(b.dir.file("s_s_a.jpg"), second, info, error)) << error;
  EXPECT_EQ(second.width, 110);
  EXPECT_EQ(second.height, 82);
}

}  // namespace
}  // namespace pictavo
