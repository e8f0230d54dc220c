#pragma once

#include <sys/stat.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace tavo::test {

// Sets or (with nullptr) removes an environment variable of the process.
inline void setEnv(const char* name, const char* value) {
#ifdef _WIN32
    // The C runtime's copy and the process's, which the library reads.
    _putenv_s(name, value ? value : "");
    SetEnvironmentVariableA(name, value);
#else
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
#endif
}

// A fresh folder for one test, removed with everything in it afterwards.
class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() / ("tavo-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

    // Names of the entries in the folder, sorted.
    std::string listing() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path_)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        std::string out;
        for (const auto& n : names) out += n + " ";
        return out;
    }

private:
    std::filesystem::path path_;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// What a folder holds (its own entries, not those of subfolders): kind,
// mode, owner (on Windows the attributes) and bytes of each, to compare and
// to put back.
class FolderSnapshot {
public:
    explicit FolderSnapshot(std::filesystem::path folder) : folder_(std::move(folder)) {
        for (const auto& e : std::filesystem::directory_iterator(folder_)) {
#ifdef _WIN32
            const DWORD attributes = GetFileAttributesW(e.path().c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES) continue;
            const mode_t kind = attributes & FILE_ATTRIBUTE_DIRECTORY ? S_IFDIR : S_IFREG;
            Entry entry{kind, 0, attributes, std::string()};
            if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) entry.bytes = readFile(e.path().string());
            entries_[e.path().filename().string()] = entry;
            continue;
#else
            struct stat st {};
            if (::lstat(e.path().c_str(), &st) != 0) continue;
            Entry entry{st.st_mode, st.st_uid, st.st_gid, std::string()};
            if (S_ISLNK(st.st_mode))
                entry.bytes = std::filesystem::read_symlink(e.path()).string();
            else if (S_ISREG(st.st_mode))
                entry.bytes = readFile(e.path().string());
            entries_[e.path().filename().string()] = entry;
#endif
        }
    }

    // One line per entry, the bytes as a hash.
    std::string describe() const {
        std::string out;
        for (const auto& [name, e] : entries_) {
            std::ostringstream line;
            line << name << " " << std::oct << e.mode << std::dec << " " << e.uid << ":" << e.gid << " #"
                 << std::hash<std::string>()(e.bytes) << "\n";
            out += line.str();
        }
        return out;
    }

    // Files and links only; subfolders stay as they are.
    void restore() const {
        for (const auto& e : std::filesystem::directory_iterator(folder_))
            if (!e.is_directory(ignored_) || e.is_symlink(ignored_)) std::filesystem::remove(e.path(), ignored_);
        for (const auto& [name, e] : entries_) {
            const std::string path = (folder_ / name).string();
#ifdef _WIN32
            if (!S_ISDIR(e.mode)) {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                writeFile(path, e.bytes);
                SetFileAttributesA(path.c_str(), e.gid);
            }
            continue;
#else
            if (S_ISLNK(e.mode)) {
                std::filesystem::create_symlink(e.bytes, path, ignored_);
                (void)::lchown(path.c_str(), e.uid, e.gid);
            } else if (S_ISREG(e.mode)) {
                writeFile(path, e.bytes);
                (void)::chown(path.c_str(), e.uid, e.gid);
                ::chmod(path.c_str(), e.mode & 07777);
            }
#endif
        }
    }

private:
#ifdef _WIN32
    using mode_t = unsigned;
    using uid_t = unsigned;
    using gid_t = unsigned long;  // the attributes
#endif
    struct Entry {
        mode_t mode;
        uid_t uid;
        gid_t gid;
        std::string bytes;  // a link's target
    };
    std::filesystem::path folder_;
    std::map<std::string, Entry> entries_;
    mutable std::error_code ignored_;
};

}  // namespace tavo::test
