#pragma once
// Character-counted text functions. Positions are 1-based and count Unicode
// code points, so a double-byte Shift_JIS character counts as one.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pictavo {

long CharLength(std::string_view s);
// The first min(n, length) characters.
std::string LeftChars(std::string_view s, long n);
// The characters from max(1, length - n + 1) to the end; empty for n <= 0.
std::string RightChars(std::string_view s, long n);
// The characters from start to min(length, start + count - 1); a start beyond
// the last character is lowered to the last character.
std::string MidChars(std::string_view s, long start, long count);

// RightChars(padding + number): "0012" from ("0000", 12); a larger number keeps
// only its last digits.
std::string ZeroPad(long long value, int width);

// Lower-cases ASCII letters only; other characters stay as they are.
std::string LowerAscii(std::string_view s);

// Strict decimal integer: optional sign, then digits only, within 32 bits.
std::optional<int32_t> ParseDecimal(std::string_view s);

// Nearest integer, halves to the even neighbour, in extended precision.
long long RoundHalfEven(long double x);
// Toward zero.
long long Truncate(long double x);

// Page form of a colour: upper-case hex of the value, at least six digits,
// with the last pair, the third-fourth pair and the first pair in that order.
std::string ColorToHtml(int64_t color);

// Splits UTF-8 text into code points' byte offsets; used by the functions above.
size_t ByteOffsetOfChar(std::string_view s, long index0);

}  // namespace pictavo
