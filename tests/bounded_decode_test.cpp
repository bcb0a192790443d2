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
#include "check/site_check.h"
#include "image/dib.h"
#include "fixtures.h"
#include "image/jpeg.h"
#include "publish/published_picture.h"
#include "status_testing.h"
#include "comments/comment_file.h"
#include "test_util.h"
#include "platform/textfile.h"
#include "status_testing.h"
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

// The address sanitizer keeps freed blocks in quarantine and pads every
// block, so a peak measured under it says nothing about the code measured.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPlainAllocator = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kPlainAllocator = false;
#else
constexpr bool kPlainAllocator = true;
#endif
#else
constexpr bool kPlainAllocator = true;
#endif

struct Outcome {
  bool ok = true;
  ErrorCode code = ErrorCode::BadValue;  // of a call that reports a Status and failed
  char error[400] = {};
  long peakGrowthKb = 0;  // how far the process's peak memory rose during the call
};

// Runs fn in a child process, whose peak memory starts at what it holds, so
// that the call's own peak can be measured whatever the tests before it did.
Outcome InChildFilling(const std::function<void(Outcome&)>& fn) {
  int fds[2];
  EXPECT_EQ(::pipe(fds), 0);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    Outcome o;
    const long before = KiloBytes("VmRSS:");
    fn(o);
    o.peakGrowthKb = KiloBytes("VmHWM:") - before;
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

Outcome InChild(const std::function<bool(std::string&)>& fn) {
  return InChildFilling([&](Outcome& o) {
    std::string error;
    o.ok = fn(error);
    std::snprintf(o.error, sizeof o.error, "%s", error.c_str());
  });
}

// A call that reports a Status: its reason becomes the error, its code is kept.
Outcome InChild(const std::function<Status()>& fn) {
  return InChildFilling([&](Outcome& o) {
    const Status status = fn();
    o.ok = status.ok();
    o.code = status.code();
    std::snprintf(o.error, sizeof o.error, "%s", status.reason().c_str());
  });
}

constexpr long kPeakLimitKb = 200 * 1024;

TEST(BoundedDecode, DamagedProgressiveFileDeclaringAHugePictureIsRefusedCheaply) {
  TempDir dir;
  const std::string path = dir.file("damaged.jpg");
  WriteAll(path, Declaring(dir, true, 20000, 15000));
  ASSERT_LT(ReadAll(path).size(), 4000u);

  // The thumbnail: the rewrite gives up at the damage, and the usual decode
  // would hold every coefficient of 300 megapixels, so it is refused.
  const Outcome thumb = InChild([&] {
    StreamedThumbnail out;
    return MakeThumbnailStreaming(path, ThumbnailJob{}, out);
  });
  EXPECT_FALSE(thumb.ok);
  EXPECT_EQ(thumb.code, ErrorCode::TooLarge);
  EXPECT_NE(std::string(thumb.error).find("MB of memory to decode, more than the 256 MB allowed"), std::string::npos)
      << thumb.error;
  EXPECT_LT(thumb.peakGrowthKb, kPeakLimitKb);

  // The full decode (rotation, previews) refuses it the same way.
  const Outcome full = InChild([&] {
    Bitmap b;
    JpegInfo info;
    return DecodeJpegFile(path, b, info);
  });
  EXPECT_FALSE(full.ok);
  EXPECT_EQ(full.code, ErrorCode::TooLarge);
  EXPECT_NE(std::string(full.error).find("256 MB"), std::string::npos) << full.error;
  EXPECT_LT(full.peakGrowthKb, kPeakLimitKb);

  // The header alone still reads: the table of contents only needs the size.
  JpegInfo info;
  EXPECT_TRUE(Succeeded(ReadJpegInfo(path, info)));
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
    const Outcome o = InChild([&] {
      if (streaming) {
        StreamedThumbnail out;
        return MakeThumbnailStreaming(path, ThumbnailJob{}, out);
      }
      Bitmap b;
      JpegInfo info;
      return DecodeJpegFile(path, b, info);
    });
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.code, ErrorCode::Damaged);
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
    ASSERT_TRUE(Succeeded(DecodeJpegFile(dir.file(name), b, info)));
    EXPECT_EQ(b.width, 300);
    EXPECT_EQ(b.data.size(), 300u * 200u * 3u);
    StreamedThumbnail t;
    EXPECT_TRUE(Succeeded(MakeThumbnailStreaming(dir.file(name), ThumbnailJob{}, t)));
  }
}

