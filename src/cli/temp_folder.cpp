#include "cli/temp_folder.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "base/error.h"
#include "cli/text_encoding.h"

namespace tavo::cli {

TempFolder::TempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string base = tmp && *tmp ? tmp : "/tmp";
    if (base.back() != '/') base += '/';
    std::string pattern = base + "tavo-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!mkdtemp(name.data()))
        throw CommandError{base, "cannot hold a folder of this run: " + systemErrorText(errno)};
    path_ = std::string(name.data()) + "/";
}

TempFolder::~TempFolder() {
    // Only what this process made is there; a failure leaves a folder in $TMPDIR, nothing worse.
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace tavo::cli
