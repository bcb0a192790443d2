#include "publish/publish.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <map>
#include <set>
#include <thread>

#include "platform/error.h"
#include "platform/paths.h"
#include "platform/sink.h"
#include "publish/location.h"
#include "publish/manifest.h"
#include "publish/published_picture.h"
#include "text/chars.h"
#include "platform/textfile.h"

namespace pictavo {

namespace {

int64_t Nanoseconds(const timespec& t) { return static_cast<int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec; }

std::string RealPath(const std::string& path) {
  char* r = ::realpath(path.c_str(), nullptr);
  if (!r) return {};
  std::string out = r;
  std::free(r);
  return out;
}

// The real path of a folder that may not exist yet: its nearest existing
// ancestor's real path with the rest appended.
std::string RealPathToBe(const std::string& path) {
  std::string head = AbsolutePath(path), tail;
  while (true) {
    const std::string real = RealPath(head);
    if (!real.empty()) return tail.empty() ? real : FolderBase(real) + tail;
    if (head == "/") return AbsolutePath(path);
    tail = tail.empty() ? LastComponent(head) : LastComponent(head) + "/" + tail;
    head = ParentFolder(head);
  }
}

bool Within(const std::string& inner, const std::string& outer) {
  return inner == outer || inner.rfind(FolderBase(outer), 0) == 0;
}

bool IsJpegName(const std::string& path) {
  const std::string ext = LowerAscii(Extension(path));
  return ext == ".jpg" || ext == ".jpeg" || ext == ".jpe";
}

// Reads up to `limit` bytes from the start of an open file.
bool ReadHead(int fd, size_t limit, std::string& bytes, bool& whole) {
  bytes.clear();
  whole = false;
  char buf[65536];
  while (bytes.size() < limit) {
    const ssize_t n = ::read(fd, buf, std::min(sizeof buf, limit - bytes.size()));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      whole = true;
      return true;
    }
    bytes.append(buf, static_cast<size_t>(n));
  }
  return true;
}

// A copy of the file at `source` (already resolved inside the site) to
// `target`, atomically; a JPEG's location is taken out of its head unless
// `keepLocation`, the rest of the file copied as it is.
bool WriteCopy(const std::string& source, const std::string& target, bool jpeg, bool keepLocation, std::string& error) {
  const int fd = ::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) {
    error = SystemErrorText(source, errno);
    return false;
  }
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = source + ": not a regular file";
    return false;
  }
  std::string head, bytes;
  size_t replaced = 0;
  bool whole = false;
  if (jpeg && !keepLocation) {
    // Most heads fit in the first megabyte; a long ICC profile or XMP may not.
    for (const size_t limit : {size_t{1} << 20, size_t{16} << 20}) {
      if (::lseek(fd, 0, SEEK_SET) != 0 || !ReadHead(fd, limit, bytes, whole)) {
        error = SystemErrorText(source, errno);
        return false;
      }
      HeadResult r = HeadResult::Unchanged;
      // Not a JPEG after all: nothing of a location can be found in it, so it
      // goes as it is, and why it is no JPEG is of no interest here.
      const bool isJpeg = StripJpegHeadLocation(bytes, whole, head, replaced, r).ok();
      if (isJpeg && r == HeadResult::NeedMore && !whole && limit < (size_t{16} << 20)) continue;
      if (isJpeg && r == HeadResult::NeedMore) {
        error = source + ": the picture's header is too long to take its location out";
        return false;
      }
      if (!isJpeg || r != HeadResult::Rewritten) {
        head.clear();
        replaced = 0;
      }
      break;
    }
  }
  if (::lseek(fd, static_cast<off_t>(replaced), SEEK_SET) != static_cast<off_t>(replaced)) {
    error = SystemErrorText(source, errno);
    return false;
  }
  SinkOpening opened = OpenRenamingSink(target, false);
  if (!opened.sink) {
    error = opened.status.reason();
    return false;
  }
  ByteSink* const sink = opened.sink.get();
  if (!head.empty() && !sink->write(head)) {
    error = sink->error();
    return false;
  }
  char buf[131072];
  while (true) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = SystemErrorText(source, errno);
      return false;
    }
    if (n == 0) break;
    if (!sink->write(std::string_view(buf, static_cast<size_t>(n)))) {
      error = sink->error();
      return false;
    }
  }
  if (!sink->close()) {
    error = sink->error();
    return false;
  }
  return true;
}

