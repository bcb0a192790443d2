#include "cli_host.h"
#include "cli_language.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <ostream>
#include <vector>

#include "message_table.h"

namespace pictavo::cli {

namespace {
std::atomic<bool> g_interrupted{false};

void OnInterrupt(int) {
  g_interrupted = true;
  std::signal(SIGINT, SIG_DFL);
}
}  // namespace

void InstallInterruptHandler() { std::signal(SIGINT, OnInterrupt); }
bool InterruptRequested() { return g_interrupted; }
void ResetInterrupt() { g_interrupted = false; }

std::string MessageForTerminal(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (c == '\r') c = '\n';
  }
  return out;
}

CliHost::CliHost(std::ostream& err, bool yes, bool progress) : m_err(err), m_yes(yes), m_progress(progress) {}

CliHost::~CliHost() { clearProgress(); }

void CliHost::showMessage(const Message& message) {
  clearProgress();
  ++m_messages;
  m_err << MessageForTerminal(RenderCliMessage(message)) << '\n';
}

void CliHost::printLine(const std::string& text) {
  clearProgress();
  m_err << text << '\n';
}

void CliHost::note(const Message& detail) {
  clearProgress();
  m_err << "  (" << RenderCliMessage(detail) << ")\n";
}

void CliHost::namesPassedOver(const std::string& folder, size_t count) {
  clearProgress();
  m_err << PassedOverText(folder, count) << '\n';
}

std::string PassedOverText(const std::string& folder, size_t count) {
  return "pictavo-cli: passing over " + std::to_string(count) + " file name(s) that are not valid UTF-8 in " + folder;
}

bool CliHost::askYesNo(const Message& question, const Message& captionMessage) {
  clearProgress();
  const std::string text = RenderCliMessage(question);
  const std::string caption = RenderCliMessage(captionMessage);
  bool answer = m_yes;
  for (const auto& [key, value] : m_answers) {
    if (text.find(key) != std::string::npos || caption.find(key) != std::string::npos) {
      answer = value;
      break;
    }
  }
  const bool english = CliLanguage() == InterfaceLanguage::English;
  const char* word = answer ? (english ? "Yes" : "はい") : (english ? "No" : "いいえ");
  m_err << "[" << caption << "] " << MessageForTerminal(text) << " -> " << word << '\n';
  return answer;
}

void CliHost::setPicturesPerRow(int16_t count) { m_perRow = std::clamp<int>(count, kMinPicturesPerRow, kMaxPicturesPerRow); }

void CliHost::setAnswer(const std::string& key, bool answer) { m_answers.emplace_back(key, answer); }

void CliHost::setAnswer(const Message& question, bool answer) { setAnswer(RenderCliMessage(question), answer); }

void CliHost::setStatus(StatusPanel panel, const Message& text) {
  m_status[static_cast<int>(panel)] = RenderCliMessage(text);
  drawProgress();
}

bool CliHost::processEvents() { return InterruptRequested(); }

void CliHost::drawProgress() {
  if (!m_progress) return;
  m_err << "\r\x1b[K" << m_status[0] << "  " << m_status[1] << "  " << m_status[2] << std::flush;
  m_lineShown = true;
}

void CliHost::clearProgress() {
  if (!m_lineShown) return;
  m_err << "\r\x1b[K" << std::flush;
  m_lineShown = false;
}

}  // namespace pictavo::cli
