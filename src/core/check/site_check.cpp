#include "check/site_check.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "check/page_reader.h"
#include "image/jpeg_probe.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "text/chars.h"
#include "text/encoding.h"
#include "platform/textfile.h"
#include "toc/discovery.h"

namespace pictavo {

const char* FindingKindName(FindingKind kind) {
  switch (kind) {
    case FindingKind::Unreadable: return "unreadable-page";
    case FindingKind::MissingFile: return "missing-file";
    case FindingKind::MissingPicture: return "missing-picture";
    case FindingKind::MissingThumbnail: return "missing-thumbnail";
    case FindingKind::BadThumbnail: return "bad-thumbnail";
    case FindingKind::StaleThumbnail: return "stale-thumbnail";
    case FindingKind::ThumbnailSize: return "thumbnail-size";
    case FindingKind::BadPicture: return "bad-picture";
    case FindingKind::SlideSize: return "slide-size";
    case FindingKind::MissingAlbum: return "missing-album";
    case FindingKind::NotAlbum: return "not-album";
    case FindingKind::TocTitle: return "toc-title";
    case FindingKind::TocCount: return "toc-count";
    case FindingKind::TocDate: return "toc-date";
    case FindingKind::Outside: return "outside";
    case FindingKind::UnshownPicture: return "unshown-picture";
  }
  return "unknown";
}

size_t SiteCheckResult::problems() const {
  return static_cast<size_t>(std::count_if(findings.begin(), findings.end(),
                                           [](const Finding& f) { return f.severity == Severity::Problem; }));
}
size_t SiteCheckResult::notes() const { return findings.size() - problems(); }

namespace {

std::string Join(const std::string& dir, const std::string& name) { return dir.empty() ? name : dir + "/" + name; }

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

std::string Size(long long w, long long h) { return std::to_string(w) + " x " + std::to_string(h); }

bool Older(const timespec& a, const timespec& b) {
  return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// What a path inside the checked folder is, looked at without leaving it.
struct Facts {
  enum State { Missing, Outside, File, Folder, Other } state = Missing;
  timespec mtime{};
  off_t size = 0;
};

// Where an address on a page leads.
struct Target {
  enum State { Skip, Absolute, Outside, Missing, Found } state = Skip;
  std::string rel;  // relative to the checked folder
  Facts facts;
};

struct Picture {
  bool ok = false;
  std::string error;
  int width = 0, height = 0;  // upright, as the album run measures it
};

// The files and sub-folders of a folder, not hidden, in list order. The
// entry's type comes from the listing itself where the file system gives it,
// so a folder of thousands of pictures costs no call per picture.
struct FolderEntries {
  bool ok = false;
  std::string error;
  std::vector<std::string> files, folders;
};

// A page file read a piece at a time, twice at most.
class FileSource : public PageSource {
 public:
  explicit FileSource(const std::string& path) : m_path(path) {
    // Not waiting on a pipe that took a page's name; only a regular file is read.
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st {};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0) {
      m_error = SystemErrorText(path, errno);
    } else if (!S_ISREG(st.st_mode)) {
      m_error = SystemErrorText(path, EINVAL);
    }
  }
  ~FileSource() override {
    if (m_fd >= 0) ::close(m_fd);
  }
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  const std::string& error() const { return m_error; }

  size_t read(char* buffer, size_t size) override {
    if (!m_error.empty()) return 0;
    while (true) {
      const ssize_t n = ::read(m_fd, buffer, size);
      if (n >= 0) return static_cast<size_t>(n);
      if (errno == EINTR) continue;
      m_error = SystemErrorText(m_path, errno);
      return 0;
    }
  }
  bool rewind() override { return m_error.empty() && ::lseek(m_fd, 0, SEEK_SET) == 0; }

 private:
  std::string m_path;
  int m_fd = -1;
  std::string m_error;
};

// A cache that may be dropped and refilled: cleared when it grows past n.
template <typename Map>
void KeepBelow(Map& map, size_t n) {
  if (map.size() >= n) map.clear();
}

FolderEntries ListFolderEntries(const std::string& folder) {
  FolderEntries out;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) {
    out.error = SystemErrorText(folder, errno);
    return out;
  }
  out.ok = true;
  const std::string base = FolderBase(folder);
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name.empty() || name[0] == '.' || !IsValidUtf8(name)) continue;
    unsigned char type = e->d_type;
    if (type == DT_LNK || type == DT_UNKNOWN) {
      struct stat st {};
      if (::stat((base + name).c_str(), &st) != 0) continue;
      type = S_ISREG(st.st_mode) ? DT_REG : S_ISDIR(st.st_mode) ? DT_DIR : DT_UNKNOWN;
    }
    if (type == DT_REG) out.files.push_back(name);
    if (type == DT_DIR) out.folders.push_back(name);
  }
  ::closedir(dir);
  std::sort(out.files.begin(), out.files.end(), CaseInsensitiveLess);
  std::sort(out.folders.begin(), out.folders.end(), CaseInsensitiveLess);
  return out;
}

