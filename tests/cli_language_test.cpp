// The command line's language: --lang and the locale choose the messages,
// never the bytes it writes.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <functional>
#include <map>

#include "cli_fixtures.h"
#include "fixtures.h"
#include "test_util.h"

namespace pictavo {
namespace {

// Relative path -> bytes of every file below `root` (folders by name).
void Collect(const std::string& root, const std::string& rel, std::map<std::string, std::string>& files) {
  for (const std::string& name : ListDir(root + rel)) {
    const std::string path = rel + "/" + name;
    struct stat st {};
    ASSERT_EQ(::stat((root + path).c_str(), &st), 0) << path;
    if (S_ISDIR(st.st_mode)) {
      Collect(root, path, files);
    } else {
      files[path] = ReadAll(root + path);
    }
  }
}

// Two albums and their table of contents, made by the batch, and a settings
// save, all in `language`; every file written, by relative path.
std::map<std::string, std::string> SiteIn(const std::string& language, const TempDir& dir) {
  const std::string site = dir.file("site-" + language);
  for (const std::string& f : {site, site + "/旅", site + "/plain"}) ::mkdir(f.c_str(), 0777);
  MakeJpeg(site + "/旅/a.jpg", 160, 120);
  MakeJpeg(site + "/旅/b.jpg", 90, 120);
  MakeJpeg(site + "/plain/p.jpg", 64, 48);
  const std::string home = dir.file("home-" + language);
  CliResult r = Cli({"--lang", language, "batch", site, "--title", "夏の旅", "--pictures", "--home", home});
  EXPECT_EQ(r.status, 0) << r.err;
  r = Cli({"settings", "save", site + "/saved", "--home", home, "--set", "headerComment=旅", "--lang", language});
  EXPECT_EQ(r.status, 0) << r.err;
  std::map<std::string, std::string> files;
  Collect(site, "", files);
  return files;
}

TEST(CliLanguage, AlbumsTableOfContentsAndSettingsAreTheSameBytesInEitherLanguage) {
  TempDir dir;
  const auto japanese = SiteIn("ja", dir);
  const auto english = SiteIn("en", dir);
  ASSERT_TRUE(japanese.count("/index.htm"));
  ASSERT_TRUE(japanese.count("/旅/index.htm"));
  ASSERT_TRUE(japanese.count("/saved.ini"));
  ASSERT_EQ(japanese.size(), english.size());
  for (const auto& [path, bytes] : japanese) {
    ASSERT_TRUE(english.count(path)) << path;
    EXPECT_TRUE(english.at(path) == bytes) << path << " differs between the languages";
  }
}

TEST(CliLanguage, TheAnswerToAQuestionIsInTheSameLanguage) {
  TempDir dir;
  MakeJpeg(dir.file("a.jpg"), 64, 48);
  const CliResult english = Cli({"--lang", "en", "album", dir.path(), "--title", "T", "--home", dir.file("home")});
  EXPECT_EQ(english.status, 0) << english.err;
  EXPECT_NE(english.err.find("Open the page in the browser? -> No\n"), std::string::npos) << english.err;
  const CliResult japanese = Cli({"--lang", "ja", "album", dir.path(), "--title", "T", "--home", dir.file("home")});
  EXPECT_NE(japanese.err.find("ブラウザを起動しますか？ -> いいえ\n"), std::string::npos) << japanese.err;
}

TEST(CliLanguage, MessagesFollowTheFlagElseTheLocale) {
  TempDir dir;
  const std::string home = dir.file("home");
  const auto refused = [&](std::vector<std::string> extra) {
    std::vector<std::string> args{"settings", "save", home + "/PCV.ini", "--home", home};
    args.insert(args.end(), extra.begin(), extra.end());
    return Cli(args);
  };
  const std::string japanese = "このフォルダに指定したファイル名は使用できません";
  const std::string english = "That file name cannot be used in this folder";

  CliResult r = refused({"--lang", "en"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(english), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find(japanese), std::string::npos) << r.err;
  r = refused({"--lang", "ja"});
  EXPECT_NE(r.err.find(japanese), std::string::npos) << r.err;

  // Without the flag the locale decides: English for an English locale, and
  // the flag still wins over it.
  const char* saved = std::getenv("LC_ALL");
  const std::string before = saved ? saved : "";
  ::setenv("LC_ALL", "en_GB.UTF-8", 1);
  r = refused({});
  const CliResult forced = refused({"--lang", "ja"});
  ::setenv("LC_ALL", "C", 1);
  const CliResult scripted = refused({});
  if (saved) {
    ::setenv("LC_ALL", before.c_str(), 1);
  } else {
    ::unsetenv("LC_ALL");
  }
  EXPECT_NE(r.err.find(english), std::string::npos) << r.err;
  EXPECT_NE(forced.err.find(japanese), std::string::npos) << forced.err;
  EXPECT_NE(scripted.err.find(japanese), std::string::npos) << scripted.err;

  // Only the two languages are known.
  EXPECT_EQ(refused({"--lang", "fr"}).status, 2);
}

}  // namespace
}  // namespace pictavo
