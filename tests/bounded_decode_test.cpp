// A picture file's cost is bounded whatever its header declares: damage is
// reported where it is met, and a file that libjpeg could decode only with
// more memory than one decode may take is refused before it is allocated.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>

#include "album/thumbnail_stream.h"
#include "fixtures.h"
#include "image/jpeg.h"
#include "comments/comment_file.h"
#include "test_util.h"
#include "text/textfile.h"
#include "toc/discovery.h"

namespace pictavo {
namespace {

// A small real JPEG whose frame header claims w x h; its data covers a few
// rows at most, so it is damaged as a picture of that size.
std::string Declaring(const TempDir& dir, bool progressive, int w, int h) {
  JpegOptions o;
  o.progressive = progressive;
  MakeJpeg(dir.file("small.jpg"), 48, 32, o);
  std::string bytes = ReadAll(dir.file("small.jpg"));
  const size_t sof = bytes.find(progressive ? "\xFF\xC2" : "\xFF\xC0");
  EXPECT_NE(sof, std::string::npos);
  bytes[sof + 5] = static_cast<char>(h >> 8);
  bytes[sof + 6] = static_cast<char>(h & 0xFF);
  bytes[sof + 7] = static_cast<char>(w >> 8);
  bytes[sof + 8] = static_cast<char>(w & 0xFF);
  return bytes;
}

long KiloBytes(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field)));
  }
  return -1;
}

struct Outcome {
  bool ok = true;
  char error[400] = {};
  long peakGrowthKb = 0;  // how far the process's peak memory rose during the call
};

// Runs fn in a child process, whose peak memory starts at what it holds, so
// that the call's own peak can be measured whatever the tests before it did.
Outcome InChild(const std::function<bool(std::string&)>& fn) {
  int fds[2];
  EXPECT_EQ(::pipe(fds), 0);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    Outcome o;
    const long before = KiloBytes("VmRSS:");
    std::string error;
    o.ok = fn(error);
    o.peakGrowthKb = KiloBytes("VmHWM:") - before;
    std::snprintf(o.error, sizeof o.error, "%s", error.c_str());
    (void)!::write(fds[1], &o, sizeof o);
    ::_exit(0);
  }
  ::close(fds[1]);
  Outcome o;
  EXPECT_EQ(::read(fds[0], &o, sizeof o), static_cast<ssize_t>(sizeof o));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return o;
}

constexpr long kPeakLimitKb = 200 * 1024;

TEST(BoundedDecode, DamagedProgressiveFileDeclaringAHugePictureIsRefusedCheaply) {
  TempDir dir;
  const std::string path = dir.file("damaged.jpg");
  WriteAll(path, Declaring(dir, true, 20000, 15000));
  ASSERT_LT(ReadAll(path).size(), 4000u);

  // The thumbnail: the rewrite gives up at the damage, and the usual decode
  // would hold every coefficient of 300 megapixels, so it is refused.
  const Outcome thumb = InChild([&](std::string& error) {
    StreamedThumbnail out;
    return MakeThumbnailStreaming(path, ThumbnailJob{}, out, error);
  });
  EXPECT_FALSE(thumb.ok);
  EXPECT_NE(std::string(thumb.error).find("MB of memory to decode, more than the 256 MB allowed"), std::string::npos)
      << thumb.error;
  EXPECT_LT(thumb.peakGrowthKb, kPeakLimitKb);

  // The full decode (rotation, previews) refuses it the same way.
  const Outcome full = InChild([&](std::string& error) {
    Bitmap b;
    JpegInfo info;
    return DecodeJpegFile(path, b, info, error);
  });
  EXPECT_FALSE(full.ok);
  EXPECT_NE(std::string(full.error).find("256 MB"), std::string::npos) << full.error;
  EXPECT_LT(full.peakGrowthKb, kPeakLimitKb);

  // The header alone still reads: the table of contents only needs the size.
  JpegInfo info;
  std::string error;
  EXPECT_TRUE(ReadJpegInfo(path, info, error)) << error;
  EXPECT_EQ(info.width, 20000);
  EXPECT_GT(info.decoderBytes, kJpegMemoryLimit);
}