class Checker : private PageVisitor {
 public:
  Checker(std::string root, CheckOptions options) : m_root(std::move(root)), m_options(options) {}

  SiteCheckResult run() {
    char* real = ::realpath(m_root.c_str(), nullptr);
    if (!real) {
      m_result.ok = false;
      m_result.error = SystemErrorText(m_root, errno);
      return std::move(m_result);
    }
    m_realRoot = real;
    std::free(real);
    m_visited.insert(m_realRoot);

    std::vector<std::string> folders{""};
    for (size_t i = 0; i < folders.size(); ++i) {
      const std::string dir = folders[i];
      FolderEntries entries = ListFolderEntries(abs(dir));
      if (!entries.ok) {
        if (i == 0) {
          m_result.ok = false;
          m_result.error = entries.error;
          return std::move(m_result);
        }
        add(dir, 0, Severity::Problem, FindingKind::Unreadable, "folder cannot be listed: " + entries.error);
        flushPage();
        continue;
      }
      bool album = false;
      for (const auto& name : entries.files) {
        const std::string ext = LowerAscii(Extension(name));
        if (ext == ".htm" || ext == ".html") album = checkPageFile(dir, Join(dir, name)) || album;
      }
      if (m_options.recursive) {
        std::vector<std::string> found;
        for (const auto& name : entries.folders) {
          const std::string rel = Join(dir, name);
          char* r = ::realpath(abs(rel).c_str(), nullptr);
          if (!r) continue;
          const std::string realSub = r;
          std::free(r);
          // A linked folder that leads out, or back to a folder already seen, is not walked.
          if (!inside(realSub) || !m_visited.insert(realSub).second) continue;
          found.push_back(rel);
        }
        folders.insert(folders.begin() + static_cast<long>(i) + 1, found.begin(), found.end());
      }
      if (album) m_albumFolders.emplace_back(dir, std::move(entries.files));
    }
    unshownPictures();
    for (auto& [rel, file] : m_files) m_result.files.push_back(std::move(file));
    return std::move(m_result);
  }

 private:
  std::string abs(const std::string& rel) const { return rel.empty() ? m_root : FolderBase(m_root) + rel; }

  bool inside(const std::string& real) const {
    return real == m_realRoot || real.rfind(FolderBase(m_realRoot), 0) == 0;
  }

  // A folder inside the checked one: exists, and its real place is inside.
  std::optional<bool> folderInside(const std::string& relDir) {
    if (auto it = m_folders.find(relDir); it != m_folders.end()) return it->second;
    KeepBelow(m_folders, kCacheEntries);
    std::optional<bool> state;
    if (char* r = ::realpath(abs(relDir).c_str(), nullptr)) {
      state = inside(r);
      std::free(r);
    }
    m_folders.emplace(relDir, state);
    return state;
  }

