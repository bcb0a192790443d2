// The site check over sites made by album, toc and batch: each way of
// breaking a site is reported once, at its page and line, and an untouched
// site reports nothing.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "check/site_check.h"
#include "cli_fixtures.h"
#include "fixtures.h"
#include "test_util.h"

namespace pictavo {
namespace {

using Key = std::tuple<std::string, long, FindingKind>;

std::set<Key> Keys(const SiteCheckResult& r) {
  std::set<Key> keys;
  for (const auto& f : r.findings) {
    EXPECT_TRUE(keys.insert({f.page, f.line, f.kind}).second) << "reported twice: " << f.page << ":" << f.line;
  }
  return keys;
}

std::string Describe(const SiteCheckResult& r) {
  std::string out;
  for (const auto& f : r.findings) {
    out += f.page + ":" + std::to_string(f.line) + " " + FindingKindName(f.kind) + " " + f.text + "\n";
  }
  return out;
}

// The 1-based number of the first line of the page that holds `needle`.
long LineOf(const std::string& page, const std::string& needle) {
  const auto lines = ReadCp932Lines(page);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].find(needle) != std::string::npos) return static_cast<long>(i + 1);
  }
  ADD_FAILURE() << needle << " not in " << page;
  return -1;
}

void SetMtime(const std::string& path, long secondsFromNow) {
  struct timespec times[2];
  ::clock_gettime(CLOCK_REALTIME, &times[0]);
  times[0].tv_sec += secondsFromNow;
  times[1] = times[0];
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

// Every file below the folder with its size and modification time.
std::vector<std::string> Snapshot(const std::string& folder) {
  std::vector<std::string> out;
  for (const auto& name : ListDir(folder)) {
    const std::string path = folder + "/" + name;
    struct stat st {};
    ::lstat(path.c_str(), &st);
    out.push_back(path + " " + std::to_string(st.st_size) + " " + std::to_string(st.st_mtim.tv_sec) + "." +
                  std::to_string(st.st_mtim.tv_nsec));
    if (S_ISDIR(st.st_mode)) {
      for (auto& inner : Snapshot(path)) out.push_back(std::move(inner));
    }
  }
  return out;
}

// spring (seven pictures), summer (two), winter and autumn (one each), made
// by batch with slide shows and a table of contents with counts and dates.
void MakeSite(const TempDir& dir) {
  for (const char* f : {"spring", "summer", "winter", "autumn"}) ::mkdir(dir.file(f).c_str(), 0777);
  MakeJpeg(dir.file("spring/a.jpg"), 160, 120);
  MakeJpeg(dir.file("spring/b.jpg"), 90, 200);
  MakeJpeg(dir.file("spring/c.jpg"), 120, 160);
  MakeJpeg(dir.file("spring/d.jpg"), 200, 100);
  MakeJpeg(dir.file("spring/e.jpg"), 100, 100);
  MakeJpeg(dir.file("spring/f.jpg"), 300, 200);
  MakeJpeg(dir.file("spring/g.jpg"), 160, 90);
  MakeJpeg(dir.file("summer/s.jpg"), 64, 48);
  MakeJpeg(dir.file("summer/t.jpg"), 48, 64);
  MakeJpeg(dir.file("winter/w.jpg"), 50, 50);
  MakeJpeg(dir.file("autumn/x.jpg"), 40, 30);
  const CliResult r = Cli({"batch", dir.path(), "--title", "Seasons", "--quiet", "--set", "makeSlideShow=on"});
  ASSERT_EQ(r.status, 0) << r.err;
}

TEST(CheckCli, AnUntouchedSiteReportsNothingInEveryLayout) {
  TempDir dir;
  MakeSite(dir);
  SiteCheckResult r = CheckSite(dir.path(), {true});
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.pages, 9u);  // the table of contents, four albums and their slide shows
  EXPECT_TRUE(r.findings.empty()) << Describe(r);

  // The same albums under a frame site with pictures, and a table with pictures.
  ASSERT_EQ(Cli({"toc", dir.path(), "--frames", "--pictures", "--quiet"}).status, 0);
  r = CheckSite(dir.path(), {true});
  EXPECT_EQ(r.pages, 10u);  // the frameset and its list page instead of the table
  EXPECT_TRUE(r.findings.empty()) << Describe(r);
  ASSERT_EQ(Cli({"toc", dir.path(), "--pictures", "--quiet"}).status, 0);
  ::unlink(dir.file("title.htm").c_str());
  r = CheckSite(dir.path(), {true});
  EXPECT_TRUE(r.findings.empty()) << Describe(r);

  const CliResult cli = Cli({"check", dir.path(), "--recursive"});
  EXPECT_EQ(cli.status, 0) << cli.err;
  EXPECT_EQ(cli.out, "");
  EXPECT_NE(cli.err.find("9 page(s) checked: 0 problem(s), 0 note(s)"), std::string::npos) << cli.err;
}

