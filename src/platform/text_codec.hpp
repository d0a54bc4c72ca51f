#pragma once
// UTF-8 <-> code page 932 (Windows Japanese). Text is UTF-8 everywhere in memory; code page
// 932 exists only inside the file formats (user data file, INI files). The Windows build
// converts with the system's code page 932 tables, the Linux build with iconv's CP932; the
// same test vectors run against both.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

// Strict: nullopt when `utf8` is not valid UTF-8 or holds a character code page 932
// cannot represent (no best-fit substitutes, no default character).
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

// The same, appended to `out`; false (and `out` as it was) where Utf8ToCp932 gives nullopt.
bool AppendUtf8AsCp932(std::string_view utf8, std::string& out);
// Appends the UTF-8 bytes of one code point (any plane).
void AppendUtf8(std::string& out, std::uint32_t cp);

// Strict: nullopt when `cp932` is not a valid code page 932 byte sequence.
std::optional<std::string> Cp932ToUtf8(std::string_view cp932);
// The same, appended to `out`; false (and `out` as it was) where Cp932ToUtf8 gives nullopt.
bool AppendCp932AsUtf8(std::string_view cp932, std::string& out);

// Lenient decoding for reading stored files: a byte that does not start a valid character
// becomes "・" (U+30FB, which code page 932 can represent), so the text survives a later
// save. Never fails.
std::string Cp932ToUtf8Lenient(std::string_view cp932);

// The code point of the UTF-8 character at `i`, moving `i` past it; nullopt for an invalid
// sequence (overlong forms, surrogates and values above U+10FFFF included), then `i` moves
// past one byte.
std::optional<std::uint32_t> NextUtf8CodePoint(std::string_view text, std::size_t& i);
bool IsValidUtf8(std::string_view text);

}  // namespace orv
