#include <gtest/gtest.h>

#include <sys/stat.h>

#include "comments/comment_file.h"
#include "platform/sink.h"
#include "status_testing.h"
#include "test_util.h"
#include "text/encoding.h"

namespace pictavo {
namespace {

const std::string kSep = "*****************************";

std::string Crlf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += Utf8ToCp932(l) + "\r\n";
  return out;
}

TEST(CommentFile, WritesEightLinesForTwoPicturesAndReadsThemBack) {
  TempDir dir;
  Message writeError;
  ASSERT_EQ(WriteCommentFile(dir.path(), {"a.jpg", "b.jpg"}, {{"Sea", ""}}, writeError), CommentWriteResult::Saved);
  EXPECT_EQ(ReadAll(dir.file("PicComment.txt")), Crlf({kSep, "a.jpg", "Sea", "", kSep, "b.jpg", "", ""}));

  CommentFile file;
  ASSERT_TRUE(Succeeded(ReadCommentFile(dir.path(), file)));
  ASSERT_EQ(file.records.size(), 2u);
  EXPECT_EQ(file.records[0], (TCommentRecord{"a.jpg", "Sea", ""}));
  EXPECT_EQ(file.records[1], (TCommentRecord{"b.jpg", "", ""}));
  EXPECT_FALSE(file.truncated);

  // A folder without pictures gets an empty file.
  ASSERT_EQ(WriteCommentFile(dir.path(), {}, {}, writeError), CommentWriteResult::Saved);
  EXPECT_EQ(ReadAll(dir.file("PicComment.txt")), "");
}

TEST(CommentFile, ReaderStopsAtEmptyNamesAndKeepsSeparatorsUnexamined) {
  EXPECT_TRUE(ParseCommentFile("").records.empty());
  EXPECT_TRUE(ParseCommentFile(Crlf({kSep, "", "x.jpg", "c", "d"})).records.empty());
  // Line feeds alone: one long first line, so the first name is empty.
  EXPECT_TRUE(ParseCommentFile(kSep + "\na.jpg\nSea\n\n").records.empty());

  // An empty name line in the middle ends the reading; any line can stand
  // where a separator belongs; a record cut short gets empty comment lines.
  const CommentFile f = ParseCommentFile(Crlf({"junk", "a.jpg", "1", "2", "other", "", "x", "y", kSep, "c.jpg"}));
  ASSERT_EQ(f.records.size(), 1u);
  EXPECT_EQ(f.records[0], (TCommentRecord{"a.jpg", "1", "2"}));
  const CommentFile cut = ParseCommentFile(Crlf({kSep, "a.jpg", "only"}));
  ASSERT_EQ(cut.records.size(), 1u);
  EXPECT_EQ(cut.records[0], (TCommentRecord{"a.jpg", "only", ""}));

  // 0x1A ends the text.
  const CommentFile eof = ParseCommentFile(Crlf({kSep, "a.jpg", "1", "2"}) + "\x1A" + Crlf({kSep, "b.jpg", "", ""}));
  EXPECT_EQ(eof.records.size(), 1u);
}

TEST(CommentFile, UnencodableCharactersAndBadBytesRoundTrip) {
  TempDir dir;
  Message writeError;
  // "é" has no CP932 form and is stored as a reference; "&#65;" was typed as is.
  ASSERT_EQ(WriteCommentFile(dir.path(), {"café.jpg"}, {{"é 海", "&#65;"}}, writeError), CommentWriteResult::Saved);
  const std::string bytes = ReadAll(dir.file("PicComment.txt"));
  EXPECT_NE(bytes.find("caf&#233;.jpg"), std::string::npos);
  CommentFile file;
  ASSERT_TRUE(Succeeded(ReadCommentFile(dir.path(), file)));
  ASSERT_EQ(file.records.size(), 1u);
  EXPECT_EQ(file.records[0], (TCommentRecord{"café.jpg", "é 海", "&#65;"}));
  ASSERT_EQ(WriteCommentFile(dir.path(), {file.records[0].FileName}, {{file.records[0].Comment1, file.records[0].Comment2}},
                             writeError),
            CommentWriteResult::Saved);
  EXPECT_EQ(ReadAll(dir.file("PicComment.txt")), bytes);

  // Bytes that are not CP932 read as U+FFFD instead of stopping the reader.
  const CommentFile bad = ParseCommentFile(kSep + "\r\na.jpg\r\n\x80x\r\n\r\n");
  ASSERT_EQ(bad.records.size(), 1u);
  EXPECT_EQ(bad.records[0].Comment1, "\xEF\xBF\xBDx");
}

TEST(CommentFile, MatchingIgnoresAsciiCaseAndTheLastRecordWins) {
  const std::vector<TCommentRecord> records = {
      {"A.JPG", "upper", ""}, {"b.jpg", "first", "x"}, {"B.jpg", "second", "y"}, {"ｻﾑ.jpg", "kana", ""},
      {"gone.jpg", "no entry", ""}};
  const auto slots = MatchComments(records, {"a.jpg", "b.jpg", "c.jpg", "ｻﾑ.jpg", "Ａ.jpg"});
  ASSERT_EQ(slots.size(), 5u);
  EXPECT_EQ(slots[0], (CommentSlot{"upper", ""}));
  EXPECT_EQ(slots[1], (CommentSlot{"second", "y"}));
  EXPECT_EQ(slots[2], CommentSlot{});
  EXPECT_EQ(slots[3], (CommentSlot{"kana", ""}));
  EXPECT_EQ(slots[4], CommentSlot{});  // full-width letters compare as they are
}

TEST(CommentFile, StorageLimitKeepsTheFirstRecordsAndSlots) {
  std::string bytes;
  for (size_t i = 0; i < kMaxCommentRecords + 2; ++i) bytes += Crlf({kSep, "p" + std::to_string(i) + ".jpg", "c", ""});
  const CommentFile f = ParseCommentFile(bytes);
  EXPECT_EQ(f.records.size(), kMaxCommentRecords);
  EXPECT_TRUE(f.truncated);
  EXPECT_EQ(f.records.back().FileName, "p10000.jpg");

  std::vector<std::string> names(kMaxCommentSlots + 5, "p0.jpg");
  EXPECT_EQ(MatchComments(f.records, names).size(), kMaxCommentSlots);
}

TEST(CommentFile, FailedWriteKeepsTheOldFile) {
  TempDir dir;
  Message writeError;
  ASSERT_EQ(WriteCommentFile(dir.path(), {"a.jpg"}, {{"keep", ""}}, writeError), CommentWriteResult::Saved);
  const std::string before = ReadAll(dir.file("PicComment.txt"));

  SinkOpening inner = OpenAtomicSink(dir.file("PicComment.txt"));
  ASSERT_TRUE(Succeeded(inner.status));
  ASSERT_TRUE(inner.sink);
  EXPECT_EQ(WriteCommentFile(std::make_unique<LimitedSink>(std::move(inner.sink), 40), {"a.jpg", "b.jpg"}, {}, writeError),
            CommentWriteResult::WriteFailed);
  EXPECT_EQ(ReadAll(dir.file("PicComment.txt")), before);
  EXPECT_EQ(ListDir(dir.path()), std::vector<std::string>{"PicComment.txt"});

  EXPECT_EQ(WriteCommentFile(dir.file("missing"), {"a.jpg"}, {}, writeError), CommentWriteResult::CannotCreate);
  EXPECT_NE(RenderMessage(writeError).find("missing"), std::string::npos);
  CommentFile none;
  const Status missing = ReadCommentFile(dir.file("missing"), none);
  EXPECT_FALSE(missing.ok());
  EXPECT_EQ(missing.code(), ErrorCode::NotFound);
  EXPECT_EQ(missing.reason(), dir.file("missing/PicComment.txt") + ": No such file or directory");
}

}  // namespace
}  // namespace pictavo
