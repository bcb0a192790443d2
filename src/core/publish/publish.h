#pragma once
// Publishing a site: a copy of an album folder or a table-of-contents folder
// with its albums, made for uploading. The pages this program wrote, their
// thumbnails and background copies and whatever else they link to are
// copied byte for byte; each picture a page links to is reduced to fit
// max x max when larger (upright, metadata kept, location removed), else
// copied with only its location removed. Nothing else of the site goes.
//
// The destination keeps a manifest (`manifest.h`): a rerun redoes only what
// changed, removes only files an earlier publish wrote, and never touches a
// file it did not write. Every file is replaced atomically, so a stop or a
// kill at any moment leaves each file old or new, and the next run completes
// the work. Reading the site never leaves it: links that lead outside are
// not followed. At the end the site check runs over the destination.

#include <cstddef>
#include <string>
#include <vector>

#include "check/site_check.h"

namespace pictavo {

struct PublishOptions {
  int maxSize = 2048;  // 16..65500
  int quality = 85;    // 1..100
  bool keepLocation = false;
  bool dryRun = false;     // says what it would do; writes nothing
  unsigned workers = 0;    // pictures made side by side; 0: one per processor
};

class PublishHost {
 public:
  virtual ~PublishHost() = default;
  // Asked on the calling thread a few times a second (and between files);
  // true stops the publish after the files in progress.
  virtual bool stopRequested() = 0;
  // Files done of total, with the last one done.
  virtual void progress(size_t done, size_t total, const std::string& path) {
    (void)done, (void)total, (void)path;
  }
  // One line of what is done, or with dryRun would be done.
  virtual void report(const std::string& line) { (void)line; }
};

enum class PublishOutcome {
  Done,         // everything written, the check found no problem
  CheckFailed,  // written, but the check found problems in the destination
  Failed,       // some files could not be published (`failures`), or nothing could be started (`refusal`)
  Stopped,      // stopped on request; the destination is consistent, a rerun completes it
};

// Why a publish did not start, or stopped before its first file; each front
// end words it, with `refusalDetail` where the comment names one.
enum class PublishRefusal {
  None,
  BadMaxSize,             // outside 16..65500
  BadQuality,             // outside 1..100
  NoSite,                 // detail: the site as given
  DestinationNotAFolder,  // detail: the destination
  Nested,                 // the destination and the site lie inside each other
  SiteUnreadable,         // detail: the system's reason
  NoPages,                // detail: the site as given
  DestinationNotCreated,  // detail: the system's reason
  DestinationNotWritten,  // detail: the system's reason
};

struct PublishSummary {
  PublishOutcome outcome = PublishOutcome::Done;
  PublishRefusal refusal = PublishRefusal::None;  // for a Failed publish that could not start
  std::string refusalDetail;
  size_t files = 0;      // files of the published site
  size_t reduced = 0;    // pictures made smaller
  size_t copied = 0;     // files copied (pages, thumbnails, pictures that fit)
  size_t unchanged = 0;  // up to date from an earlier publish
  size_t removed = 0;    // written by an earlier publish, no longer in the site
  std::vector<std::string> failures;   // "path: reason"
  std::vector<std::string> leftAlone;  // files publish did not write, which it would have replaced or removed
  SiteCheckResult check;               // over the destination (not for a dry run or a stop)
};

PublishSummary Publish(const std::string& site, const std::string& destination, const PublishOptions& options,
                       PublishHost& host);

}  // namespace pictavo
