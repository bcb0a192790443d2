#pragma once
// The message a later start sends the running one: its command line, laid
// out as Qt's data stream lays out a string list (a big-endian count, then
// each string's byte length, 0xFFFFFFFF for none, and its UTF-16
// big-endian units), so that starts of every version understand each other.
// The bytes come from another process: every count is checked against the
// bytes present before anything is kept.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pictavo {

// A command line is far smaller; a larger message is dropped unread.
inline constexpr size_t kMaxHandOverBytes = 64 * 1024;

// The message for `arguments` (UTF-8).
std::string WriteHandOver(const std::vector<std::string>& arguments);

// The arguments, UTF-8 (a unit that is half a pair reads as U+FFFD), or
// nullopt for bytes that are not one whole message of at most
// kMaxHandOverBytes.
std::optional<std::vector<std::string>> ReadHandOver(std::string_view bytes);

}  // namespace pictavo
