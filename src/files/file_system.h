#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tavo::platform {

// What a file operation reports: code 0 when it worked, else the system's
// error code (errno, GetLastError) and its text.
struct FileStatus {
    int code = 0;
    std::string reason;
    bool ok() const { return code == 0; }
};

// What a name leads to, symbolic links followed.
enum class FileKind { Missing, File, Other };

class FileReader {
public:
    virtual ~FileReader() = default;
    virtual uint64_t size() const = 0;
    // Up to `size` bytes; fewer at the end, or after a failure (see status()).
    virtual std::size_t read(void* data, std::size_t size) = 0;
    virtual FileStatus status() const = 0;
};

// A new file written in the folder of the file it is to become, private to
// this process until replace(). Dropped before that, it is gone.
class PendingFile {
public:
    virtual ~PendingFile() = default;
    virtual FileStatus write(const void* data, std::size_t size) = 0;
    // Gives it the mode and owner of `target` (or of a new file, when there
    // is none) and puts its bytes on the disk.
    virtual FileStatus seal(const std::string& target) = 0;
    // Puts it in the place of `target` in one step that survives a crash.
    virtual FileStatus replace(const std::string& target) = 0;
};

// A lock held until this is destroyed.
class FileLock {
public:
    virtual ~FileLock() = default;
};

// The file operations the library needs, with the semantics of the Windows
// functions it was made for: names are bytes in the system's code page;
// link and rename never replace an existing name.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual FileKind kindOf(const std::string& path) = 0;
    // The name that `path` ends at once symbolic links are followed.
    virtual std::string resolveLinks(const std::string& path, FileStatus& status) = 0;
    // Whether this process may change the existing file at `path`.
    virtual FileStatus checkWritable(const std::string& path) = 0;

    virtual std::unique_ptr<FileReader> openRead(const std::string& path, FileStatus& status) = 0;
    virtual std::unique_ptr<PendingFile> createBeside(const std::string& target, FileStatus& status) = 0;

    virtual FileStatus link(const std::string& existing, const std::string& newName) = 0;
    virtual FileStatus rename(const std::string& from, const std::string& to) = 0;
    virtual FileStatus remove(const std::string& path) = 0;
    virtual FileStatus createFolders(const std::string& folder) = 0;

    // The exclusive lock of the file `path` (created when missing), shared
    // with other processes; waits a few seconds at most.
    virtual std::unique_ptr<FileLock> lock(const std::string& path, FileStatus& status) = 0;
};

// This platform's files.
FileSystem& Files();

// Test seam, idle until first used: the N-th operation that changes
// something on the disk (each create, write, sync, change of mode or owner,
// link, rename, lock) fails from now on, counting from 1; 0 turns it off.
// FileOperationsCounted() tells how many ran since, FileOperationsLog()
// their names in order.
void InjectFileFault(int nthOperation);
int FileOperationsCounted();
std::string FileOperationsLog();
// For implementations: counts one operation; true when it is to fail.
bool FileFaultDue(const char* operation);

// For the implementations: the short name of a save's temporary file
// (".tavo-XXXXXXXX.tmp", whatever the target's name), and whether a name is
// one, for sweeping those of killed saves.
constexpr std::string_view kTempPrefix = ".tavo-";
constexpr std::string_view kTempSuffix = ".tmp";
constexpr std::size_t kTempRandom = 8;
std::string TemporaryFileName();
bool IsTemporaryFileName(std::string_view name);

}  // namespace tavo::platform
