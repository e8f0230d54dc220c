#pragma once

#include <string>
#include <string_view>

namespace tavo {

// Removes bytes 0x00 to 0x20 from both ends, as the runtime's Trim does.
std::string trimBlanks(std::string_view text);

// The extension starts at the last "." after the last "\", "/" or ":";
// without one the new extension is appended.
std::string changeFileExt(const std::string& path, const std::string& ext);

// The extension with its ".", or empty; found as changeFileExt finds it.
std::string extractFileExt(const std::string& path);

// The folder part with its trailing separator; empty for a bare name.
std::string extractFilePath(const std::string& path);

}  // namespace tavo
