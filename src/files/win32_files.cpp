// The files of Windows, through the ANSI functions: a name is the host's
// bytes in the system's code page (932 on the Japanese systems the library
// was made for), taken exactly as the host's own file functions take them.
#include <windows.h>

#include <chrono>
#include <string_view>
#include <thread>
#include <utility>

#include "files/file_system.h"
#include "files/win32_text.h"

namespace tavo::platform {

namespace {

FileStatus statusOf(DWORD code) {
    return code == 0 ? FileStatus{} : FileStatus{static_cast<int>(code), SystemMessage(code)};
}
FileStatus lastError() {
    const DWORD code = GetLastError();
    return statusOf(code != 0 ? code : ERROR_GEN_FAILURE);
}
// What an injected fault reports: a failing device.
FileStatus injected() { return statusOf(ERROR_WRITE_FAULT); }

// The ANSI functions take at most MAX_PATH - 1 characters, folders 12 fewer.
constexpr std::size_t kLongestName = MAX_PATH - 1;
constexpr std::size_t kLongestFolder = MAX_PATH - 13;

// Names the ANSI functions cannot take are refused before the system sees
// them, with a reason a person can act on.
FileStatus checkName(const std::string& path, std::size_t longest = kLongestName) {
    const UINT codePage = GetACP();
    if (!ValidInCodePage(path, codePage))
        return {ERROR_NO_UNICODE_TRANSLATION,
                "the name is not valid text in the system's code page " + std::to_string(codePage)};
    const std::size_t characters = WideFromBytes(path, codePage).size();
    if (characters > longest)
        return {ERROR_FILENAME_EXCED_RANGE, "the name has " + std::to_string(characters) +
                                                " characters, more than the " + std::to_string(longest) +
                                                " the system's file functions take"};
    return {};
}

class Handle {
public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~Handle() { close(); }
    Handle(Handle&& other) noexcept : h_(std::exchange(other.h_, INVALID_HANDLE_VALUE)) {}
    Handle& operator=(Handle&&) = delete;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE get() const { return h_; }
    explicit operator bool() const { return h_ != INVALID_HANDLE_VALUE; }
    void close() {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(std::exchange(h_, INVALID_HANDLE_VALUE));
    }

private:
    HANDLE h_;
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The folder part with its separator; empty for a bare name (the current
// folder).
std::string folderOf(const std::string& path) {
    const std::size_t sep = LastPathSeparator(path);
    return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}

// What a name leads to, links followed: its attributes, or
// INVALID_FILE_ATTRIBUTES.
DWORD attributesOf(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return attributes;
    const Handle h(CreateFileA(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                               nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!h || !GetFileInformationByHandle(h.get(), &info)) return INVALID_FILE_ATTRIBUTES;
    return info.dwFileAttributes;
}

FileStatus writeAll(HANDLE h, const void* data, std::size_t size) {
    std::string_view rest(static_cast<const char*>(data), size);
    while (!rest.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(rest.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(h, rest.data(), chunk, &written, nullptr)) return lastError();
        rest.remove_prefix(written);
    }
    return {};
}

// Removes the temporary files of saves that were killed. A save holds its
// file open for writing, so a file nobody holds opens without sharing; it
// goes when that handle closes.
void sweepLeftovers(const std::string& folder) {
    WIN32_FIND_DATAA found{};
    const std::string pattern = folder + std::string(kTempPrefix) + "*" + std::string(kTempSuffix);
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string_view name(&found.cFileName[0]);
        if (!IsTemporaryFileName(name) || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        const std::string path = folder + std::string(name);
        const Handle h(CreateFileA(path.c_str(), GENERIC_READ | DELETE, 0, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// Attributes a replaced file keeps; read-only files are refused before.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

class Win32PendingFile final : public PendingFile {
public:
    Win32PendingFile(Handle file, std::string name) : file_(std::move(file)), name_(std::move(name)) {}
    ~Win32PendingFile() override {
        file_.close();
        if (!name_.empty()) DeleteFileA(name_.c_str());
    }
    Win32PendingFile(const Win32PendingFile&) = delete;
    Win32PendingFile& operator=(const Win32PendingFile&) = delete;

    FileStatus write(const void* data, std::size_t size) override {
        if (FileFaultDue("write")) return statusOf(ERROR_DISK_FULL);
        return writeAll(file_.get(), data, size);
    }

    FileStatus seal(const std::string& target) override {
        const DWORD old = GetFileAttributesA(target.c_str());
        if (old != INVALID_FILE_ATTRIBUTES && (old & kKeptAttributes) != 0) {
            if (FileFaultDue("attributes")) return injected();
            FILE_BASIC_INFO info{};
            info.FileAttributes = old & kKeptAttributes;
            if (!SetFileInformationByHandle(file_.get(), FileBasicInfo, &info, sizeof info)) return lastError();
        }
        if (FileFaultDue("sync")) return injected();
        return FlushFileBuffers(file_.get()) ? FileStatus{} : lastError();
    }

    // One rename that replaces the target, written through to the disk;
    // the file is still held (it was opened to be renamed), so no sweeper
    // can take it on the way.
    FileStatus replace(const std::string& target) override {
        if (FileFaultDue("rename")) return injected();
        if (!MoveFileExA(name_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return lastError();
        name_.clear();
        file_.close();
        return {};
    }

private:
    Handle file_;
    std::string name_;
};

class Win32Reader final : public FileReader {
public:
    Win32Reader(Handle file, uint64_t size) : file_(std::move(file)), size_(size) {}
    uint64_t size() const override { return size_; }
    std::size_t read(void* data, std::size_t size) override {
        auto* bytes = static_cast<char*>(data);
        std::size_t got = 0;
        while (got < size && status_.ok()) {
            const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size - got, 1u << 30));
            DWORD n = 0;
            // NOLINTNEXTLINE(cppcoreguidelines-pro-bounds-pointer-arithmetic): filling the caller's buffer
            if (!ReadFile(file_.get(), bytes + got, chunk, &n, nullptr)) {
                status_ = lastError();
                break;
            }
            if (n == 0) break;
            got += n;
        }
        return got;
    }
    FileStatus status() const override { return status_; }

private:
    Handle file_;
    uint64_t size_;
    FileStatus status_;
};

class Win32Lock final : public FileLock {
public:
    explicit Win32Lock(Handle file) : file_(std::move(file)) {}

private:
    Handle file_;  // closing it releases the lock
};

// File systems that have no locks: writers go on without one rather than
// not at all.
bool locksUnsupported(DWORD code) { return code == ERROR_NOT_SUPPORTED || code == ERROR_INVALID_FUNCTION; }

// "C:\", "\\server\share\" or "\": the part of a folder that cannot be made.
std::size_t rootLength(const std::string& folder) {
    if (folder.size() >= 2 && folder[1] == ':') return folder.size() >= 3 && (folder[2] == '\\' || folder[2] == '/') ? 3 : 2;
    if (folder.size() >= 2 && (folder[0] == '\\' || folder[0] == '/') && (folder[1] == '\\' || folder[1] == '/')) {
        // Past the server and the share.
        std::size_t seps = 0;
        for (std::size_t i = 2; i < folder.size(); ++i) {
            if (folder[i] == '\\' || folder[i] == '/') {
                if (++seps == 2) return i + 1;
            } else if (IsDBCSLeadByte(static_cast<BYTE>(folder[i]))) {
                ++i;
            }
        }
        return folder.size();
    }
    return !folder.empty() && (folder[0] == '\\' || folder[0] == '/') ? 1 : 0;
}

class Win32Files final : public FileSystem {
public:
    FileKind kindOf(const std::string& path) override {
        const DWORD attributes = attributesOf(path);
        if (attributes == INVALID_FILE_ATTRIBUTES) return FileKind::Missing;
        return attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE) ? FileKind::Other : FileKind::File;
    }

    // A symbolic link (rare on Windows) is written through to the file it
    // names; one to nothing is replaced by the file.
    std::string resolveLinks(const std::string& path, FileStatus& status) override {
        if ((status = checkName(path)).code != 0) return path;
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return path;
        const Handle h(CreateFileA(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                   nullptr));
        if (!h) return path;
        std::wstring final(32768, L'\0');
        const DWORD n = GetFinalPathNameByHandleW(h.get(), final.data(), static_cast<DWORD>(final.size()),
                                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n == 0 || n >= final.size()) {
            status = lastError();
            return path;
        }
        final.resize(n);
        if (final.rfind(L"\\\\?\\UNC\\", 0) == 0)
            final.replace(0, 8, L"\\\\");
        else if (final.rfind(L"\\\\?\\", 0) == 0)
            final.erase(0, 4);
        std::string bytes = BytesFromWide(final, GetACP());
        if (WideFromBytes(bytes, GetACP()) != final) {
            status = {ERROR_NO_UNICODE_TRANSLATION, "the link leads to a name outside the system's code page"};
            return path;
        }
        return bytes;
    }

    FileStatus checkWritable(const std::string& path) override {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            return {ERROR_ACCESS_DENIED, "the file is read-only"};
        // Opening for writing changes nothing, and tells early about a file
        // we may not change or that another program holds.
        const Handle h(CreateFileA(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        return h ? FileStatus{} : lastError();
    }

    std::unique_ptr<FileReader> openRead(const std::string& path, FileStatus& status) override {
        if ((status = checkName(path)).code != 0) return nullptr;
        const DWORD attributes = attributesOf(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            status = {ERROR_ACCESS_DENIED, "it is a folder"};
            return nullptr;
        }
        Handle h(CreateFileA(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        LARGE_INTEGER size{};
        if (!h || !GetFileSizeEx(h.get(), &size)) {
            status = lastError();
            return nullptr;
        }
        const uint64_t bytes = GetFileType(h.get()) == FILE_TYPE_DISK ? static_cast<uint64_t>(size.QuadPart) : 0;
        return std::make_unique<Win32Reader>(std::move(h), bytes);
    }

    std::unique_ptr<PendingFile> createBeside(const std::string& target, FileStatus& status) override {
        if ((status = checkName(target)).code != 0) return nullptr;
        const std::string folder = folderOf(target);
        sweepLeftovers(folder);
        if (FileFaultDue("create")) {
            status = injected();
            return nullptr;
        }
        for (int attempt = 0; attempt < 16; ++attempt) {
            std::string path = folder + TemporaryFileName();
            if ((status = checkName(path)).code != 0) return nullptr;
            // Shared for the rename only: a sweeper's exclusive open fails
            // while the save holds it.
            Handle h(CreateFileA(path.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!h) {
                if (GetLastError() == ERROR_FILE_EXISTS) continue;
                status = lastError();
                return nullptr;
            }
            return std::make_unique<Win32PendingFile>(std::move(h), std::move(path));
        }
        status = statusOf(ERROR_FILE_EXISTS);
        return nullptr;
    }

    FileStatus link(const std::string& existing, const std::string& newName) override {
        if (FileFaultDue("link")) return injected();
        return CreateHardLinkA(newName.c_str(), existing.c_str(), nullptr) ? FileStatus{} : lastError();
    }

    // MoveFileA: never replaces an existing file.
    FileStatus rename(const std::string& from, const std::string& to) override {
        if (FileFaultDue("rename")) return injected();
        return MoveFileA(from.c_str(), to.c_str()) ? FileStatus{} : lastError();
    }

    FileStatus remove(const std::string& path) override {
        return DeleteFileA(path.c_str()) ? FileStatus{} : lastError();
    }

    FileStatus createFolders(const std::string& folder) override {
        if (FileFaultDue("mkdir")) return injected();
        if (FileStatus status = checkName(folder, kLongestFolder); !status.ok()) return status;
        std::string path = folder;
        while (!path.empty() && LastPathSeparator(path) == path.size() - 1 && path.size() > rootLength(path))
            path.pop_back();
        for (std::size_t i = rootLength(path); i < path.size(); ++i) {
            if (path[i] == '\\' || path[i] == '/')
                CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
            else if (IsDBCSLeadByte(static_cast<BYTE>(path[i])))
                ++i;
        }
        if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return lastError();
        const DWORD attributes = attributesOf(path);
        if (attributes == INVALID_FILE_ATTRIBUTES) return lastError();
        return attributes & FILE_ATTRIBUTE_DIRECTORY ? FileStatus{} : FileStatus{ERROR_DIRECTORY, "it is not a folder"};
    }

    std::unique_ptr<FileLock> lock(const std::string& path, FileStatus& status) override {
        if (FileFaultDue("lock")) {
            status = injected();
            return nullptr;
        }
        if ((status = checkName(path)).code != 0) return nullptr;
        // Read access is enough for a lock, so users who share the folder
        // can all take it.
        Handle h(CreateFileA(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr));
        if (!h) {
            status = lastError();
            return nullptr;
        }
        // Polled, so that a process that holds it forever cannot hang ours.
        using Clock = std::chrono::steady_clock;
        const auto giveUp = Clock::now() + std::chrono::seconds(10);
        auto pause = std::chrono::microseconds(200);
        for (;;) {
            OVERLAPPED whole{};
            if (LockFileEx(h.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD,
                           &whole))
                break;
            const DWORD code = GetLastError();
            if (locksUnsupported(code)) break;
            if (code != ERROR_LOCK_VIOLATION && code != ERROR_IO_PENDING) {
                status = statusOf(code);
                return nullptr;
            }
            if (Clock::now() > giveUp) {
                status = FileStatus{static_cast<int>(code), "held locked by another process for 10 seconds"};
                return nullptr;
            }
            std::this_thread::sleep_for(pause);
            pause = std::min(pause * 2, std::chrono::microseconds(20000));
        }
        return std::make_unique<Win32Lock>(std::move(h));
    }
};

}  // namespace

FileSystem& Files() {
    static Win32Files files;
    return files;
}

}  // namespace tavo::platform