bool WriteBytes(const std::string& target, const std::string& bytes, std::string& error) {
  const Status written = WriteFileAtomically(target, bytes, /*durable=*/false);
  if (!written.ok()) error = written.reason();
  return written.ok();
}

// The published size of a picture, nudged by a pixel where the rounding of
// its short side would make a page's stated size no longer fit it.
PublishedSize FittingSize(PublishedSize size, const SiteFile& file) {
  if (!size.reduce) return size;
  auto fits = [&](const PublishedSize& s) {
    for (const SiteFile::Shown& shown : file.shown) {
      const bool ok = shown.slide ? SlideFitsPicture(s.width, s.height, shown.width, shown.height)
                                  : CellFitsPicture(s.width, s.height, shown.width, shown.height);
      if (!ok) return false;
    }
    return true;
  };
  if (fits(size)) return size;
  const bool wide = size.width >= size.height;
  for (const int delta : {-1, 1}) {
    PublishedSize s = size;
    (wide ? s.height : s.width) += delta;
    if ((wide ? s.height : s.width) >= 1 && fits(s)) return s;
  }
  return size;
}

// What becomes of a file an earlier publish wrote that the site no longer
// has: removed when it is as publish left it (or was claimed by a publish
// that stopped), left to whoever changed it otherwise.
enum class Removal { Remove, Leave, Gone };
Removal Removable(const std::string& path, const ManifestEntry& entry) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return Removal::Gone;
  if (!S_ISREG(st.st_mode)) return Removal::Leave;
  if (entry.claimed()) return Removal::Remove;
  return st.st_size == entry.size && Nanoseconds(st.st_mtim) == entry.time ? Removal::Remove : Removal::Leave;
}

struct Job {
  std::string rel;
  SiteFileRole role = SiteFileRole::Linked;
  const SiteFile* file = nullptr;
  std::string source;  // real path inside the site
  std::string target;
  ManifestEntry entry;  // what the manifest records once it is written
  bool replaces = false;
  // Filled by the worker.
  bool done = false;
  bool reduced = false;
  std::string error;
};

class Publisher {
 public:
  Publisher(std::string site, std::string destination, PublishOptions options, PublishHost& host)
      : m_site(std::move(site)), m_dest(std::move(destination)), m_options(options), m_host(host) {}

  PublishSummary run() {
    if (!start()) {
      m_summary.outcome = PublishOutcome::Failed;
      return std::move(m_summary);
    }
    plan();
    if (m_options.dryRun) {
      m_summary.outcome = m_summary.failures.empty() ? PublishOutcome::Done : PublishOutcome::Failed;
      return std::move(m_summary);
    }
    if (!MakeFolders(m_dest)) {
      refuse(PublishRefusal::DestinationNotCreated, SystemErrorText(m_dest, errno));
      return std::move(m_summary);
    }
    // Every file about to be written is claimed first, so that a kill in
    // the middle still leaves each of them known as this publish's own.
    Manifest claims = m_manifest;
    for (const Job& job : m_jobs) claims[job.rel] = ManifestEntry{"claimed", -1, -1, -1, -1};
    if (const Status claimed = WriteFileAtomically(FolderBase(m_dest) + kManifestName, FormatManifest(claims));
        !claimed.ok()) {
      refuse(PublishRefusal::DestinationNotWritten, claimed.reason());
      return std::move(m_summary);
    }
    m_manifest = std::move(claims);
    removeLeftovers();
    const bool stopped = work();
    for (Job& job : m_jobs) {
      if (job.done) {
        m_manifest[job.rel] = job.entry;
        ++(job.reduced ? m_summary.reduced : m_summary.copied);
      } else if (!job.error.empty()) {
        m_summary.failures.push_back(job.rel + ": " + job.error);
      }
    }
    if (!stopped) removeOld();
    if (const Status kept = WriteFileAtomically(FolderBase(m_dest) + kManifestName, FormatManifest(m_manifest));
        !kept.ok()) {
      m_summary.failures.push_back(std::string(kManifestName) + ": " + kept.reason());
    }
    if (stopped) {
      m_summary.outcome = PublishOutcome::Stopped;
      return std::move(m_summary);
    }
    m_summary.check = CheckSite(m_dest, CheckOptions{true});
    if (!m_summary.failures.empty() || !m_summary.check.ok) {
      m_summary.outcome = PublishOutcome::Failed;
    } else {
      m_summary.outcome = m_summary.check.problems() > 0 ? PublishOutcome::CheckFailed : PublishOutcome::Done;
    }
    return std::move(m_summary);
  }

