#pragma once
// Thumbnails made ahead of the album run on worker threads, one per core:
// decoding, reducing and encoding run while the run writes its page. The
// workers only compute; the run takes the results strictly in list order
// and does everything the user sees itself (status texts, messages, writing
// the thumbnail files, the preview), so the run behaves as if it made each
// thumbnail at its turn. Work never runs more than a few pictures ahead, and
// the tasks themselves are taken from the caller only as far ahead as that,
// so the first picture starts at once however long the list, and a picture
// after an abort or a failure never reaches a file. Decoders that would together take
// more than a memory budget (progressive files hold all their coefficients)
// run one after another; a worker puts off a picture that does not fit yet
// and makes later ones meanwhile, so the other core is not left idle.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "album/thumbnail_stream.h"

namespace pictavo {

struct ThumbnailTask {
  std::string picturePath;
  std::string thumbnailPath;
  ThumbnailJob job;           // keepExisting is decided by the worker
  bool skipExisting = false;  // keep a thumbnail that exists at its turn
  std::optional<int> quality; // none: the run reports the bad setting itself
};

struct ThumbnailResult {
  bool readOk = false;
  std::string readError;
  StreamedThumbnail made;
  bool encoded = false;       // bytes hold the thumbnail file
  std::string bytes;
  std::string encodeError;
};

// Memory the decoders of the workers may take together; a single picture
// that needs more decodes alone.
inline constexpr int64_t kDecodeBudget = 60LL * 1024 * 1024;

// Which earlier task each task must wait for: the latest one that writes the
// file it reads or, when it keeps an existing thumbnail, the file it tests.
// Files are known by key (their identity); each task costs a few look-ups
// in an ordered index of the files written so far, never a pass over the
// earlier tasks. `comparisons`, when given, counts the key comparisons.
class WriterIndex {
 public:
  explicit WriterIndex(size_t* comparisons = nullptr);
  // The next task in order; returns the index of the task it waits for, or -1.
  long long add(const std::string& reads, const std::string& writes, bool testsOwn);

 private:
  struct Less {
    size_t* comparisons;
    bool operator()(const std::string& a, const std::string& b) const {
      if (comparisons) ++*comparisons;
      return a < b;
    }
  };
  std::map<std::string, long long, Less> m_lastWriter;
  long long m_count = 0;
};

class ThumbnailPipeline {
 public:
  // The next task in list order, or none when every task has been given.
  using TaskSource = std::function<std::optional<ThumbnailTask>()>;
  // expected: how many tasks the source will give (for the number of
  // workers). The source is called on the caller's thread only, from the
  // constructor and from take(). workers 0: one per core this process may use.
  ThumbnailPipeline(TaskSource source, size_t expected, unsigned workers = 0);
  explicit ThumbnailPipeline(std::vector<ThumbnailTask> tasks, unsigned workers = 0);
  ~ThumbnailPipeline();
  ThumbnailPipeline(const ThumbnailPipeline&) = delete;
  ThumbnailPipeline& operator=(const ThumbnailPipeline&) = delete;

  // The result of the next task in order; waits for it. While it waits,
  // whileWaiting runs every `every` (without the pipeline's lock), so the
  // caller's window can handle its events during a slow picture.
  ThumbnailResult take(const std::function<void()>& whileWaiting = {},
                       std::chrono::milliseconds every = std::chrono::milliseconds(20));
  // The run has written (or kept) the thumbnail of the task last taken; a
  // later task that reads or tests that file may start.
  void finished();

  static unsigned UsableCores();

 private:
  class Gate;
  struct Entry {
    ThumbnailTask task;
    long long waitFor = -1;  // the earlier task whose file it reads or tests, or -1
  };
  // Takes tasks from the source up to the window ahead of the run.
  void fill();
  void work();
  // Takes `bytes` from the budget; false (without waiting) when it does not
  // fit and mayPutOff.
  bool acquire(int64_t bytes, bool mayPutOff);
  bool fits(int64_t bytes) const;  // with m_mutex held
  void release(int64_t bytes);

  TaskSource m_source;
  WriterIndex m_writers;
  std::map<std::string, std::string> m_folders;  // folder as given: resolved
  std::vector<std::optional<ThumbnailResult>> m_results;  // task i in slot i % window
  size_t m_window = 1;

  std::mutex m_mutex;
  std::condition_variable m_changed;
  // Tasks given and not yet taken: task i is m_tasks[i - m_base]. A deque
  // keeps a worker's reference to its task valid while tasks are added.
  std::deque<Entry> m_tasks;
  size_t m_base = 0;
  size_t m_added = 0;
  bool m_exhausted = false;  // the source has given every task
  size_t m_next = 0;      // next task to claim
  size_t m_taken = 0;     // results taken by the run
  size_t m_finished = 0;  // thumbnails written or kept by the run
  bool m_stop = false;
  std::map<size_t, int64_t> m_putOff;  // claimed tasks waiting for room, with their need
  int m_blocked = 0;           // workers waiting for room without putting off
  int m_decoding = 0;          // decoders holding memory from the budget
  int64_t m_decodingBytes = 0;
  std::vector<std::thread> m_workers;
};

}  // namespace pictavo