TEST(CheckCli, EachBreakageIsReportedOnceAtItsPageAndLine) {
  TempDir dir;
  MakeSite(dir);
  const std::string spring = dir.file("spring/index.htm"), show = dir.file("spring/SShow.htm");
  const std::string toc = dir.file("index.htm"), winter = dir.file("winter/index.htm");

  ::unlink(dir.file("spring/b.jpg").c_str());                    // picture gone
  ::unlink(dir.file("spring/htm_image/a.jpg").c_str());          // thumbnail gone
  WriteAll(dir.file("spring/htm_image/c.jpg"), "not a picture");  // thumbnail damaged
  MakeJpeg(dir.file("spring/htm_image/d.jpg"), 10, 10);          // thumbnail of another size
  SetMtime(dir.file("spring/e.jpg"), 100);                       // picture edited after the album
  MakeJpeg(dir.file("spring/f.jpg"), 200, 300);                  // picture replaced by an older one
  SetMtime(dir.file("spring/f.jpg"), -3600);
  // Turned by the rotation, which keeps the picture's time.
  ASSERT_EQ(Cli({"rotate", dir.file("spring"), "--right", "--pictures", "g.jpg"}).status, 0);
  // An album made again with another title and fewer pictures.
  ASSERT_EQ(Cli({"album", dir.file("summer"), "--title", "Summer 2", "--pictures", "s.jpg", "--quiet", "--set",
                 "makeSlideShow=on"})
                .status,
            0);
  // An album page whose date was changed, and whose slide show is gone.
  auto lines = ReadCp932Lines(winter);
  lines[3] = "<!--   2020.1.1 -->";
  WriteCp932Lines(winter, lines);
  ::unlink(dir.file("winter/SShow.htm").c_str());
  ::unlink(dir.file("autumn/index.htm").c_str());  // album page gone
  // A page of ours cut short.
  WriteCp932Lines(dir.file("broken.htm"), {"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">",
                                           "<!-- Pictavo Version 2.02 -->", "<!-- FILE=001 a.jpg -->"});

  const std::vector<std::string> before = Snapshot(dir.path());
  const SiteCheckResult r = CheckSite(dir.path(), {true});
  EXPECT_EQ(Snapshot(dir.path()), before);  // it writes nothing
  ASSERT_TRUE(r.ok) << r.error;

  const long summer = LineOf(toc, "href=\"summer/index.htm\"");
  const std::set<Key> expected = {
      {"broken.htm", 3, FindingKind::Unreadable},
      {"index.htm", LineOf(toc, "href=\"autumn/index.htm\""), FindingKind::MissingAlbum},
      {"index.htm", summer, FindingKind::TocTitle},
      {"index.htm", summer + 2, FindingKind::TocCount},
      {"index.htm", LineOf(toc, "href=\"winter/index.htm\"") + 3, FindingKind::TocDate},
      {"spring/index.htm", LineOf(spring, "href=\"a.jpg\""), FindingKind::MissingThumbnail},
      {"spring/index.htm", LineOf(spring, "href=\"b.jpg\""), FindingKind::MissingPicture},
      {"spring/index.htm", LineOf(spring, "href=\"c.jpg\""), FindingKind::BadThumbnail},
      {"spring/index.htm", LineOf(spring, "href=\"d.jpg\""), FindingKind::ThumbnailSize},
      {"spring/index.htm", LineOf(spring, "href=\"e.jpg\""), FindingKind::StaleThumbnail},
      {"spring/index.htm", LineOf(spring, "href=\"f.jpg\""), FindingKind::StaleThumbnail},
      {"spring/index.htm", LineOf(spring, "href=\"g.jpg\""), FindingKind::StaleThumbnail},
      {"spring/SShow.htm", LineOf(show, "=\"b.jpg\";"), FindingKind::MissingPicture},
      {"spring/SShow.htm", LineOf(show, "=\"f.jpg\";"), FindingKind::SlideSize},
      {"spring/SShow.htm", LineOf(show, "=\"g.jpg\";"), FindingKind::SlideSize},
      {"summer/t.jpg", 0, FindingKind::UnshownPicture},
      {"winter/index.htm", LineOf(winter, "action=\"SShow.htm\""), FindingKind::MissingFile},
  };
  EXPECT_EQ(Keys(r), expected) << Describe(r);
  EXPECT_EQ(r.problems(), expected.size() - 1) << Describe(r);
  EXPECT_EQ(r.notes(), 1u);
  // Findings come page by page in folder order, lines ascending.
  EXPECT_EQ(r.findings.front().page, "broken.htm");
  EXPECT_EQ(r.findings.back().page, "summer/t.jpg");

  // Without --recursive only the folder's own pages are checked; the albums
  // the table of contents links are read only for their head lines.
  const SiteCheckResult top = CheckSite(dir.path(), {false});
  std::set<std::string> pages;
  for (const auto& f : top.findings) pages.insert(f.page);
  EXPECT_EQ(pages, (std::set<std::string>{"broken.htm", "index.htm"})) << Describe(top);
  EXPECT_EQ(top.findings.size(), 5u) << Describe(top);

  // On the command line: one line per finding, status 1; the same as JSON.
  const CliResult text = Cli({"check", dir.path(), "--recursive"});
  EXPECT_EQ(text.status, 1);
  EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), static_cast<long>(expected.size())) << text.out;
  EXPECT_NE(text.out.find(dir.file("spring/index.htm") + ":" + std::to_string(LineOf(spring, "href=\"a.jpg\"")) +
                          ": problem: thumbnail missing: \"htm_image/a.jpg\" [missing-thumbnail]\n"),
            std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find(dir.file("summer/t.jpg") + ": note: picture not shown on any page [unshown-picture]\n"),
            std::string::npos)
      << text.out;
  const CliResult json = Cli({"check", dir.path(), "--recursive", "--json"});
  EXPECT_EQ(json.status, 1);
  EXPECT_EQ(json.out.rfind("{\"folder\":\"" + dir.path() + "\",\"pages\":8,\"problems\":16,\"notes\":1,", 0), 0u)
      << json.out;
  EXPECT_NE(json.out.find("{\"severity\":\"problem\",\"kind\":\"toc-title\",\"page\":\"index.htm\",\"line\":" +
                          std::to_string(summer) +
                          ",\"also_lines\":[],\"text\":\"title \\\"summer\\\" differs from the album's \\\"Summer "
                          "2\\\"\"}"),
            std::string::npos)
      << json.out;
}

