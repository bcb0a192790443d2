#include <gtest/gtest.h>

#include "text/chars.h"
#include "text/encoding.h"
#include "platform/textfile.h"
#include "status_testing.h"
#include "test_util.h"

namespace pictavo {
namespace {

TEST(Encoding, RoundTripsJapaneseAndEscapesWhatCp932Lacks) {
  const std::string text = "ＭＳ Ｐ明朝 ｻﾑﾈｲﾙ \\~ ～";
  const std::string bytes = Utf8ToCp932(text);
  EXPECT_EQ(Cp932ToUtf8(bytes), text);
  // The wave dash typed on Linux would read back as the full-width tilde, so it
  // is written as a reference; the tilde itself stays a CP932 character.
  EXPECT_EQ(Utf8ToCp932("〜"), "&#12316;");
  EXPECT_EQ(Utf8ToCp932("～"), "\x81\x60");
  // Full-width letters are two bytes, half-width katakana one.
  EXPECT_EQ(Utf8ToCp932("ＭｻA"), std::string("\x82\x6C\xBB" "A"));
  EXPECT_EQ(Utf8ToCp932("café 😀"), "caf&#233; &#128512;");
  // References turn back only where the character has no CP932 form.
  EXPECT_EQ(Cp932ToUtf8("caf&#233; &#65;", true), "café &#65;");
  EXPECT_EQ(Cp932ToUtf8("caf&#233;", false), "caf&#233;");
}

TEST(Encoding, CharactersCp932MapsOneWayOnlyBecomeReferences) {
  // Wave dash, yen sign, minus sign, overline, em dash: each has CP932 bytes
  // that read back as another character.
  const std::string names = "1月〜3月 ¥ − ‾ — ‖ ¢ £ ¬";
  const std::string bytes = Utf8ToCp932(names);
  EXPECT_EQ(bytes, "1\x8C\x8E&#12316;3\x8C\x8E &#165; &#8722; &#8254; &#8212; &#8214; &#162; &#163; &#172;");
  EXPECT_EQ(Cp932ToUtf8(bytes, true), names);
  for (char32_t cp : {U'〜', U'¥', U'−', U'‾', U'—'}) EXPECT_FALSE(IsCp932Encodable(cp)) << static_cast<long>(cp);
  for (char32_t cp : {U'～', U'\\', U'－', U'―', U'月'}) EXPECT_TRUE(IsCp932Encodable(cp)) << static_cast<long>(cp);
  // A reference typed by hand for such a character is read back too.
  EXPECT_EQ(Cp932ToUtf8("a&#12316;b", true), "a〜b");
  // Every encodable character reads back as itself.
  for (char32_t cp = 0x80; cp < 0x10000; ++cp) {
    if ((cp >= 0xD800 && cp <= 0xDFFF) || !IsCp932Encodable(cp)) continue;
    std::string one;
    AppendUtf8(one, cp);
    EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932(one)), one) << static_cast<long>(cp);
  }
}

