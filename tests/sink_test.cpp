// Temporary files of the renaming sinks: what a killed writer left is removed
// the next time its file is written, and nothing else is: not a temporary a
// running process is writing, not a file that merely looks like one.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <algorithm>

#include "platform/paths.h"
#include "platform/sink.h"
#include "status_testing.h"
#include "test_util.h"

namespace pictavo {
namespace {

bool Has(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// The hidden entry whose name holds the pid, empty when none.
std::string TemporaryOf(const std::string& folder, pid_t pid) {
  for (const auto& name : HiddenNames(folder)) {
    if (name.find("-" + std::to_string(pid) + "-") != std::string::npos) return name;
  }
  return {};
}

// A writer of `path` killed in the middle of its write.
pid_t KilledWriter(const std::string& path) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    SinkOpening opened = OpenAtomicSink(path);
    if (opened.sink) opened.sink->write("half of the new file");
    ::kill(::getpid(), SIGKILL);
    ::_exit(1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return pid;
}

// A writer of `path` that has written and waits to be told to finish.
struct LiveWriter {
  pid_t pid = -1;
  int go = -1;

  explicit LiveWriter(const std::string& path) {
    int ready[2], wait[2];
    EXPECT_EQ(::pipe(ready), 0);
    EXPECT_EQ(::pipe(wait), 0);
    pid = ::fork();
    if (pid == 0) {
      ::close(ready[0]);
      ::close(wait[1]);  // else the read below never sees the end
      SinkOpening opened = OpenAtomicSink(path);
      ByteSink* const sink = opened.sink.get();
      const bool ok = sink && sink->write("the live writer's file");
      char c = ok ? 'y' : 'n';
      (void)!::write(ready[1], &c, 1);
      (void)!::read(wait[0], &c, 1);
      ::_exit(ok && sink->close() ? 0 : 1);
    }
    ::close(ready[1]);
    ::close(wait[0]);
    char c = 0;
    EXPECT_EQ(::read(ready[0], &c, 1), 1);
    EXPECT_EQ(c, 'y');
    ::close(ready[0]);
    go = wait[1];
  }
  int finish() {
    ::close(go);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
  }
};

TEST(RenamingSink, TemporariesOfAKilledWriterGoAtTheNextWriteOfTheirFile) {
  TempDir dir;
  const std::string page = dir.file("index.htm");
  WriteAll(page, "old");
  WriteAll(dir.file("precious"), "the user's");

  const pid_t killed = KilledWriter(page);
  const pid_t killedOther = KilledWriter(dir.file("SShow.htm"));
  const std::string stale = TemporaryOf(dir.path(), killed);
  const std::string staleOther = TemporaryOf(dir.path(), killedOther);
  ASSERT_FALSE(stale.empty());
  ASSERT_FALSE(staleOther.empty());
  EXPECT_EQ(stale.rfind(".index.htm.", 0), 0u) << stale;
  EXPECT_EQ(ReadAll(page), "old");

  // A dead pid whose file is locked: a writer in another pid namespace.
  const std::string locked = ".index.htm.pictavo-" + std::to_string(killed) + "-Lock42";
  WriteAll(dir.file(locked), "x");
  const int lockFd = ::open(dir.file(locked).c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(lockFd, LOCK_EX), 0);
  // Names that only resemble ours, and ours that are no plain file.
  const std::string dead = std::to_string(killed);
  const std::vector<std::string> notOurs = {".index.htm.Ab12cd", ".index.htm.pictavo-" + dead + "-abc",
                                            ".index.htm.pictavo-x" + dead + "-abcdef", "index.htm.pictavo-" + dead + "-abcdef"};
  for (const auto& name : notOurs) WriteAll(dir.file(name), "x");
  const std::string folderLike = ".index.htm.pictavo-" + dead + "-Dir123";
  const std::string linkLike = ".index.htm.pictavo-" + dead + "-Lnk123";
  ASSERT_EQ(::mkdir(dir.file(folderLike).c_str(), 0755), 0);
  ASSERT_EQ(::symlink("precious", dir.file(linkLike).c_str()), 0);

  LiveWriter live(page);
  const std::string running = TemporaryOf(dir.path(), live.pid);
  ASSERT_FALSE(running.empty());

  ASSERT_TRUE(Succeeded(WriteFileAtomically(page, "new")));
  EXPECT_EQ(ReadAll(page), "new");
  auto left = HiddenNames(dir.path());
  EXPECT_FALSE(Has(left, stale));
  EXPECT_TRUE(Has(left, running));
  EXPECT_TRUE(Has(left, staleOther));  // another file's: left for its own next write
  EXPECT_TRUE(Has(left, locked));
  for (const auto& name : notOurs) EXPECT_TRUE(PathExists(dir.file(name))) << name;
  EXPECT_TRUE(Has(left, folderLike));
  EXPECT_TRUE(Has(left, linkLike));
  EXPECT_EQ(ReadAll(dir.file("precious")), "the user's");

  // The live writer still puts its file in place.
  EXPECT_EQ(live.finish(), 0);
  EXPECT_EQ(ReadAll(page), "the live writer's file");
  EXPECT_FALSE(Has(HiddenNames(dir.path()), running));

  // A whole folder at once (the thumbnail folder): every target's; the
  // locked one only once its lock is let go.
  RemoveStaleTemporaries(dir.path());
  left = HiddenNames(dir.path());
  EXPECT_FALSE(Has(left, staleOther));
  EXPECT_TRUE(Has(left, locked));
  ::close(lockFd);
  RemoveStaleTemporaries(dir.path());
  left = HiddenNames(dir.path());
  EXPECT_FALSE(Has(left, locked));
  EXPECT_TRUE(Has(left, folderLike));
  EXPECT_TRUE(Has(left, linkLike));
  EXPECT_EQ(ReadAll(dir.file("precious")), "the user's");
}

TEST(RenamingSink, ACleanupOfSeveralFilesTakesOnlyTheirTemporaries) {
  TempDir dir;
  const std::string folder = dir.file("");
  const pid_t a = KilledWriter(dir.file("a.jpg"));
  const pid_t b = KilledWriter(dir.file("b.htm"));
  const pid_t other = KilledWriter(dir.file("other.jpg"));
  const std::string keptA = TemporaryOf(folder, a), keptB = TemporaryOf(folder, b), keptOther = TemporaryOf(folder, other);
  ASSERT_FALSE(keptA.empty());
  ASSERT_FALSE(keptB.empty());
  ASSERT_FALSE(keptOther.empty());
  RemoveStaleTemporaries(folder, std::set<std::string>{"a.jpg", "b.htm"});
  const auto left = HiddenNames(folder);
  EXPECT_FALSE(Has(left, keptA));
  EXPECT_FALSE(Has(left, keptB));
  // A file the caller did not name keeps its leftover for its own writer.
  EXPECT_TRUE(Has(left, keptOther));
}

TEST(RenamingSink, ALongNameStillGetsItsTemporaryFile) {
  TempDir dir;
  std::string name;
  for (int i = 0; i < 83; ++i) name += "あ";
  name += ".htm";  // 253 bytes: with the temporary's tag it would pass the name limit
  const std::string path = dir.file(name);
  WriteAll(path, "old");
  const pid_t killed = KilledWriter(path);
  ASSERT_TRUE(Succeeded(WriteFileAtomically(path, "new")));
  EXPECT_EQ(ReadAll(path), "new");
  EXPECT_EQ(TemporaryOf(dir.path(), killed), "");
  EXPECT_EQ(ListDir(dir.path()), std::vector<std::string>{name});
}

}  // namespace
}  // namespace pictavo