  Facts look(const std::string& rel) {
    if (auto it = m_facts.find(rel); it != m_facts.end()) return it->second;
    KeepBelow(m_facts, kCacheEntries);
    Facts f;
    const size_t slash = rel.rfind('/');
    const std::optional<bool> dirState = folderInside(slash == std::string::npos ? "" : rel.substr(0, slash));
    if (!dirState) {
      f.state = Facts::Missing;
    } else if (!*dirState) {
      f.state = Facts::Outside;
    } else {
      const std::string path = abs(rel);
      struct stat st {};
      if (::lstat(path.c_str(), &st) != 0) {
        f.state = Facts::Missing;
      } else {
        bool ok = true;
        if (S_ISLNK(st.st_mode)) {
          char* r = ::realpath(path.c_str(), nullptr);
          if (!r) {
            ok = false;
            f.state = Facts::Missing;
          } else {
            const bool in = inside(r);
            std::free(r);
            if (!in) {
              ok = false;
              f.state = Facts::Outside;
            } else if (::stat(path.c_str(), &st) != 0) {
              ok = false;
              f.state = Facts::Missing;
            }
          }
        }
        if (ok) {
          f.state = S_ISREG(st.st_mode) ? Facts::File : S_ISDIR(st.st_mode) ? Facts::Folder : Facts::Other;
          f.mtime = st.st_mtim;
          f.size = st.st_size;
        }
      }
    }
    m_facts.emplace(rel, f);
    return f;
  }

  Target resolve(const std::string& relDir, const std::string& value) {
    Target t;
    const Address a = ParseAddress(value);
    switch (a.kind) {
      case AddressKind::Empty:
      case AddressKind::Fragment:
      case AddressKind::External: return t;
      case AddressKind::Absolute: t.state = Target::Absolute; return t;
      case AddressKind::Invalid: t.state = Target::Missing; return t;
      case AddressKind::Relative: break;
    }
    std::vector<std::string> parts;
    if (!relDir.empty()) {
      size_t start = 0;
      while (true) {
        const size_t slash = std::min(relDir.find('/', start), relDir.size());
        parts.push_back(relDir.substr(start, slash - start));
        if (slash >= relDir.size()) break;
        start = slash + 1;
      }
    }
    for (const auto& segment : a.segments) {
      if (segment.empty() || segment == ".") continue;
      if (segment == "..") {
        if (parts.empty()) {
          t.state = Target::Outside;
          return t;
        }
        parts.pop_back();
        continue;
      }
      parts.push_back(segment);
    }
    for (const auto& p : parts) t.rel = Join(t.rel, p);
    t.facts = t.rel.empty() ? Facts{Facts::Folder, {}, 0} : look(t.rel);
    t.state = t.facts.state == Facts::Missing   ? Target::Missing
              : t.facts.state == Facts::Outside ? Target::Outside
                                                : Target::Found;
    return t;
  }

  // Reports what an address that did not lead to a file of the site is;
  // true when it did.
  bool found(const std::string& page, long line, const std::string& value, const Target& t, FindingKind missing,
             const std::string& what) {
    switch (t.state) {
      case Target::Found:
        // Only pictures can be found unshown later.
        if (LowerAscii(Extension(t.rel)) == ".jpg") m_shown.insert(t.rel);
        if (t.facts.state == Facts::File) {
          listFile(t.rel, missing == FindingKind::MissingPicture ? SiteFileRole::Picture : SiteFileRole::Linked);
        }
        return true;
      case Target::Skip: return false;
      case Target::Absolute:
        add(page, line, Severity::Note, FindingKind::Outside, "not checked: " + Quoted(value) + " is an absolute address",
            value);
        return false;
      case Target::Outside:
        add(page, line, Severity::Note, FindingKind::Outside,
            "not checked: " + Quoted(value) + " leads outside the checked folder", value);
        return false;
      case Target::Missing:
        add(page, line, Severity::Problem, missing, what + " missing: " + Quoted(value), t.rel.empty() ? value : t.rel);
        return false;
    }
    return false;
  }