TEST(CheckCli, ExitStatusSaysWhetherSomethingIsWrong) {
  TempDir dir;
  ::mkdir(dir.file("a").c_str(), 0777);
  MakeJpeg(dir.file("a/p.jpg"), 40, 30);
  ASSERT_EQ(Cli({"album", dir.file("a"), "--quiet"}).status, 0);
  EXPECT_EQ(Cli({"check", dir.file("a")}).status, 0);
  MakeJpeg(dir.file("a/q.jpg"), 40, 30);  // a note only
  const CliResult notes = Cli({"check", dir.file("a"), "--json"});
  EXPECT_EQ(notes.status, 0);
  EXPECT_NE(notes.out.find("\"problems\":0,\"notes\":1,"), std::string::npos) << notes.out;
  EXPECT_EQ(Cli({"check", dir.file("missing")}).status, 2);
  EXPECT_EQ(Cli({"check"}).status, 2);
  EXPECT_EQ(Cli({"check", dir.file("a"), "--bogus"}).status, 2);
  ::unlink(dir.file("a/p.jpg").c_str());
  EXPECT_EQ(Cli({"check", dir.file("a")}).status, 1);
}

TEST(CheckCli, NothingOutsideTheCheckedFolderIsFollowed) {
  TempDir dir, outside;
  MakeJpeg(outside.file("elsewhere.jpg"), 7, 7);  // a thumbnail of the wrong size, were it read
  ::mkdir(outside.file("album").c_str(), 0777);
  WriteCp932Lines(outside.file("album/index.htm"), {"", "<!-- Pictavo", "<!-- FILE=001 gone.jpg -->"});
  ::mkdir(dir.file("a").c_str(), 0777);
  MakeJpeg(dir.file("a/p.jpg"), 160, 120);
  MakeJpeg(dir.file("a/q.jpg"), 160, 120);
  ASSERT_EQ(Cli({"album", dir.file("a"), "--quiet", "--set", "defaultHeader=off", "--set",
                 "headerComment=<IMG src=\"/etc/hostname\"> <A href=\"http://example.com/x.htm\">x</A> <A "
                 "href=\"mailto:a@b\">m</A> <A href=\"#top\">t</A> <A href=\"..%2F..%2Fetc/passwd\">e</A>",
                 "--set", "defaultFooter=off", "--set", "footerLink=on", "--set",
                 "footerLinkUrl=../../outside.htm"})
                .status,
            0);
  ::unlink(dir.file("a/htm_image/q.jpg").c_str());
  ASSERT_EQ(::symlink(outside.file("elsewhere.jpg").c_str(), dir.file("a/htm_image/q.jpg").c_str()), 0);
  ASSERT_EQ(::symlink(outside.file("album").c_str(), dir.file("linked").c_str()), 0);

  const SiteCheckResult r = CheckSite(dir.file("a"), {true});
  const std::string page = dir.file("a/index.htm");
  const long header = LineOf(page, "/etc/hostname"), footer = LineOf(page, "../../outside.htm");
  EXPECT_EQ(Keys(r), (std::set<Key>{{"index.htm", header, FindingKind::Outside},
                                    {"index.htm", header, FindingKind::MissingFile},
                                    {"index.htm", LineOf(page, "href=\"q.jpg\""), FindingKind::Outside},
                                    {"index.htm", footer, FindingKind::Outside}}))
      << Describe(r);
  EXPECT_EQ(r.problems(), 1u);  // the encoded slash leads to no file

  // A linked folder that leads out is not walked.
  const SiteCheckResult top = CheckSite(dir.path(), {true});
  for (const auto& f : top.findings) EXPECT_EQ(f.page.rfind("linked", 0), std::string::npos) << f.page;
}

}  // namespace
}  // namespace pictavo
