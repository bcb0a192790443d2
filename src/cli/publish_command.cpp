// pictavo-cli publish SITE DEST: a copy of the site for uploading, pictures
// at screen size and without their location, checked before it says done.

#include <unistd.h>

#include <iostream>
#include <memory>

#include "check/site_check.h"
#include "cli_host.h"
#include "commands.h"
#include "platform/paths.h"
#include "publish/publish.h"

namespace pictavo::cli {

namespace {

struct PublishCliOptions {
  std::string site;
  std::string dest;
  PublishOptions publish;
  bool quiet = false;
};

class PublishCliHost : public PublishHost {
 public:
  PublishCliHost(std::ostream& err, bool progress, bool quiet) : m_err(err), m_progress(progress), m_quiet(quiet) {}
  ~PublishCliHost() override { clear(); }
  bool stopRequested() override { return InterruptRequested(); }
  void progress(size_t done, size_t total, const std::string& path) override {
    if (!m_progress) return;
    m_err << "\r\033[K" << done << "/" << total << " " << path << std::flush;
    m_shown = true;
  }
  void report(const std::string& line) override {
    if (m_quiet) return;
    clear();
    m_err << line << '\n';
  }
  void clear() {
    if (!m_shown) return;
    m_err << "\r\033[K" << std::flush;
    m_shown = false;
  }

 private:
  std::ostream& m_err;
  bool m_progress;
  bool m_quiet;
  bool m_shown = false;
};

std::string RefusalText(PublishRefusal why, const std::string& detail) {
  switch (why) {
    case PublishRefusal::None: break;
    case PublishRefusal::BadMaxSize: return "the largest size must be between 16 and 65500 pixels";
    case PublishRefusal::BadQuality: return "the quality must be between 1 and 100";
    case PublishRefusal::NoSite: return "no such folder: " + detail;
    case PublishRefusal::DestinationNotAFolder: return "the destination is not a folder: " + detail;
    case PublishRefusal::Nested: return "the destination and the site must not lie inside each other";
    case PublishRefusal::SiteUnreadable: return detail;
    case PublishRefusal::NoPages: return "no page of this program in " + detail;
    case PublishRefusal::DestinationNotCreated: return "the destination cannot be created: " + detail;
    case PublishRefusal::DestinationNotWritten: return "the destination cannot be written: " + detail;
  }
  return detail;
}

int RunPublish(const PublishCliOptions& o, Io& io) {
  if (!FolderExists(o.site)) {
    io.err << "pictavo-cli: no such folder: " << o.site << '\n';
    return 2;
  }
  const bool terminal = !o.quiet && ::isatty(STDERR_FILENO) && &io.err == &std::cerr;
  PublishCliHost host(io.err, terminal, o.quiet && !o.publish.dryRun);
  const PublishSummary s = Publish(o.site, o.dest, o.publish, host);
  host.clear();
  if (s.refusal != PublishRefusal::None) {
    io.err << "pictavo-cli: " << RefusalText(s.refusal, s.refusalDetail) << '\n';
    return 1;
  }
  for (const std::string& f : s.failures) io.err << "pictavo-cli: " << f << '\n';
  const char* would = o.publish.dryRun ? "would be " : "";
  io.err << s.files << " file(s) in the site: " << s.reduced << " picture(s) " << would << "reduced, " << s.copied
         << " file(s) " << would << "copied, " << s.unchanged << " up to date, " << s.removed << " old file(s) "
         << would << "removed\n";
  if (s.outcome == PublishOutcome::Stopped) {
    io.err << "pictavo-cli: stopped; the destination is consistent, run publish again to complete it\n";
    return kExitInterrupted;
  }
  if (o.publish.dryRun) return s.failures.empty() ? 0 : 1;
  if (s.check.ok) {
    PrintFindings(FolderBase(AbsolutePath(o.dest)), s.check, io.out);
    io.err << "check of the copy: " << s.check.pages << " page(s), " << s.check.problems() << " problem(s), "
           << s.check.notes() << " note(s)\n";
  }
  return s.outcome == PublishOutcome::Done ? 0 : 1;
}

}  // namespace

void AddPublishCommand(CLI::App& app, Io& io, int& exitCode) {
  auto o = std::make_shared<PublishCliOptions>();
  CLI::App* cmd = app.add_subcommand(
      "publish", "Copy a site for uploading: pictures at screen size without their location, only what changed");
  cmd->add_option("SITE", o->site, "Album folder, or table-of-contents folder with its albums")->required();
  cmd->add_option("DEST", o->dest, "Folder that receives the copy (created when missing)")->required();
  cmd->add_option("--max-size", o->publish.maxSize, "Largest width and height of a published picture (default 2048)")
      ->check(CLI::Range(16, 65500));
  cmd->add_option("--quality", o->publish.quality, "JPEG quality of a reduced picture (default 85)")
      ->check(CLI::Range(1, 100));
  cmd->add_flag("--keep-location", o->publish.keepLocation, "Keep the GPS position in the pictures");
  cmd->add_flag("--dry-run", o->publish.dryRun, "Say what would be written and removed; write nothing");
  cmd->add_flag("--quiet", o->quiet, "No line per file removed, no progress");
  cmd->add_option("--workers", o->publish.workers, "Pictures made side by side (default: one per processor)")
      ->check(CLI::Range(1, 64));
  cmd->callback([o, &io, &exitCode] { exitCode = RunPublish(*o, io); });
}

}  // namespace pictavo::cli