  // A page outranks a picture, a picture anything else it is linked as.
  SiteFile& listFile(const std::string& rel, SiteFileRole role) {
    SiteFile& f = m_files[rel];
    if (f.path.empty()) {
      f.path = rel;
      f.role = role;
    } else if (role == SiteFileRole::Page || (role == SiteFileRole::Picture && f.role == SiteFileRole::Linked)) {
      f.role = role;
    }
    return f;
  }

  const Picture& picture(const std::string& rel) {
    if (auto it = m_pictures.find(rel); it != m_pictures.end()) return it->second;
    KeepBelow(m_pictures, kCacheEntries);
    const JpegProbe probe = ProbeJpegFile(abs(rel));
    Picture p;
    p.ok = probe.ok;
    p.error = probe.error;
    const bool turned = probe.orientation >= 5 && probe.orientation <= 8;
    p.width = turned ? probe.height : probe.width;
    p.height = turned ? probe.width : probe.height;
    return m_pictures.emplace(rel, p).first->second;
  }

  const AlbumHead& head(const std::string& rel) {
    if (auto it = m_heads.find(rel); it != m_heads.end()) return it->second;
    KeepBelow(m_heads, kCacheEntries / 16);
    AlbumHead h;
    // A page that cannot be read keeps the empty head: not recognised.
    if (!ReadAlbumHead(abs(rel), h).ok()) h = AlbumHead{};
    return m_heads.emplace(rel, std::move(h)).first->second;
  }

  // Findings of one page wait here to be put in line order. Within a line
  // they keep the order of the page's parts (troubles, cells, entries,
  // slides, other addresses), whatever order the reading met them in.
  struct PendingFinding {
    Finding finding;
    int rank = 0;
    size_t seq = 0;
    std::vector<std::pair<int, long>> met;  // (rank, line) of each time a keyed finding was met
  };
  static constexpr int kRankCell = 10, kRankEntry = 11, kRankSlide = 12, kRankAddress = 13;
  static constexpr size_t kCacheEntries = 100000;
  // What one page's findings may hold, so that a page made of findings
  // cannot take the memory a check may use.
  static constexpr size_t kPageFindingBytes = 16 * 1024 * 1024;

  void add(const std::string& page, long line, Severity severity, FindingKind kind, std::string text,
           const std::string& key = {}) {
    if (m_pageFull) return;
    // The same target of the same kind on one page is one finding, with the
    // further lines it appears on; the first in the page's order tells it.
    if (!key.empty()) {
      const auto id = std::make_tuple(page, static_cast<int>(kind), key);
      if (auto it = m_seen.find(id); it != m_seen.end()) {
        PendingFinding& p = m_pageFindings[it->second];
        p.met.emplace_back(m_rank, line);
        if (std::make_pair(m_rank, line) < std::make_pair(p.rank, p.finding.line)) {
          p.finding.line = line;
          p.finding.text = std::move(text);
          p.rank = m_rank;
          p.seq = m_seq++;
        }
        spend(sizeof(std::pair<int, long>));
        return;
      }
      m_seen.emplace(id, m_pageFindings.size());
    }
    spend(sizeof(PendingFinding) + 96 + text.size() + page.size() + 2 * key.size());
    PendingFinding p{{severity, kind, page, line, std::move(text), {}}, m_rank, m_seq++, {}};
    if (!key.empty()) p.met.emplace_back(m_rank, line);
    m_pageFindings.push_back(std::move(p));
  }

  void spend(size_t bytes) {
    m_pageBytes += bytes;
    if (m_pageBytes <= kPageFindingBytes || m_pageFindings.empty()) return;
    const std::string page = m_pageFindings.front().finding.page;
    m_pageFindings.push_back({{Severity::Problem, FindingKind::Unreadable, page, 0,
                               "too many findings on this page to keep; the rest are not reported", {}},
                              -1, m_seq++, {}});
    m_pageFull = true;
  }

