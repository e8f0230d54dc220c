#pragma once

#include <string>
#include <string_view>

namespace tavo::platform {

// Shift-JIS, the code page of the host's texts.
constexpr unsigned kShiftJis = 932;

// Bytes of a code page as UTF-16 and back, through the system's own tables
// (MultiByteToWideChar, WideCharToMultiByte). Bytes that are no character
// of the code page become the code page's replacement; characters it lacks
// become "?".
std::wstring WideFromBytes(std::string_view bytes, unsigned codePage);
std::string BytesFromWide(std::wstring_view wide, unsigned codePage);

// Whether `bytes` are valid text in the code page.
bool ValidInCodePage(std::string_view bytes, unsigned codePage);

// Where the last "\", "/" or ":" of a path in the system's code page is,
// trail bytes of double-byte characters skipped (in code page 932 a trail
// byte may be 0x5C); npos when there is none.
std::size_t LastPathSeparator(std::string_view path);

// The system's text for an error code (GetLastError), in the system's code
// page, without its final full stop and line break.
std::string SystemMessage(unsigned long code);

}  // namespace tavo::platform
