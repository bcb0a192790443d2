// Pictures named with characters CP932 lacks or maps one way only: their
// links, thumbnails, comment records and table-of-contents entries must lead
// to the files themselves. Every address is resolved as a browser does it.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>

#include "cli_fixtures.h"
#include "fixtures.h"
#include "platform/paths.h"
#include "test_util.h"
#include "text/encoding.h"

namespace pictavo {
namespace {

// The names of the close check: wave dash, yen, minus, overline, em dash, an
// accent, an emoji and a blank, besides an ordinary one.
const std::vector<std::string> kNames = {"1月〜3月.jpg", "¥100.jpg", "a−b.jpg", "x‾.jpg",   "—.jpg",
                                         "café.jpg",     "😀.jpg",    "a b.jpg", "plain.jpg"};

// Character references as an HTML parser decodes them in attribute values.
std::string DecodeReferences(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size();) {
    if (s[i] == '&') {
      const size_t semi = s.find(';', i);
      if (semi != std::string::npos) {
        const std::string ref = s.substr(i + 1, semi - i - 1);
        char32_t cp = 0;
        if (ref == "amp")
          cp = '&';
        else if (ref == "quot")
          cp = '"';
        else if (ref == "lt")
          cp = '<';
        else if (ref == "gt")
          cp = '>';
        else if (ref.size() > 1 && ref[0] == '#')
          cp = static_cast<char32_t>(std::stoul(ref.substr(1)));
        if (cp != 0) {
          AppendUtf8(out, cp);
          i = semi + 1;
          continue;
        }
      }
    }
    out += s[i++];
  }
  return out;
}

// A relative address as a browser turns it into a file path: the fragment and
// query cut off, then %XX decoded into bytes (a file URL's path is UTF-8).
std::string AddressToPath(const std::string& address) {
  const std::string part = address.substr(0, address.find_first_of("#?"));
  std::string out;
  for (size_t i = 0; i < part.size(); ++i) {
    if (part[i] == '%' && i + 2 < part.size() && std::isxdigit(static_cast<unsigned char>(part[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(part[i + 2]))) {
      out += static_cast<char>(std::stoi(part.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += part[i];
    }
  }
  return out;
}

// The text of a script string literal that starts at s[start] and ends at
// the quote: \\, \" and \uXXXX (surrogate pairs joined) undone.
std::string ScriptString(const std::string& s, size_t start, char quote) {
  std::string out;
  char32_t high = 0;
  for (size_t i = start; i < s.size() && s[i] != quote; ++i) {
    if (s[i] != '\\' || i + 1 >= s.size()) {
      out += s[i];
      continue;
    }
    if (s[i + 1] == 'u' && i + 5 < s.size()) {
      const auto unit = static_cast<char32_t>(std::stoul(s.substr(i + 2, 4), nullptr, 16));
      if (unit >= 0xD800 && unit < 0xDC00) {
        high = unit;
      } else {
        AppendUtf8(out, high ? 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00) : unit);
        high = 0;
      }
      i += 5;
    } else {
      out += s[++i];
    }
  }
  return out;
}

// The local addresses of a page, decoded as a browser reads the Shift_JIS
// page: href, src, background and action attributes; the file of each
// onclick="disp('...')" (an attribute first, then a script string); and each
// slide-show entry imag[k]="...", which the show writes into its window as
// the unquoted attribute SRC=./⟨entry⟩.
std::vector<std::string> PageAddresses(const std::string& pagePath) {
  const std::string text = Cp932ToUtf8(ReadAll(pagePath));
  std::vector<std::string> found;
  for (const char* attr : {"href=\"", "src=\"", "background=\"", "action=\""}) {
    for (size_t at = text.find(attr); at != std::string::npos; at = text.find(attr, at + 1)) {
      const size_t start = at + std::string(attr).size();
      const std::string value = DecodeReferences(text.substr(start, text.find('"', start) - start));
      if (value.rfind("http", 0) == 0) continue;  // the credit link
      found.push_back(AddressToPath(value));
    }
  }
  const std::string click = "onclick=\"";
  for (size_t at = text.find(click); at != std::string::npos; at = text.find(click, at + 1)) {
    const size_t start = at + click.size();
    const std::string call = DecodeReferences(text.substr(start, text.find('"', start) - start));
    if (call.rfind("disp('", 0) == 0) found.push_back(AddressToPath(ScriptString(call, 6, '\'')));
  }
  for (size_t at = text.find("\nimag["); at != std::string::npos; at = text.find("\nimag[", at + 1)) {
    const std::string entry = ScriptString(text, text.find('"', at) + 1, '"');
    const std::string written = "./" + entry + " ALT=";
    const std::string value = DecodeReferences(written.substr(0, written.find_first_of(" \t\n>")));
    found.push_back(AddressToPath(value.substr(2)));
  }
  return found;
}

// Every local address of the page names an existing file; returns them.
std::vector<std::string> ExpectAllResolve(const std::string& pagePath) {
  const std::string folder = FolderBase(ParentFolder(pagePath));
  const std::vector<std::string> paths = PageAddresses(pagePath);
  for (const auto& p : paths) EXPECT_TRUE(FileExists(folder + p)) << pagePath << " links to " << p;
  return paths;
}

bool Contains(const std::vector<std::string>& v, const std::string& s) {
  return std::find(v.begin(), v.end(), s) != v.end();
}

TEST(Names, AlbumAndTableOfContentsLinkEveryPictureByItsOwnName) {
  TempDir dir;
  const std::string album = dir.file("旅");
  ::mkdir(album.c_str(), 0777);
  for (const auto& name : kNames) MakeJpeg(album + "/" + name, 40, 30);
  // café first: the table of contents shows the first picture's thumbnail.
  std::string list = "café.jpg";
  for (const auto& name : kNames) {
    if (name != "café.jpg") list += "," + name;
  }
  const CliResult r =
      Cli({"album", album, "--quiet", "--pictures", list, "--set", "scriptPopup=on", "--set", "openInSubWindow=on"});
  ASSERT_EQ(r.status, 0) << r.err;

  const auto links = ExpectAllResolve(album + "/index.htm");
  for (const auto& name : kNames) {
    EXPECT_EQ(std::count(links.begin(), links.end(), name), 2) << name;  // the link and its onclick
    EXPECT_TRUE(Contains(links, "htm_image/" + name)) << name;
  }
  // The bytes of the wave dash's link: a reference, not the full-width tilde.
  EXPECT_NE(ReadAll(album + "/index.htm").find("href=\"1\x8C\x8E&#12316;3\x8C\x8E.jpg\""), std::string::npos);

  for (const bool frames : {false, true}) {
    std::vector<std::string> args = {"toc", dir.path(), "--quiet", "--pictures"};
    if (frames) args.push_back("--frames");
    const CliResult toc = Cli(args);
    ASSERT_EQ(toc.status, 0) << toc.err;
    const std::string page = dir.file(frames ? "title.htm" : "index.htm");
    const auto tocLinks = ExpectAllResolve(page);
    EXPECT_TRUE(Contains(tocLinks, "旅/htm_image/café.jpg")) << frames;
    // Escaped once: the reference stays a reference.
    EXPECT_NE(ReadAll(page).find("src=\"\x97\xB7/htm_image/caf&#233;.jpg\""), std::string::npos) << frames;
    if (frames) ExpectAllResolve(dir.file("index.htm"));
  }
}

TEST(Names, TheSlideShowShowsEveryPictureByItsOwnName) {
  TempDir dir;
  for (const auto& name : kNames) MakeJpeg(dir.file(name), 40, 30);
  const CliResult r = Cli({"album", dir.path(), "--quiet", "--set", "makeSlideShow=on"});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto shown = ExpectAllResolve(dir.file("SShow.htm"));
  for (const auto& name : kNames) EXPECT_TRUE(Contains(shown, name)) << name;
}


TEST(Names, CommentRecordsOfSuchNamesReadBackAsTheirPictures) {
  TempDir dir;
  for (const auto& name : kNames) MakeJpeg(dir.file(name), 20, 20);
  ASSERT_EQ(Cli({"comments", "fill", dir.path(), "--what", "name"}).status, 0);
  const CliResult shown = Cli({"comments", "show", dir.path()});
  ASSERT_EQ(shown.status, 0) << shown.err;
  for (const auto& name : kNames) {
    EXPECT_NE(shown.out.find(name + "\t" + name + "\t\n"), std::string::npos) << name << "\n" << shown.out;
  }
  // A second fill of one picture keeps every other record.
  ASSERT_EQ(Cli({"comments", "fill", dir.path(), "--what", "size", "--pictures", "plain.jpg"}).status, 0);
  const CliResult again = Cli({"comments", "show", dir.path()});
  EXPECT_NE(again.out.find("1月〜3月.jpg\t1月〜3月.jpg\t\n"), std::string::npos) << again.out;

  // A reference typed by hand for the wave dash names that picture too.
  WriteAll(dir.file("PicComment.txt"),
           "*****************************\r\n1\x8C\x8E&#12316;3\x8C\x8E.jpg\r\nhand\r\n\r\n");
  const CliResult typed = Cli({"comments", "show", dir.path()});
  EXPECT_NE(typed.out.find("1月〜3月.jpg\thand\t\n"), std::string::npos) << typed.out;
  // The album run puts it under that picture.
  ASSERT_EQ(Cli({"album", dir.path(), "--quiet", "--comments", "--pictures", "1月〜3月.jpg"}).status, 0);
  EXPECT_NE(ReadAll(dir.file("index.htm")).find(">hand</FONT>"), std::string::npos);
}

}  // namespace
}  // namespace pictavo
