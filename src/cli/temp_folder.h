#pragma once

#include <string>

namespace tavo::cli {

// A folder of this run's own under $TMPDIR (else /tmp), readable by its
// owner only, removed with everything in it when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, ending in "/".
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace tavo::cli