 private:
  // Always false: `if (...) return refuse(...)` in start().
  bool refuse(PublishRefusal why, std::string detail = {}) {
    m_summary.outcome = PublishOutcome::Failed;
    m_summary.refusal = why;
    m_summary.refusalDetail = std::move(detail);
    return false;
  }

  bool start() {
    if (m_options.maxSize < 16 || m_options.maxSize > 65500) {
      return refuse(PublishRefusal::BadMaxSize);
    }
    if (m_options.quality < 1 || m_options.quality > 100) {
      return refuse(PublishRefusal::BadQuality);
    }
    m_realSite = RealPath(m_site);
    struct stat st {};
    if (m_realSite.empty() || ::stat(m_realSite.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
      return refuse(PublishRefusal::NoSite, m_site);
    }
    m_dest = AbsolutePath(m_dest);
    if (::stat(m_dest.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) {
      return refuse(PublishRefusal::DestinationNotAFolder, m_dest);
    }
    const std::string realDest = RealPathToBe(m_dest);
    // A copy inside the site would be published into itself on the next run;
    // a site inside the copy could be overwritten by it.
    if (Within(realDest, m_realSite) || Within(m_realSite, realDest)) {
      return refuse(PublishRefusal::Nested);
    }
    m_siteCheck = CheckSite(m_realSite, CheckOptions{true});
    if (!m_siteCheck.ok) {
      return refuse(PublishRefusal::SiteUnreadable, m_siteCheck.error);
    }
    if (m_siteCheck.pages == 0) {
      return refuse(PublishRefusal::NoPages, m_site);
    }
    // Without a manifest that reads (a first publish), no file there is known as ours.
    std::string bytes;
    if (ReadFileBytes(FolderBase(m_dest) + kManifestName, bytes, nullptr, kManifestReadLimit).ok()) {
      m_manifest = ParseManifest(bytes);
    }
    return true;
  }

  std::string recipeFor(const SiteFile& f, bool jpeg) const {
    const std::string location = m_options.keepLocation ? "keep" : "strip";
    switch (f.role) {
      case SiteFileRole::Page: return "page";
      case SiteFileRole::Picture:
        return "picture " + std::to_string(m_options.maxSize) + " " + std::to_string(m_options.quality) + " " +
               location;
      case SiteFileRole::Linked: return jpeg ? "copy " + location : "copy";
    }
    return "copy";
  }

  void plan() {
    m_summary.files = m_siteCheck.files.size();
    const std::string destBase = FolderBase(m_dest);
    for (const SiteFile& f : m_siteCheck.files) {
      m_inSite.insert(f.path);
      if (!IsPlainRelativePath(f.path)) {
        m_summary.failures.push_back(f.path + ": a name that cannot be published");
        continue;
      }
      Job job;
      job.rel = f.path;
      job.role = f.role;
      job.file = &f;
      job.source = RealPath(FolderBase(m_realSite) + f.path);
      struct stat st {};
      if (job.source.empty() || !Within(job.source, m_realSite) || ::stat(job.source.c_str(), &st) != 0 ||
          !S_ISREG(st.st_mode)) {
        m_summary.failures.push_back(f.path + ": cannot be read inside the site");
        continue;
      }
      job.target = destBase + f.path;
      job.entry.recipe = recipeFor(f, IsJpegName(f.path));
      job.entry.sourceSize = st.st_size;
      job.entry.sourceTime = Nanoseconds(st.st_mtim);
      struct stat dt {};
      const bool exists = ::lstat(job.target.c_str(), &dt) == 0;
      const auto old = m_manifest.find(f.path);
      if (old == m_manifest.end()) {
        if (exists) {
          m_summary.leftAlone.push_back(f.path);
          m_summary.failures.push_back(f.path + ": already in the destination and not written by publish; left as it is");
          continue;
        }
      } else {
        const ManifestEntry& e = old->second;
        if (exists && !e.claimed() && e.recipe == job.entry.recipe && e.sourceSize == job.entry.sourceSize &&
            e.sourceTime == job.entry.sourceTime && S_ISREG(dt.st_mode) && dt.st_size == e.size &&
            Nanoseconds(dt.st_mtim) == e.time) {
          ++m_summary.unchanged;
          continue;
        }
      }
      job.replaces = exists;
      if (m_options.dryRun) {
        ++(f.role == SiteFileRole::Picture ? m_summary.reduced : m_summary.copied);
        describe(job);
        continue;
      }
      m_jobs.push_back(std::move(job));
    }
    // Pages last, so that a page in the destination never leads to a file
    // that is still to come while the publish runs.
    std::stable_partition(m_jobs.begin(), m_jobs.end(), [](const Job& j) { return j.role != SiteFileRole::Page; });
    for (const auto& [path, entry] : m_manifest) {
      if (m_inSite.count(path) || !m_options.dryRun) continue;
      switch (Removable(destBase + path, entry)) {
        case Removal::Remove:
          m_host.report("remove " + path);
          ++m_summary.removed;
          break;
        case Removal::Leave: m_host.report("leave " + path + " (changed since it was published)"); break;
        case Removal::Gone: break;
      }
    }
  }

  void describe(const Job& job) {
    const std::string verb = job.replaces ? "update " : "write ";
    if (job.role == SiteFileRole::Picture) {
      PublishedSize size;
      const Status planned =
          PlanPublishedPicture(job.source, m_options.maxSize, job.file->shownWidth, job.file->shownHeight, size);
      if (!planned.ok()) {
        m_summary.failures.push_back(job.rel + ": " + planned.reason());
        return;
      }
      size = FittingSize(size, *job.file);
      m_host.report(verb + job.rel + (size.reduce ? " (reduced to " + std::to_string(size.width) + " x " +
                                                        std::to_string(size.height) + ")"
                                                  : " (copied, it fits)"));
    } else {
      m_host.report(verb + job.rel);
    }
  }

  void make(Job& job) {
    std::string error;
    const std::string folder = ParentFolder(job.target);
    if (!MakeFolders(folder)) {
      job.error = "the folder cannot be created: " + SystemErrorText(folder, errno);
      return;
    }
    const bool jpeg = IsJpegName(job.rel);
    bool ok = false;
    if (job.role == SiteFileRole::Picture) {
      PublishedSize size;
      Status made =
          PlanPublishedPicture(job.source, m_options.maxSize, job.file->shownWidth, job.file->shownHeight, size);
      if (made.ok()) size = FittingSize(size, *job.file);
      if (made.ok() && size.reduce) {
        std::string bytes;
        made = EncodePublishedPicture(job.source, size, m_options.quality, m_options.keepLocation, bytes);
        ok = made.ok() && WriteBytes(job.target, bytes, error);
        job.reduced = ok;
      } else if (made.ok()) {
        ok = WriteCopy(job.source, job.target, true, m_options.keepLocation, error);
      }
      if (!made.ok()) error = made.reason();
    } else {
      ok = WriteCopy(job.source, job.target, jpeg && job.role != SiteFileRole::Page, m_options.keepLocation, error);
    }
    if (!ok) {
      job.error = error;
      return;
    }
    // The source's time goes with the copy: the check compares a thumbnail's
    // time with its picture's, and must find them as the site has them.
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(job.entry.sourceTime / 1'000'000'000);
    times[1].tv_nsec = static_cast<long>(job.entry.sourceTime % 1'000'000'000);
    struct stat st {};
    if (::utimensat(AT_FDCWD, job.target.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0 ||
        ::lstat(job.target.c_str(), &st) != 0) {
      job.error = SystemErrorText(job.target, errno);
      return;
    }
    job.entry.size = st.st_size;
    job.entry.time = Nanoseconds(st.st_mtim);
    job.done = true;
  }

  // Runs the jobs on worker threads while this thread reports progress and
  // asks whether to stop. True when stopped.
  bool work() {
    unsigned workers = m_options.workers ? m_options.workers : std::max(1u, std::thread::hardware_concurrency());
    workers = std::min<unsigned>(workers, static_cast<unsigned>(std::max<size_t>(1, m_jobs.size())));
    std::atomic<size_t> next{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable changed;
    size_t finished = 0;
    std::string last;
    // Asked once before any file is written, so that a stop already
    // requested takes effect at once.
    bool stopped = m_host.stopRequested();
    std::vector<std::thread> threads;
    for (unsigned w = 0; w < (stopped ? 0 : workers); ++w) {
      threads.emplace_back([&] {
        while (!stop) {
          const size_t i = next++;
          if (i >= m_jobs.size()) break;
          try {
            make(m_jobs[i]);
          } catch (const std::exception& e) {
            // Out of memory for one picture must not end the others' work.
            m_jobs[i].done = false;
            m_jobs[i].error = std::string("cannot be made: ") + e.what();
          }
          std::lock_guard<std::mutex> lock(mutex);
          ++finished;
          last = m_jobs[i].rel;
          changed.notify_all();
        }
      });
    }
    if (!stopped) {
      std::unique_lock<std::mutex> lock(mutex);
      size_t shown = static_cast<size_t>(-1);
      while (finished < m_jobs.size()) {
        changed.wait_for(lock, std::chrono::milliseconds(50));
        const size_t f = finished;
        const std::string l = last;
        lock.unlock();
        if (f != shown) m_host.progress(f, m_jobs.size(), l);
        shown = f;
        const bool ask = m_host.stopRequested();
        lock.lock();
        if (ask) {
          stopped = true;
          stop = true;
          break;
        }
      }
    }
    for (std::thread& t : threads) t.join();
    if (!stopped) m_host.progress(m_jobs.size(), m_jobs.size(), last);
    return stopped;
  }

  // A kill between a temporary file's creation and its rename leaves it
  // beside its target; the next publish takes away those of its own files
  // whose writer is gone (never another running writer's).
  void removeLeftovers() {
    std::map<std::string, std::set<std::string>> ours;  // folder -> names publish writes there
    for (const auto& [path, entry] : m_manifest) ours[ParentFolder(FolderBase(m_dest) + path)].insert(LastComponent(path));
    ours[m_dest].insert(kManifestName);
    for (const auto& [folder, names] : ours) RemoveStaleTemporaries(folder, names);
  }

  // Files an earlier publish wrote that the site no longer has: removed when
  // they are as publish left them, else left to whoever changed them.
  void removeOld() {
    const std::string destBase = FolderBase(m_dest);
    for (auto it = m_manifest.begin(); it != m_manifest.end();) {
      if (m_inSite.count(it->first)) {
        ++it;
        continue;
      }
      const std::string path = destBase + it->first;
      const Removal removal = Removable(path, it->second);
      if (removal != Removal::Gone) {
        if (removal == Removal::Remove) {
          if (::unlink(path.c_str()) == 0) {
            ++m_summary.removed;
            m_host.report("removed " + it->first);
            // Folders emptied by the removal go too; a folder with anything left stays.
            for (std::string dir = ParentFolder(path); dir.size() > destBase.size(); dir = ParentFolder(dir)) {
              if (::rmdir(dir.c_str()) != 0) break;
            }
          } else {
            m_summary.failures.push_back(it->first + ": " + SystemErrorText(path, errno));
            ++it;
            continue;
          }
        } else {
          m_summary.leftAlone.push_back(it->first);
          m_host.report("left " + it->first + " (changed since it was published)");
        }
      }
      it = m_manifest.erase(it);
    }
  }

  std::string m_site, m_dest;
  PublishOptions m_options;
  PublishHost& m_host;
  std::string m_realSite;
  SiteCheckResult m_siteCheck;
  Manifest m_manifest;
  std::set<std::string> m_inSite;
  std::vector<Job> m_jobs;
  PublishSummary m_summary;
};

}  // namespace

PublishSummary Publish(const std::string& site, const std::string& destination, const PublishOptions& options,
                       PublishHost& host) {
  return Publisher(site, destination, options, host).run();
}

}  // namespace pictavo
