#include "album/thumbnail_pipeline.h"

#include <sched.h>
#include <stdlib.h>

#include <algorithm>
#include <exception>
#include <map>

#include "image/jpeg.h"
#include "platform/paths.h"

namespace pictavo {

namespace {

// The file's identity for comparing paths: its folder resolved (a thumbnail
// folder named "." is the album folder), then its name.
std::string FileKey(const std::string& path, std::map<std::string, std::string>& folders) {
  const std::string folder = ParentFolder(path);
  auto it = folders.find(folder);
  if (it == folders.end()) {
    char* real = ::realpath(folder.c_str(), nullptr);
    it = folders.emplace(folder, real ? std::string(real) : folder).first;
    ::free(real);
  }
  return it->second + "/" + LastComponent(path);
}

}  // namespace

WriterIndex::WriterIndex(size_t* comparisons) : m_lastWriter(Less{comparisons}) {}

long long WriterIndex::add(const std::string& reads, const std::string& writes, bool testsOwn) {
  const auto writer = [&](const std::string& key) {
    const auto it = m_lastWriter.find(key);
    return it == m_lastWriter.end() ? -1LL : it->second;
  };
  long long waitFor = writer(reads);
  if (testsOwn) waitFor = std::max(waitFor, writer(writes));
  m_lastWriter.insert_or_assign(writes, m_count++);
  return waitFor;
}

class ThumbnailPipeline::Gate : public DecodeGate {
 public:
  Gate(ThumbnailPipeline& pipeline, bool mayPutOff) : m_pipeline(pipeline), m_mayPutOff(mayPutOff) {}
  ~Gate() override {
    if (m_entered) m_pipeline.release(m_bytes);
  }
  bool enter(int64_t bytes) override {
    m_bytes = bytes;
    m_entered = m_pipeline.acquire(bytes, m_mayPutOff);
    m_putOff = !m_entered;
    return m_entered;
  }
  bool putOff() const { return m_putOff; }
  int64_t bytes() const { return m_bytes; }

 private:
  ThumbnailPipeline& m_pipeline;
  bool m_mayPutOff;
  int64_t m_bytes = 0;
  bool m_entered = false;
  bool m_putOff = false;
};

bool ThumbnailPipeline::fits(int64_t bytes) const {
  return m_decoding == 0 || m_decodingBytes + bytes <= kDecodeBudget;
}

bool ThumbnailPipeline::acquire(int64_t bytes, bool mayPutOff) {
  std::unique_lock<std::mutex> lock(m_mutex);
  if (mayPutOff) {
    // The room that frees up goes to a worker already waiting for it.
    if (m_blocked > 0 || !fits(bytes)) return false;
  } else {
    ++m_blocked;
    m_changed.wait(lock, [&] { return m_stop || fits(bytes); });
    --m_blocked;
    if (m_stop) return false;
  }
  ++m_decoding;
  m_decodingBytes += bytes;
  return true;
}

void ThumbnailPipeline::release(int64_t bytes) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    --m_decoding;
    m_decodingBytes -= bytes;
  }
  m_changed.notify_all();
}

unsigned ThumbnailPipeline::UsableCores() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) == 0) {
    const int n = CPU_COUNT(&set);
    if (n > 0) return static_cast<unsigned>(n);
  }
  const unsigned n = std::thread::hardware_concurrency();
  return n > 0 ? n : 1;
}

ThumbnailPipeline::ThumbnailPipeline(TaskSource source, size_t expected, unsigned workers)
    : m_source(std::move(source)) {
  if (workers == 0) workers = std::min(UsableCores(), 8u);
  workers = std::max(1u, std::min<unsigned>(workers, static_cast<unsigned>(std::max<size_t>(1, expected))));
  m_window = 8 * static_cast<size_t>(workers);
  m_results.resize(m_window);
  fill();
  for (unsigned w = 0; w < workers; ++w) m_workers.emplace_back([this] { work(); });
}

ThumbnailPipeline::ThumbnailPipeline(std::vector<ThumbnailTask> tasks, unsigned workers)
    : ThumbnailPipeline(
          // A copy: the count below is read from `tasks` in any order.
          [tasks, next = size_t{0}]() mutable -> std::optional<ThumbnailTask> {
            if (next == tasks.size()) return std::nullopt;
            return std::move(tasks[next++]);
          },
          tasks.size(), workers) {}

