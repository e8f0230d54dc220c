// The files of Linux and other POSIX systems.
#include "files/posix_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <thread>
#include <utility>

#include "files/file_system.h"

namespace tavo::platform {

namespace {

std::atomic<bool> unnamedAllowed{true};

FileStatus statusOf(int err) { return err == 0 ? FileStatus{} : FileStatus{err, std::strerror(err)}; }
FileStatus lastError() { return statusOf(errno != 0 ? errno : EIO); }
// What an injected fault reports: a failing device.
FileStatus injected() { return statusOf(EIO); }

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Fd& operator=(Fd&&) = delete;
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_;
};

// The folder part with its "/", "./" for a bare name.
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

FileStatus writeAll(int fd, const void* data, std::size_t size) {
    std::string_view rest(static_cast<const char*>(data), size);
    while (!rest.empty()) {
        const ssize_t n = ::write(fd, rest.data(), rest.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return lastError();
        }
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

// Read, not set: umask() would change it for a moment for every thread.
mode_t currentUmask() {
    if (std::FILE* f = std::fopen("/proc/self/status", "re")) {
        std::array<char, 256> line{};
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line.data(), line.size(), f)) found = std::sscanf(line.data(), "Umask: %o", &mask) == 1;
        std::fclose(f);
        if (found) return static_cast<mode_t>(mask);
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// Removes the temporary files of saves that were killed: every save holds a
// lock on its own, so one that can be locked belongs to nobody.
void sweepLeftovers(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(&entry->d_name[0]);
        if (!IsTemporaryFileName(name)) continue;
        const std::string path = folder + std::string(name);
        const Fd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
        if (!fd || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;
        struct stat held {};
        struct stat named {};
        if (::fstat(fd.get(), &held) == 0 && ::lstat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
            held.st_ino == named.st_ino)
            ::unlink(path.c_str());
    }
    ::closedir(dir);
}

void syncFolder(const std::string& folder) {
    if (FileFaultDue("sync-folder")) return;
    const Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd) ::fsync(fd.get());
}

FileStatus renameOver(const std::string& from, const std::string& to) {
    if (FileFaultDue("rename")) return injected();
    return ::rename(from.c_str(), to.c_str()) == 0 ? FileStatus{} : lastError();
}

class PosixPendingFile final : public PendingFile {
public:
    // `name` is empty for an unnamed file.
    PosixPendingFile(Fd fd, std::string folder, std::string name)
        : fd_(std::move(fd)), folder_(std::move(folder)), name_(std::move(name)) {}
    ~PosixPendingFile() override {
        if (!name_.empty()) ::unlink(name_.c_str());  // before the lock goes with the descriptor
    }
    PosixPendingFile(const PosixPendingFile&) = delete;
    PosixPendingFile& operator=(const PosixPendingFile&) = delete;

    FileStatus write(const void* data, std::size_t size) override {
        if (FileFaultDue("write")) return statusOf(ENOSPC);
        return writeAll(fd_.get(), data, size);
    }

    FileStatus seal(const std::string& target) override {
        struct stat own {};
        struct stat old {};
        if (::fstat(fd_.get(), &own) != 0) return lastError();
        mode_t mode = 0666 & ~currentUmask();
        if (::stat(target.c_str(), &old) == 0) {
            mode = old.st_mode & 07777;
            if (old.st_uid != own.st_uid || old.st_gid != own.st_gid) {
                if (FileFaultDue("chown")) return injected();
                if (::fchown(fd_.get(), old.st_uid, old.st_gid) != 0) {
                    if (errno != EPERM) return lastError();
                    // Only root gives files away; the group stays where we
                    // belong to it. No set-id bits on a file of a new owner.
                    (void)::fchown(fd_.get(), static_cast<uid_t>(-1), old.st_gid);
                    mode &= 0777;
                }
            }
        }
        if (FileFaultDue("chmod")) return injected();
        if (::fchmod(fd_.get(), mode) != 0) return lastError();
        if (FileFaultDue("sync")) return injected();
        return ::fsync(fd_.get()) == 0 ? FileStatus{} : lastError();
    }

    FileStatus replace(const std::string& target) override {
        FileStatus status = name_.empty() ? linkInto(target) : renameOver(name_, target);
        if (!status.ok()) return status;
        name_.clear();
        // A failure here leaves the file complete and in place; only whether
        // the rename survives a power cut is unsure, so it is not reported.
        syncFolder(folder_);
        return {};
    }

private:
    // An unnamed file takes the target's name at once when that is free;
    // else a short name, which then replaces the target.
    FileStatus linkInto(const std::string& target) {
        if (FileFaultDue("link")) return injected();
        if (linkUnnamed(target)) return {};
        if (errno != EEXIST) return lastError();
        for (int attempt = 0; attempt < 16; ++attempt) {
            std::string temporary = folder_ + TemporaryFileName();
            if (FileFaultDue("link")) return injected();
            if (!linkUnnamed(temporary)) {
                if (errno == EEXIST) continue;
                return lastError();
            }
            name_ = std::move(temporary);  // removed by the destructor if the rename fails
            return renameOver(name_, target);
        }
        return statusOf(EEXIST);
    }

    bool linkUnnamed(const std::string& path) const {
        const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
        if (errno != ENOENT) return false;
        // No /proc: the direct way, which needs privileges.
        return ::linkat(fd_.get(), "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0;
    }

    Fd fd_;
    std::string folder_;
    std::string name_;
};

class PosixReader final : public FileReader {
public:
    PosixReader(Fd fd, uint64_t size) : fd_(std::move(fd)), size_(size) {}
    uint64_t size() const override { return size_; }
    std::size_t read(void* data, std::size_t size) override {
        auto* bytes = static_cast<char*>(data);
        std::size_t got = 0;
        while (got < size && status_.ok()) {
            // NOLINTNEXTLINE(cppcoreguidelines-pro-bounds-pointer-arithmetic): filling the caller's buffer
            const ssize_t n = ::read(fd_.get(), bytes + got, size - got);
            if (n == 0) break;
            if (n < 0) {
                if (errno != EINTR) status_ = lastError();
                continue;
            }
            got += static_cast<std::size_t>(n);
        }
        return got;
    }
    FileStatus status() const override { return status_; }

private:
    Fd fd_;
    uint64_t size_;
    FileStatus status_;
};

class PosixLock final : public FileLock {
public:
    explicit PosixLock(Fd fd) : fd_(std::move(fd)) {}

private:
    Fd fd_;  // closing it releases the lock
};

bool unnamedUnsupported(int err) { return err == EOPNOTSUPP || err == EISDIR || err == EINVAL; }

// An unnamed file gets its name through /proc (the direct way needs
// privileges): without /proc, as in some containers, it could never be saved.
bool canNameUnnamedFiles() {
    static const bool proc = ::access("/proc/self/fd", X_OK) == 0 || ::geteuid() == 0;
    return proc;
}

// File systems that have no locks (some network mounts): writers go on
// without one rather than not at all.
bool locksUnsupported(int err) { return err == ENOLCK || err == EOPNOTSUPP || err == EINVAL; }

class PosixFiles final : public FileSystem {
public:
    FileKind kindOf(const std::string& path) override {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) return FileKind::Missing;
        return S_ISREG(st.st_mode) ? FileKind::File : FileKind::Other;
    }

    std::string resolveLinks(const std::string& path, FileStatus& status) override {
        std::string current = path;
        for (int depth = 0; depth < 40; ++depth) {
            struct stat st {};
            if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
            std::string target(4096, '\0');
            const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
            if (n < 0) {
                status = lastError();
                return current;
            }
            target.resize(static_cast<std::size_t>(n));
            if (target.empty() || target[0] != '/') target.insert(0, folderOf(current));
            current = std::move(target);
        }
        status = statusOf(ELOOP);
        return current;
    }

    FileStatus checkWritable(const std::string& path) override {
        return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 ? FileStatus{} : lastError();
    }

    std::unique_ptr<FileReader> openRead(const std::string& path, FileStatus& status) override {
        Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        struct stat st {};
        if (!fd || ::fstat(fd.get(), &st) != 0) {
            status = lastError();
            return nullptr;
        }
        if (S_ISDIR(st.st_mode)) {
            status = statusOf(EISDIR);
            return nullptr;
        }
        const uint64_t size = S_ISREG(st.st_mode) ? static_cast<uint64_t>(st.st_size) : 0;
        return std::make_unique<PosixReader>(std::move(fd), size);
    }

    std::unique_ptr<PendingFile> createBeside(const std::string& target, FileStatus& status) override {
        const std::string folder = folderOf(target);
        sweepLeftovers(folder);
        if (FileFaultDue("create")) {
            status = injected();
            return nullptr;
        }
        if (unnamedAllowed && canNameUnnamedFiles()) {
            Fd fd(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
            if (fd) {
                ::flock(fd.get(), LOCK_EX);  // keeps sweepers off the short name it may get
                return std::make_unique<PosixPendingFile>(std::move(fd), folder, std::string());
            }
            if (!unnamedUnsupported(errno)) {
                status = lastError();
                return nullptr;
            }
        }
        for (int attempt = 0; attempt < 16; ++attempt) {
            std::string path = folder + TemporaryFileName();
            Fd fd(::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0600));
            if (!fd) {
                if (errno == EEXIST) continue;
                status = lastError();
                return nullptr;
            }
            // A sweeping save may have taken it between the two calls.
            struct stat st {};
            if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0 || ::fstat(fd.get(), &st) != 0 || st.st_nlink == 0) continue;
            return std::make_unique<PosixPendingFile>(std::move(fd), folder, std::move(path));
        }
        status = statusOf(EEXIST);
        return nullptr;
    }

    FileStatus link(const std::string& existing, const std::string& newName) override {
        if (FileFaultDue("link")) return injected();
        return ::link(existing.c_str(), newName.c_str()) == 0 ? FileStatus{} : lastError();
    }

    FileStatus rename(const std::string& from, const std::string& to) override {
        if (FileFaultDue("rename")) return injected();
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return {};
        if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return lastError();
        // File systems without the flag: checked first, so nearly never replacing.
        if (kindOf(to) != FileKind::Missing) return statusOf(EEXIST);
        return ::rename(from.c_str(), to.c_str()) == 0 ? FileStatus{} : lastError();
    }

    FileStatus remove(const std::string& path) override {
        return ::unlink(path.c_str()) == 0 ? FileStatus{} : lastError();
    }

    FileStatus createFolders(const std::string& folder) override {
        if (FileFaultDue("mkdir")) return injected();
        for (std::size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1))
            ::mkdir(folder.substr(0, slash).c_str(), 0777);
        if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) return lastError();
        struct stat st {};
        if (::stat(folder.c_str(), &st) != 0) return lastError();
        return S_ISDIR(st.st_mode) ? FileStatus{} : statusOf(ENOTDIR);
    }

    std::unique_ptr<FileLock> lock(const std::string& path, FileStatus& status) override {
        if (FileFaultDue("lock")) {
            status = injected();
            return nullptr;
        }
        // Read access is enough for a lock, so users who share the folder
        // can all take it.
        Fd fd(::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644));
        if (!fd) {
            status = lastError();
            return nullptr;
        }
        // Polled, so that a process that holds it forever cannot hang ours.
        using Clock = std::chrono::steady_clock;
        const auto giveUp = Clock::now() + std::chrono::seconds(10);
        auto pause = std::chrono::microseconds(200);
        while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
            if (locksUnsupported(errno)) break;
            if (errno != EWOULDBLOCK && errno != EINTR) {
                status = lastError();
                return nullptr;
            }
            if (Clock::now() > giveUp) {
                status = FileStatus{EWOULDBLOCK, "held locked by another process for 10 seconds"};
                return nullptr;
            }
            std::this_thread::sleep_for(pause);
            pause = std::min(pause * 2, std::chrono::microseconds(20000));
        }
        return std::make_unique<PosixLock>(std::move(fd));
    }
};

}  // namespace

FileSystem& Files() {
    static PosixFiles files;
    return files;
}

void UseUnnamedTemporaries(bool use) { unnamedAllowed = use; }

bool FolderHasUnnamedTemporaries(const std::string& folder) {
    return canNameUnnamedFiles() && Fd(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600)).get() >= 0;
}

}  // namespace tavo::platform