TEST(BoundedDecode, DamageIsReportedWhereItIsMet) {
  TempDir dir;
  const std::string path = dir.file("damaged.jpg");
  // Sequential: little memory to decode, but the picture itself would be 900 MB.
  WriteAll(path, Declaring(dir, false, 20000, 15000));
  for (const bool streaming : {true, false}) {
    SCOPED_TRACE(streaming);
    const Outcome o = InChild([&](std::string& error) {
      if (streaming) {
        StreamedThumbnail out;
        return MakeThumbnailStreaming(path, ThumbnailJob{}, out, error);
      }
      Bitmap b;
      JpegInfo info;
      return DecodeJpegFile(path, b, info, error);
    });
    EXPECT_FALSE(o.ok);
    EXPECT_NE(std::string(o.error).find("damaged data"), std::string::npos) << o.error;
    EXPECT_LT(o.peakGrowthKb, kPeakLimitKb);
  }
}

TEST(BoundedDecode, OrdinaryFilesStillDecode) {
  TempDir dir;
  JpegOptions o;
  o.progressive = true;
  MakeJpeg(dir.file("p.jpg"), 300, 200, o);
  MakeJpeg(dir.file("s.jpg"), 300, 200);
  for (const char* name : {"p.jpg", "s.jpg"}) {
    Bitmap b;
    JpegInfo info;
    std::string error;
    ASSERT_TRUE(DecodeJpegFile(dir.file(name), b, info, error)) << error;
    EXPECT_EQ(b.width, 300);
    EXPECT_EQ(b.data.size(), 300u * 200u * 3u);
    StreamedThumbnail t;
    EXPECT_TRUE(MakeThumbnailStreaming(dir.file(name), ThumbnailJob{}, t, error)) << error;
  }
}

TEST(BoundedDecode, PipesWithAPicturesNameAreRefusedWithoutWaiting) {
  TempDir dir;
  const std::string path = dir.file("pipe.jpg");
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  Bitmap b;
  JpegInfo info;
  std::string error;
  EXPECT_FALSE(ReadJpegInfo(path, info, error));
  EXPECT_NE(error.find(path), std::string::npos) << error;
  EXPECT_FALSE(DecodeJpegFile(path, b, info, error));
  StreamedThumbnail out;
  EXPECT_FALSE(MakeThumbnailStreaming(path, ThumbnailJob{}, out, error));
  std::string bytes;
  EXPECT_TRUE(ReadFileBytes(path, bytes, error));  // no writer: nothing to read
  EXPECT_EQ(bytes, "");
}

TEST(BoundedDecode, TextReadersReadOnlyWhatTheyCanUse) {
  TempDir dir;
  // A page whose head is followed by far more than the reader takes.
  const std::vector<std::string> head = {"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">",
                                         "<!-- Pictavo Version 2.02 -->", "<!-- FILE=001 a.jpg -->",
                                         "<!-- 2026.1.2 -->", "<HTML>", "<HEAD>", "<TITLE>旅</TITLE>"};
  WriteCp932Lines(dir.file("index.htm"), head);
  {
    std::ofstream out(dir.file("index.htm"), std::ios::app | std::ios::binary);
    out << std::string(3 * kAlbumHeadReadLimit, 'x');
  }
  AlbumHead page;
  std::string error;
  ASSERT_TRUE(ReadAlbumHead(dir.file("index.htm"), page, error)) << error;
  EXPECT_EQ(page.fields.title, "旅");
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(dir.file("index.htm"), bytes, error, nullptr, 100));
  EXPECT_EQ(bytes.size(), 100u);

  // A comment file beyond any real one is refused rather than read in part.
  WriteAll(dir.file("PicComment.txt"), "");
  ASSERT_EQ(::truncate(dir.file("PicComment.txt").c_str(), static_cast<off_t>(kMaxCommentFileBytes) + 1), 0);
  CommentFile comments;
  EXPECT_FALSE(ReadCommentFile(dir.path(), comments, error));
  EXPECT_NE(error.find("64 MB"), std::string::npos) << error;
}

}  // namespace
}  // namespace pictavo
