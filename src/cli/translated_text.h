#pragma once
// The English catalogue's message texts, written at build time from
// translations/pictavo_en.ts (context "Message") by scripts/ts-to-cpp.py, so
// the command line speaks the windows' English without linking Qt.

#include <cstddef>

namespace pictavo {

struct TranslatedText {
  const char* source;       // the Japanese template, "%1" … kept
  const char* translation;  // its English
};

// Sorted by source, byte by byte.
extern const TranslatedText kTranslatedMessages[];
extern const size_t kTranslatedMessageCount;

}  // namespace pictavo
