#pragma once

#include <exception>
#include <string>

namespace tavo {

// The one exception type of the library. `what()` is the full message as the
// host sees it (Shift-JIS bytes); `file()` and `detail()` let a command line
// print "FILE: what is wrong" without repeating the name.
class Error : public std::exception {
public:
    explicit Error(std::string message);
    Error(std::string file, std::string detail, std::string message);

    // "ファイル %s を作成できません", the class library's message.
    static Error cannotCreate(const std::string& file, const std::string& reason);
    // "ファイル %s を開けません", the class library's message.
    static Error cannotOpen(const std::string& file, const std::string& reason);
    // A file whose content cannot be used: "FILE: detail".
    static Error badFile(const std::string& file, const std::string& detail);

    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& message() const noexcept { return message_; }
    const std::string& file() const noexcept { return file_; }
    const std::string& detail() const noexcept { return detail_; }

private:
    std::string file_;
    std::string detail_;
    std::string message_;
};

// The text of errno as the C library gives it; empty for 0.
std::string systemErrorText(int errnum);

}  // namespace tavo
