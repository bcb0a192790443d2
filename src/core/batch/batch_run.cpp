#include "batch/batch_run.h"

#include "settings/name_check.h"
#include "settings/openers.h"
#include "text/chars.h"
#include "toc/discovery.h"

namespace pictavo {

namespace {

// The name under which a folder keeps its background picture; never an album picture.
constexpr const char* kBackPicture = "back.jpg";

// The candidate folders, or an empty list after the listing's error. The
// run notes what it passes over; the count before it stays quiet.
bool Candidates(const std::string& tocFolder, CommandHost& host, std::vector<std::string>& names, bool notes) {
  std::vector<std::string> outside;
  const Listing listing = CandidateFolders(tocFolder, &outside);
  ReportPassedOverNames(host, tocFolder, listing.skipped.size());
  for (const auto& name : outside) {
    if (notes) host.note(msg::FolderLeadsOutsideNote(FolderBase(tocFolder) + name));
  }
  if (!listing.ok) {
    host.showMessage(Detail(listing.error));
    return false;
  }
  names = listing.names;
  return true;
}

}  // namespace

bool IsBatchTarget(const std::vector<PictureEntry>& pictures) {
  for (const auto& p : pictures) {
    if (p.selected && p.name != kBackPicture) return true;
  }
  return false;
}

std::string BatchProgressText(long long done, long long target) {
  return ZeroPad(done, 5) + "/" + ZeroPad(target, 5);
}

int CountBatchTargets(const TocOptions& toc, AlbumDriver& driver, CommandHost& host) {
  if (toc.tocTitle.empty()) {
    host.showMessage(msg::kNoTocTitle);
    return 0;
  }
  if (toc.useBackgroundPicture && toc.backgroundPicturePath.empty()) {
    host.showMessage(msg::kNoBackgroundPicture);
    return 0;
  }
  std::vector<std::string> names;
  if (!Candidates(toc.tocFolder, host, names, false)) return 0;
  if (names.empty()) {
    host.showMessage(msg::kNoFolders);
    return 0;
  }
  const std::string base = FolderBase(toc.tocFolder);
  int count = 0;
  for (const auto& name : names) {
    driver.moveToFolder(base + name);
    if (IsBatchTarget(driver.listPictures())) ++count;
  }
  if (count == 0) host.showMessage(msg::kNoTargetFolders);
  return count;
}

std::optional<Message> BadBatchSetting(const AlbumSettings& s) { return AlbumRunSettingsProblem(s); }

bool BatchReport::allWritten() const {
  for (const auto& album : albums) {
    if (album.second != RunOutcome::Completed) return false;
  }
  return outcome == BatchOutcome::Finished && tableOfContents == TocOutcome::Written;
}

BatchReport RunBatch(BatchJob& job, int targetCount) {
  BatchHost& host = job.host;
  BatchReport report;
  // A bad name or number would fail every album and the table of contents alike.
  std::optional<Message> bad = CheckSettingsNames(job.settings);
  if (!bad) bad = BadBatchSetting(job.settings);
  if (bad) {
    host.showMessage(*bad);
    report.outcome = BatchOutcome::Failed;
    return report;
  }
  host.beginBatch();
  host.showBatchProgress(BatchProgressText(0, targetCount));
  std::vector<std::string> names;
  if (!Candidates(job.toc.tocFolder, host, names, true)) {
    host.endBatch();
    report.outcome = BatchOutcome::Failed;
    return report;
  }
  const std::string base = FolderBase(job.toc.tocFolder);
  bool continueBatch = true;
  long long done = 0;
  for (const auto& name : names) {
    job.driver.moveToFolder(base + name);
    const std::vector<PictureEntry>& pictures = job.driver.listPictures();
    job.driver.deselect(kBackPicture);
    if (IsBatchTarget(pictures)) {
      ++done;
      host.showBatchProgress(BatchProgressText(done, targetCount));
      host.showBatchFolder(name);
      job.main.batchRunning = true;
      // An album that ends with its own failure message ends only that album.
      report.albums.push_back({name, job.driver.runAlbum()});
      job.main.batchRunning = false;
      host.stepBatchProgress();
    }
    if (host.processEvents()) continueBatch = false;
    if (!continueBatch) {
      host.showMessage(msg::kBatchInterrupted);
      job.main.batchRunning = false;
      host.endBatch();
      report.outcome = BatchOutcome::Aborted;
      return report;
    }
  }

  host.beforeTableOfContents();
  job.main.batchRunning = true;
  report.tableOfContents = MakeTableOfContents(job.toc, job.settings, job.main, host, job.today);
  job.main.batchRunning = false;
  // Asked whatever noBrowserPrompt says; not after a table of contents that
  // stopped with its message, whose page was not written.
  if (report.tableOfContents == TocOutcome::Written && host.askYesNo(msg::kBrowserQuestion, msg::kCaption)) {
    Open(host, PageOpening(job.settings, base));
  }
  host.endBatch();
  report.outcome = BatchOutcome::Finished;
  return report;
}

}  // namespace pictavo