TEST(BoundedDecode, PipesWithAPicturesNameAreRefusedWithoutWaiting) {
  TempDir dir;
  const std::string path = dir.file("pipe.jpg");
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  Bitmap b;
  JpegInfo info;
  const Status header = ReadJpegInfo(path, info);
  EXPECT_FALSE(header.ok());
  EXPECT_EQ(header.code(), ErrorCode::CannotRead);
  EXPECT_NE(header.reason().find(path), std::string::npos) << header.reason();
  EXPECT_FALSE(DecodeJpegFile(path, b, info).ok());
  StreamedThumbnail out;
  EXPECT_FALSE(MakeThumbnailStreaming(path, ThumbnailJob{}, out).ok());
  std::string bytes;
  EXPECT_TRUE(Succeeded(ReadFileBytes(path, bytes)));  // no writer: nothing to read
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
  ASSERT_TRUE(Succeeded(ReadAlbumHead(dir.file("index.htm"), page)));
  EXPECT_EQ(page.fields.title, "旅");
  std::string bytes;
  ASSERT_TRUE(Succeeded(ReadFileBytes(dir.file("index.htm"), bytes, nullptr, 100)));
  EXPECT_EQ(bytes.size(), 100u);

  // A comment file beyond any real one is refused rather than read in part.
  WriteAll(dir.file("PicComment.txt"), "");
  ASSERT_EQ(::truncate(dir.file("PicComment.txt").c_str(), static_cast<off_t>(kMaxCommentFileBytes) + 1), 0);
  CommentFile comments;
  const Status refused = ReadCommentFile(dir.path(), comments);
  EXPECT_FALSE(refused.ok());
  EXPECT_EQ(refused.code(), ErrorCode::TooLarge);
  EXPECT_EQ(refused.reason(), dir.file("PicComment.txt") + ": larger than 64 MB");
}

// A BMP file's 40-byte headers declaring w x h at `bits`, with `fileSize` in
// bfSize; the pixels are what the file holds after them.
std::string BmpHead(int32_t w, int32_t h, int bits, uint32_t compression, uint32_t fileSize) {
  std::string b = "BM";
  auto put = [&](uint32_t v, int bytes) {
    for (int k = 0; k < bytes; ++k) b += static_cast<char>((v >> (8 * k)) & 0xFF);
  };
  const uint32_t colors = bits <= 8 ? 1u << bits : 0;
  put(fileSize, 4), put(0, 4), put(14 + 40 + 4 * colors, 4);
  put(40, 4), put(static_cast<uint32_t>(w), 4), put(static_cast<uint32_t>(h), 4), put(1, 2), put(bits, 2);
  put(compression, 4), put(0, 4), put(0, 4), put(0, 4), put(colors, 4), put(0, 4);
  b += std::string(4 * colors, '\0');
  return b;
}

TEST(BoundedDecode, BmpFilesCostOnlyThePixelsTheyDeclare) {
  TempDir dir;
  constexpr uint32_t kGiga = 1u << 30;
  auto sparse = [&](const std::string& name, const std::string& head) {
    WriteAll(dir.file(name), head);
    EXPECT_EQ(::truncate(dir.file(name).c_str(), kGiga), 0);  // holes: a few KB on disk
    return dir.file(name);
  };
  auto load = [&](const std::string& path) {
    return InChild([&](std::string& error) {
      try {
        TPxDIB d;
        d.LoadFromFile(path);
        error = std::to_string(d.Width()) + " x " + std::to_string(d.Height());
        return true;
      } catch (const std::exception& e) {
        error = e.what();
        return false;
      }
    });
  };
  // Code and unwind tables paged in on first use count in the peak too (a few
  // MB, more on some machines); the faults caught here cost hundreds of MB.
  constexpr long kLimitKb = 32 * 1024;
  // A small picture in a file that claims a gigabyte: only its rows are read.
  const Outcome small = load(sparse("small.bmp", BmpHead(100, 100, 24, 0, kGiga)));
  EXPECT_TRUE(small.ok) << small.error;
  EXPECT_EQ(std::string(small.error), "100 x 100");
  EXPECT_LT(small.peakGrowthKb, kLimitKb);

  // A gigabyte of declared pixels, and a tiny RLE stream declaring 24000 x
  // 24000: refused before their data is read.
  const Outcome big = load(sparse("big.bmp", BmpHead(18000, 18000, 24, 0, kGiga)));
  WriteAll(dir.file("rle.bmp"), BmpHead(24000, 24000, 8, 1, 1078 + 6) + std::string("\xFF\x01\0\0\0\x01", 6));
  const Outcome rle = load(dir.file("rle.bmp"));
  for (const Outcome* o : {&big, &rle}) {
    EXPECT_FALSE(o->ok);
    EXPECT_NE(std::string(o->error).find("MB of memory to decode, more than the 256 MB allowed"), std::string::npos)
        << o->error;
    EXPECT_LT(o->peakGrowthKb, kLimitKb);
  }
}