  void flushPage() {
    for (auto& p : m_pageFindings) {
      if (p.met.size() < 2) continue;
      std::stable_sort(p.met.begin(), p.met.end());
      for (size_t k = 1; k < p.met.size(); ++k) {
        if (p.met[k].second != p.finding.line) p.finding.alsoLines.push_back(p.met[k].second);
      }
    }
    std::sort(m_pageFindings.begin(), m_pageFindings.end(), [](const PendingFinding& a, const PendingFinding& b) {
      return std::tie(a.finding.line, a.rank, a.seq) < std::tie(b.finding.line, b.rank, b.seq);
    });
    for (auto& p : m_pageFindings) m_result.findings.push_back(std::move(p.finding));
    m_pageFindings.clear();
    m_seen.clear();
    m_pageBytes = 0;
    m_pageFull = false;
    m_rank = 0;
  }

  // True for a catalogue page: its folder is an album folder.
  bool checkPageFile(const std::string& dir, const std::string& rel) {
    const Facts f = look(rel);
    if (f.state == Facts::Outside) {
      add(rel, 0, Severity::Note, FindingKind::Outside, "not checked: the page leads outside the checked folder");
      flushPage();
      return false;
    }
    if (f.state != Facts::File) return false;
    if (static_cast<size_t>(f.size) > kCheckPageReadLimit) {
      // Only a page of ours is worth the message; its head tells.
      if (head(rel).recognised) {
        add(rel, 0, Severity::Problem, FindingKind::Unreadable, "page too large to check (over 64 MB)");
        ++m_result.pages;
        flushPage();
      }
      return false;
    }
    FileSource source(abs(rel));
    if (!source.error().empty()) {
      add(rel, 0, Severity::Problem, FindingKind::Unreadable, "page cannot be read: " + source.error());
      flushPage();
      return false;
    }
    m_dir = dir;
    m_rel = rel;
    const PageKind kind = ReadPage(source, *this);
    if (kind != PageKind::NotOurs) {
      ++m_result.pages;
      listFile(rel, SiteFileRole::Page);
    }
    if (!source.error().empty()) {
      m_rank = 0;
      add(rel, 0, Severity::Problem, FindingKind::Unreadable, "page cannot be read: " + source.error());
    }
    flushPage();
    return kind == PageKind::Album && source.error().empty();
  }

  // The page's parts as the reading meets them.
  bool begin(PageKind kind) override {
    m_kind = kind;
    return true;
  }
  bool trouble(const PageTrouble& t, int order) override {
    m_rank = order;
    add(m_rel, t.line, Severity::Problem, FindingKind::Unreadable, t.text, "line " + std::to_string(t.line) + t.text);
    return !m_pageFull;
  }
  bool cell(const PictureCell& cell) override {
    m_rank = kRankCell;
    if (m_kind == PageKind::Album) {
      const Target pic = resolve(m_dir, cell.href);
      const bool havePicture = found(m_rel, cell.line, cell.href, pic, FindingKind::MissingPicture, "picture");
      if (havePicture && pic.facts.state == Facts::File && cell.width && cell.height) {
        listFile(pic.rel, SiteFileRole::Picture).shown.push_back({*cell.width, *cell.height, false});
      }
      checkThumbnail(m_dir, m_rel, cell, havePicture ? &pic : nullptr, false);
    } else {
      checkAlbumLink(m_dir, m_rel, cell.line, cell.href, nullptr);
      checkThumbnail(m_dir, m_rel, cell, nullptr, m_kind == PageKind::TocList);
    }
    return !m_pageFull;
  }
  bool tocEntry(const TocEntry& entry) override {
    m_rank = kRankEntry;
    checkAlbumLink(m_dir, m_rel, entry.line, entry.href, &entry);
    return !m_pageFull;
  }
  bool slide(const SlideEntry& slide) override {
    m_rank = kRankSlide;
    checkSlide(m_dir, m_rel, slide);
    return !m_pageFull;
  }
  bool address(const PageAddress& a) override {
    if (a.inCell) return true;
    m_rank = kRankAddress;
    const Target t = resolve(m_dir, a.value);
    found(m_rel, a.line, a.value, t, FindingKind::MissingFile, "link target");
    return !m_pageFull;
  }
  void end(long) override {}

