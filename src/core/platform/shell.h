#pragma once
// Shell services: starting programs on documents. Neither reports a failure:
// the user sees whether the program came up.

#include <string>

namespace pictavo {

// Starts `program` detached with `document` as its one argument, in `folder`.
void OpenWithProgram(const std::string& program, const std::string& document, const std::string& folder);
// Opens `path` with the desktop's opener (xdg-open).
void OpenWithAssociatedProgram(const std::string& path);

}  // namespace pictavo