// Publishing a large progressive picture holds neither its coefficients
// (about 2 bytes a sample when decoded the usual way) nor its scaled decode.
TEST(BoundedDecode, PublishingALargeProgressivePictureHoldsOnlyRows) {
  TempDir dir;
  const std::string path = dir.file("big.jpg");
  JpegOptions o;
  o.progressive = true;
  o.quality = 50;
  MakeJpeg(path, 6000, 4000, o);  // 24 megapixels: about 72 MB of coefficients
  const Outcome published = InChild([&](std::string& error) {
    PublishedSize size;
    std::string bytes;
    Status made = PlanPublishedPicture(path, 700, 0, 0, size);
    if (made.ok()) made = EncodePublishedPicture(path, size, 85, false, bytes);
    if (!made.ok()) {
      error = made.reason();
      return false;
    }
    error = std::to_string(size.width) + " x " + std::to_string(size.height);
    return true;
  });
  EXPECT_TRUE(published.ok) << published.error;
  EXPECT_EQ(std::string(published.error), "700 x 467");
  // The result (1 MB), a few rows of blocks and the encoder's buffers.
  EXPECT_LT(published.peakGrowthKb, 24 * 1024);
}

// The site check holds a few lines and one tag of a page at a time, and a
// bounded share of its findings, whatever the page's size and shape.
TEST(BoundedDecode, SiteCheckReadsPagesOfAnySizeOrShapeInLittleMemory) {
  TempDir dir;
  MakeJpeg(dir.file("p.jpg"), 40, 30);
  ASSERT_EQ(::mkdir(dir.file("htm_image").c_str(), 0755), 0);
  MakeJpeg(dir.file("htm_image/p.jpg"), 4, 3);
  const std::string head =
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">\r\n<!-- Pictavo Version 2.02 -->\r\n"
      "<!-- FILE=001 p.jpg -->\r\n<!-- 2026.1.2 -->\r\n<HTML>\r\n<HEAD>\r\n<TITLE>t</TITLE>\r\n";
  auto write = [&](const std::string& name, const std::function<std::string(long)>& piece, long pieces) {
    std::ofstream out(dir.file(name), std::ios::binary);
    out << head;
    for (long k = 0; k < pieces; ++k) out << piece(k);
  };
  const std::string cell =
      "  <TD align=\"center\" valign=\"middle\"><A href=\"p.jpg\"><IMG src=\"htm_image/p.jpg\" width=\"4\" "
      "height=\"3\"></A></TD>\r\n";
  // 12 MB of cells (a page once took 40 times its size), every hundredth
  // line a link of its own to nowhere. Under the sanitizers, where memory is
  // not measured, smaller pages still check what is found.
  const long shrink = kPlainAllocator ? 1 : 8;
  const long cells = (12L << 20) / static_cast<long>(cell.size()) / shrink;
  write("cells.htm", [&](long k) { return k % 100 ? cell : "<A href=\"gone" + std::to_string(k) + ".htm\">\r\n"; },
        cells);
  // 15 MB of tags on one line, then line ends alone.
  write("tags.htm", [&](long k) { return k < (5L << 20) / shrink ? "<b>" : "\r"; }, ((5L << 20) + (4L << 20)) / shrink);

  const Outcome o = InChild([&](std::string& error) {
    const SiteCheckResult r = CheckSite(dir.path(), {});
    size_t gone = 0;
    bool cut = false;
    for (const Finding& f : r.findings) {
      gone += f.kind == FindingKind::MissingFile;
      cut = cut || f.text.find("too many findings") != std::string::npos;
    }
    error = std::to_string(r.pages) + " pages, " + std::to_string(gone) + " gone, " + (cut ? "cut" : "whole");
    return r.ok;
  });
  EXPECT_TRUE(o.ok);
  EXPECT_EQ(std::string(o.error), "2 pages, " + std::to_string((cells + 99) / 100) + " gone, whole");
  if (kPlainAllocator) {
    EXPECT_LT(o.peakGrowthKb, 64 * 1024);
  }

  // A page made of findings keeps only as many as fit, and says so.
  ::unlink(dir.file("cells.htm").c_str());
  ::unlink(dir.file("tags.htm").c_str());
  write("many.htm", [](long k) { return "<A href=\"gone" + std::to_string(k) + ".htm\">\r\n"; }, 200000);
  const Outcome many = InChild([&](std::string& error) {
    const SiteCheckResult r = CheckSite(dir.path(), {});
    error = r.findings.empty() ? "" : r.findings.front().text;
    return r.findings.size() > 10000 && r.findings.size() < 200000;
  });
  EXPECT_TRUE(many.ok);
  EXPECT_EQ(std::string(many.error), "too many findings on this page to keep; the rest are not reported");
  if (kPlainAllocator) {
    EXPECT_LT(many.peakGrowthKb, 64 * 1024);
  }
}

}  // namespace
}  // namespace pictavo