  void checkThumbnail(const std::string& dir, const std::string& rel, const PictureCell& cell, const Target* pic,
                      bool eightyWide) {
    const Target thumb = resolve(dir, cell.src);
    if (!found(rel, cell.line, cell.src, thumb, FindingKind::MissingThumbnail, "thumbnail")) return;
    const Picture& p = picture(thumb.rel);
    if (!p.ok) {
      add(rel, cell.line, Severity::Problem, FindingKind::BadThumbnail,
          "thumbnail is not a readable JPEG: " + Quoted(cell.src) + " (" + p.error + ")", thumb.rel);
      return;
    }
    if (cell.width && cell.height) {
      long long w = p.width, h = p.height;
      if (eightyWide) {
        // The frame list shows every thumbnail 80 pixels wide.
        h = RoundHalfEven(static_cast<long double>(p.height) * 80 / p.width);
        w = 80;
      }
      if (*cell.width != w || *cell.height != h) {
        add(rel, cell.line, Severity::Problem, FindingKind::ThumbnailSize,
            "thumbnail " + Quoted(cell.src) + " is " + Size(p.width, p.height) + ", the page gives it " +
                Size(*cell.width, *cell.height),
            thumb.rel);
      }
    }
    if (!pic || pic->facts.state != Facts::File) return;
    if (Older(thumb.facts.mtime, pic->facts.mtime)) {
      add(rel, cell.line, Severity::Problem, FindingKind::StaleThumbnail,
          "thumbnail " + Quoted(cell.src) + " is older than its picture " + Quoted(cell.href), thumb.rel);
      return;
    }
    // A picture turned by the rotation keeps its time but not its proportions.
    const Picture& full = picture(pic->rel);
    if (full.ok && cell.width && cell.height && !CellFitsPicture(full.width, full.height, *cell.width, *cell.height)) {
      add(rel, cell.line, Severity::Problem, FindingKind::StaleThumbnail,
          "thumbnail " + Quoted(cell.src) + " no longer shows its picture " + Quoted(cell.href) + ", now " +
              Size(full.width, full.height),
          thumb.rel);
    }
  }

  void checkAlbumLink(const std::string& dir, const std::string& rel, long line, const std::string& href,
                      const TocEntry* entry) {
    const Target t = resolve(dir, href);
    if (!found(rel, line, href, t, FindingKind::MissingAlbum, "album page")) return;
    const AlbumHead& h = head(t.rel);
    if (t.facts.state != Facts::File || !h.recognised) {
      add(rel, line, Severity::Problem, FindingKind::NotAlbum,
          "not an album page of this program: " + Quoted(href), t.rel);
      return;
    }
    if (!entry) return;
    if (entry->title != h.fields.title) {
      add(rel, line, Severity::Problem, FindingKind::TocTitle,
          "title " + Quoted(entry->title) + " differs from the album's " + Quoted(h.fields.title), t.rel);
    }
    if (entry->count && *entry->count != h.fields.fileCount) {
      add(rel, entry->countLine, Severity::Problem, FindingKind::TocCount,
          "picture count " + Quoted(*entry->count) + " differs from the album's " + Quoted(h.fields.fileCount), t.rel);
    }
    if (entry->date && *entry->date != h.fields.createdDate) {
      add(rel, entry->dateLine, Severity::Problem, FindingKind::TocDate,
          "date " + Quoted(*entry->date) + " differs from the album's " + Quoted(h.fields.createdDate), t.rel);
    }
  }