TEST(Encoding, InvalidBytesReadAsReplacementCharacter) {
  EXPECT_EQ(Cp932ToUtf8(std::string("a\x80" "b")), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(Cp932ToUtf8(std::string("\x82")), "\xEF\xBF\xBD");             // lead byte at the end
  EXPECT_EQ(Cp932ToUtf8(std::string("\x82" "\x0A")), "\xEF\xBF\xBD\n");    // lead byte, bad trail
  EXPECT_EQ(Utf8ToCp932(std::string("a\xC3")), "a?");
}

TEST(TextReader, LineEndRules) {
  TextReader r(std::string("one\r\ntwo\rthree\nstill three\r\r\nfive\x1A" "hidden\r\n"));
  EXPECT_EQ(r.readLine(), "one");
  EXPECT_EQ(r.readLine(), "two");
  EXPECT_EQ(r.readLine(), "three\nstill three");
  EXPECT_EQ(r.readLine(), "");
  EXPECT_EQ(r.readLine(), "five");
  EXPECT_TRUE(r.atEnd());
  EXPECT_EQ(r.readLine(), "");
  EXPECT_EQ(r.readLine(), "");
}

TEST(TextReader, OpensAWholeFileOrSaysWhy) {
  TempDir dir;
  WriteAll(dir.file("a.txt"), "\x93\xFA\x96\x7B\r\nb&#233;");
  TextOpening opened = TextReader::open(dir.file("a.txt"), /*decodeReferences=*/true);
  ASSERT_TRUE(Succeeded(opened.status));
  ASSERT_TRUE(opened.reader);
  EXPECT_EQ(opened.reader->readLine(), "日本");
  EXPECT_EQ(opened.reader->readLine(), "bé");

  opened = TextReader::open(dir.file("missing.txt"));
  EXPECT_FALSE(opened.reader);
  EXPECT_EQ(opened.status.code(), ErrorCode::NotFound);
  EXPECT_EQ(opened.status.reason(), dir.file("missing.txt") + ": No such file or directory");
  // A folder opens, but is no file to read.
  opened = TextReader::open(dir.path());
  EXPECT_FALSE(opened.reader);
  EXPECT_EQ(opened.status.code(), ErrorCode::CannotRead);
  EXPECT_EQ(opened.status.reason(), dir.path() + ": Is a directory");
}

TEST(TextWriter, WritesCp932WithCrLfAfterEveryLine) {
  TempDir dir;
  const std::string path = dir.path() + "/out.txt";
  TextWriter w(OpenDirectSink(path).sink);
  ASSERT_TRUE(w.writeLine("日本"));
  ASSERT_TRUE(w.writeLine(""));
  ASSERT_TRUE(w.close());
  EXPECT_EQ(ReadAll(path), std::string("\x93\xFA\x96\x7B\r\n\r\n"));
}

TEST(TextWriter, AtomicSinkKeepsOldFileWhenWriteFails) {
  TempDir dir;
  const std::string path = dir.path() + "/settings.ini";
  WriteAll(path, "old contents");
  {
    TextWriter w(std::make_unique<LimitedSink>(OpenAtomicSink(path).sink, 5));
    EXPECT_TRUE(w.writeLine("abc"));
    EXPECT_FALSE(w.writeLine("defgh"));
    EXPECT_FALSE(w.close());
  }
  EXPECT_EQ(ReadAll(path), "old contents");
  EXPECT_EQ(ListDir(dir.path()), std::vector<std::string>{"settings.ini"});
}

TEST(Chars, CountsCodePoints) {
  EXPECT_EQ(CharLength("写真a.jpg"), 7);
  EXPECT_EQ(LeftChars("写真a.jpg", 3), "写真a");
  EXPECT_EQ(LeftChars("abc", 10), "abc");
  EXPECT_EQ(RightChars("0000" "12", 4), "0012");
  EXPECT_EQ(RightChars("abc", 0), "");
  EXPECT_EQ(RightChars("ab", 5), "ab");
  EXPECT_EQ(MidChars("写真です", 2, 2), "真で");
  EXPECT_EQ(MidChars("abc", 9, 2), "c");  // start lowered to the last character
  EXPECT_EQ(MidChars("", 1, 3), "");
  EXPECT_EQ(ZeroPad(1234, 3), "234");
  EXPECT_EQ(ZeroPad(7, 3), "007");
}

TEST(Numbers, StrictDecimalAndRounding) {
  EXPECT_EQ(ParseDecimal("110"), 110);
  EXPECT_EQ(ParseDecimal("-5"), -5);
  EXPECT_EQ(ParseDecimal("2147483647"), 2147483647);
  EXPECT_FALSE(ParseDecimal("2147483648"));
  EXPECT_FALSE(ParseDecimal(""));
  EXPECT_FALSE(ParseDecimal(" 1"));
  EXPECT_FALSE(ParseDecimal("1.0"));
  EXPECT_FALSE(ParseDecimal("0x10"));
  EXPECT_FALSE(ParseDecimal("-"));
  EXPECT_EQ(RoundHalfEven(68.5L), 68);
  EXPECT_EQ(RoundHalfEven(69.5L), 70);
  EXPECT_EQ(RoundHalfEven(68.75L), 69);
  EXPECT_EQ(Truncate(-1.5L), -1);
}

TEST(Colors, ColorToHtml) {
  EXPECT_EQ(ColorToHtml(255), "FF0000");
  EXPECT_EQ(ColorToHtml(16711680), "0000FF");
  EXPECT_EQ(ColorToHtml(16777215), "FFFFFF");
  EXPECT_EQ(ColorToHtml(0), "000000");
  EXPECT_EQ(ColorToHtml(0x123456), "563412");
  // Above 24 bits: first, third-fourth and last pairs of the longer form.
  EXPECT_EQ(ColorToHtml(static_cast<int32_t>(0xFF00000F)), "0F00FF");
  EXPECT_EQ(ColorToHtml(0x1000000), "000010");
}

}  // namespace
}  // namespace pictavo