void ThumbnailPipeline::fill() {
  // A task that reads an earlier task's thumbnail (the thumbnail folder is
  // the album folder and a prefixed name is a picture of its own), or tests
  // for it (the same picture listed twice, with existing thumbnails kept),
  // waits until the run has written that file.
  while (!m_exhausted && m_added < m_taken + m_window + 1) {
    std::optional<ThumbnailTask> task = m_source();
    Entry e;
    if (task) {
      e.waitFor = m_writers.add(FileKey(task->picturePath, m_folders), FileKey(task->thumbnailPath, m_folders),
                                task->skipExisting);
      e.task = std::move(*task);
    }
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      if (task) {
        m_tasks.push_back(std::move(e));
        ++m_added;
      } else {
        m_exhausted = true;
      }
    }
    m_changed.notify_all();
  }
}

ThumbnailPipeline::~ThumbnailPipeline() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stop = true;
  }
  m_changed.notify_all();
  for (auto& t : m_workers) t.join();
}

ThumbnailResult ThumbnailPipeline::take(const std::function<void()>& whileWaiting, std::chrono::milliseconds every) {
  fill();
  std::unique_lock<std::mutex> lock(m_mutex);
  const size_t i = m_taken;
  std::optional<ThumbnailResult>& slot = m_results[i % m_window];
  if (whileWaiting) {
    while (!m_changed.wait_for(lock, every, [&] { return slot.has_value(); })) {
      lock.unlock();
      whileWaiting();
      lock.lock();
    }
  }
  m_changed.wait(lock, [&] { return slot.has_value(); });
  ThumbnailResult r = std::move(*slot);
  slot.reset();
  ++m_taken;
  // Its worker is done with it: only the result was still wanted.
  while (m_base < m_taken && !m_tasks.empty()) {
    m_tasks.pop_front();
    ++m_base;
  }
  lock.unlock();
  m_changed.notify_all();
  return r;
}

void ThumbnailPipeline::finished() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_finished = m_taken;
  }
  m_changed.notify_all();
}

void ThumbnailPipeline::work() {
  std::unique_lock<std::mutex> lock(m_mutex);
  for (;;) {
    const auto fresh = [&] { return m_next < m_added && m_next < m_taken + m_window; };
    const auto allClaimed = [&] { return m_exhausted && m_next >= m_added; };
    m_changed.wait(lock, [&] { return m_stop || fresh() || !m_putOff.empty() || allClaimed(); });
    if (m_stop) return;
    // An earlier picture that was put off goes first once it fits; while it
    // does not, later pictures are made; with none left in the window, the
    // worker waits for room for it.
    size_t i;
    bool mayPutOff = false;
    if (!m_putOff.empty() && fits(m_putOff.begin()->second)) {
      i = m_putOff.begin()->first;
      m_putOff.erase(m_putOff.begin());
    } else if (fresh()) {
      i = m_next++;
      mayPutOff = true;
    } else if (!m_putOff.empty()) {
      i = m_putOff.begin()->first;
      m_putOff.erase(m_putOff.begin());
    } else {
      return;  // every task is claimed
    }
    const Entry& entry = m_tasks[i - m_base];
    const long long dependency = entry.waitFor;
    m_changed.wait(lock, [&] { return m_stop || dependency < static_cast<long long>(m_finished); });
    if (m_stop) return;
    lock.unlock();

    const ThumbnailTask& task = entry.task;
    ThumbnailResult r;
    ThumbnailJob job = task.job;
    // Only a file counts as an existing thumbnail: a folder of that name would
    // leave the page's picture pointing at a folder.
    job.keepExisting = task.skipExisting && FileExists(task.thumbnailPath);
    bool putOff = false;
    int64_t need = 0;
    // Nothing may escape a worker: a failure becomes the picture's result.
    try {
      {
        Gate gate(*this, mayPutOff);
        const Status read = MakeThumbnailStreaming(task.picturePath, job, r.made, &gate);
        r.readOk = read.ok();
        r.readError = read.reason();
        putOff = gate.putOff();
        need = gate.bytes();
      }
      if (!putOff && r.readOk && r.made.path != ThumbnailPath::Kept && task.quality) {
        const Status encoded = EncodeJpeg(r.made.thumbnail, *task.quality, r.bytes);
        r.encoded = encoded.ok();
        r.encodeError = encoded.reason();
      }
    } catch (const std::exception& e) {
      putOff = false;
      r = ThumbnailResult{};
      r.readError = task.picturePath + ": " + e.what();
    }

    lock.lock();
    if (putOff) {
      if (m_stop) return;
      m_putOff.emplace(i, need);
    } else {
      m_results[i % m_window] = std::move(r);
    }
    m_changed.notify_all();
  }
}

}  // namespace pictavo