  void checkSlide(const std::string& dir, const std::string& rel, const SlideEntry& slide) {
    // The script shows the picture at "./" + name beside the page.
    const Target t = resolve(dir, "./" + slide.name);
    if (!found(rel, slide.line, slide.name, t, FindingKind::MissingPicture, "slide-show picture")) return;
    if (slide.width && slide.height && t.facts.state == Facts::File) {
      SiteFile& f = listFile(t.rel, SiteFileRole::Picture);
      f.shownWidth = std::max(f.shownWidth, *slide.width);
      f.shownHeight = std::max(f.shownHeight, *slide.height);
      f.shown.push_back({*slide.width, *slide.height, true});
    }
    const Picture& p = picture(t.rel);
    if (!p.ok) {
      add(rel, slide.line, Severity::Problem, FindingKind::BadPicture,
          "slide-show picture is not a readable JPEG: " + Quoted(slide.name) + " (" + p.error + ")", t.rel);
      return;
    }
    if (!slide.width || !slide.height) return;
    const long long x = *slide.width, y = *slide.height;
    if (!SlideFitsPicture(p.width, p.height, x, y)) {
      add(rel, slide.line, Severity::Problem, FindingKind::SlideSize,
          "slide-show size " + Size(x, y) + " does not fit the picture " + Quoted(slide.name) + " of " +
              Size(p.width, p.height),
          t.rel);
    }
  }

  void unshownPictures() {
    for (const auto& [dir, files] : m_albumFolders) {
      for (const auto& name : files) {
        // back.jpg is the background picture, which the album run never lists.
        if (LowerAscii(Extension(name)) != ".jpg" || name == "back.jpg") continue;
        const std::string rel = Join(dir, name);
        if (m_shown.count(rel)) continue;
        add(rel, 0, Severity::Note, FindingKind::UnshownPicture, "picture not shown on any page");
        flushPage();
      }
    }
  }

  std::string m_root;
  CheckOptions m_options;
  std::string m_realRoot;
  SiteCheckResult m_result;
  std::set<std::string> m_visited;
  std::unordered_map<std::string, std::optional<bool>> m_folders;
  std::unordered_map<std::string, Facts> m_facts;
  std::unordered_map<std::string, Picture> m_pictures;
  std::unordered_map<std::string, AlbumHead> m_heads;
  std::unordered_set<std::string> m_shown;
  std::map<std::string, SiteFile> m_files;
  std::vector<std::pair<std::string, std::vector<std::string>>> m_albumFolders;  // with their files
  std::vector<PendingFinding> m_pageFindings;
  std::map<std::tuple<std::string, int, std::string>, size_t> m_seen;
  size_t m_pageBytes = 0, m_seq = 0;
  bool m_pageFull = false;
  int m_rank = 0;  // of the page's part being checked
  std::string m_dir, m_rel;
  PageKind m_kind = PageKind::NotOurs;
};

}  // namespace

bool CellFitsPicture(long long w, long long h, long long W, long long H) {
  if (w <= 0 || h <= 0 || W <= 0 || H <= 0) return false;
  auto side = [](long long along, long long other, long long shown) {
    const long long v = RoundHalfEven(other / (static_cast<long double>(along) / shown));
    return v < 1 ? 1 : v;  // a sliver's short side is one pixel
  };
  return side(w, h, W) == H || side(h, w, H) == W;
}

bool SlideFitsPicture(long long w, long long h, long long x, long long y) {
  const bool full = x == w && y == h;
  const bool byHeight = y > 0 && y < h && x == RoundHalfEven(w / (static_cast<long double>(h) / y));
  const bool byWidth = x > 0 && x < w && y == RoundHalfEven(h / (static_cast<long double>(w) / x));
  return full || byHeight || byWidth;
}

SiteCheckResult CheckSite(const std::string& folder, const CheckOptions& options) {
  return Checker(AbsolutePath(folder), options).run();
}

}  // namespace pictavo
