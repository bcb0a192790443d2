// pictavo-cli check FOLDER: reports what no longer holds on the pages of a
// site, one line per finding or one JSON document. Writes nothing.

#include <iostream>
#include <memory>

#include "check/site_check.h"
#include "commands.h"
#include "platform/paths.h"

namespace pictavo::cli {

namespace {

struct CheckCliOptions {
  std::string folder;
  bool recursive = false;
  bool json = false;
};

// A JSON string: quotes, backslashes and control characters escaped; the
// text is UTF-8 already. No JSON library is a dependency of the program,
// and writing one flat document needs only this.
std::string JsonString(const std::string& s) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (const char c : s) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (b < 0x20 || b == 0x7F) {
      out += "\\u00";
      out += kHex[b >> 4];
      out += kHex[b & 15];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

void PrintJson(const std::string& folder, const SiteCheckResult& r, std::ostream& out) {
  out << "{\"folder\":" << JsonString(folder) << ",\"pages\":" << r.pages << ",\"problems\":" << r.problems()
      << ",\"notes\":" << r.notes() << ",\"findings\":[";
  for (size_t i = 0; i < r.findings.size(); ++i) {
    const Finding& f = r.findings[i];
    out << (i ? "," : "") << "\n{\"severity\":" << (f.severity == Severity::Problem ? "\"problem\"" : "\"note\"")
        << ",\"kind\":" << JsonString(FindingKindName(f.kind)) << ",\"page\":" << JsonString(f.page)
        << ",\"line\":" << f.line << ",\"also_lines\":[";
    for (size_t k = 0; k < f.alsoLines.size(); ++k) out << (k ? "," : "") << f.alsoLines[k];
    out << "],\"text\":" << JsonString(f.text) << "}";
  }
  out << "\n]}\n";
}

int RunCheck(const CheckCliOptions& o, Io& io) {
  if (!FolderExists(o.folder)) {
    io.err << "pictavo-cli: no such folder: " << o.folder << '\n';
    return 2;
  }
  const SiteCheckResult r = CheckSite(o.folder, CheckOptions{o.recursive});
  if (!r.ok) {
    io.err << "pictavo-cli: " << r.error << '\n';
    return 2;
  }
  if (o.json) {
    PrintJson(AbsolutePath(o.folder), r, io.out);
  } else {
    PrintFindings(FolderBase(o.folder), r, io.out);
    io.err << r.pages << " page(s) checked: " << r.problems() << " problem(s), " << r.notes() << " note(s)\n";
  }
  return r.problems() > 0 ? 1 : 0;
}

}  // namespace

// "site/trip/index.htm:12: problem: thumbnail missing: ..." (no ":12" for a
// finding without a line).
void PrintFindings(const std::string& base, const SiteCheckResult& r, std::ostream& out) {
  for (const Finding& f : r.findings) {
    out << base << f.page;
    if (f.line > 0) out << ':' << f.line;
    out << ": " << (f.severity == Severity::Problem ? "problem" : "note") << ": " << f.text;
    if (!f.alsoLines.empty()) {
      out << " (also on line" << (f.alsoLines.size() > 1 ? "s " : " ");
      for (size_t k = 0; k < f.alsoLines.size(); ++k) out << (k ? ", " : "") << f.alsoLines[k];
      out << ')';
    }
    out << " [" << FindingKindName(f.kind) << "]\n";
  }
}

void AddCheckCommand(CLI::App& app, Io& io, int& exitCode) {
  auto o = std::make_shared<CheckCliOptions>();
  CLI::App* cmd = app.add_subcommand(
      "check", "Check a site before publishing it: broken addresses, stale thumbnails, tables of contents out of date");
  cmd->add_option("FOLDER", o->folder, "Folder whose pages are checked")->required();
  cmd->add_flag("--recursive", o->recursive, "Check every folder below it too");
  cmd->add_flag("--json", o->json, "Print the findings as one JSON document");
  cmd->callback([o, &io, &exitCode] { exitCode = RunCheck(*o, io); });
}

}  // namespace pictavo::cli
