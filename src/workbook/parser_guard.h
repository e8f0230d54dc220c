#pragma once

#include <sys/types.h>

#include <string_view>

namespace tavo::workbook {

// liborcus's XML parser (0.17) reads past the end of some damaged parts, and
// its own checks then end the process. A child process parses each part
// first, its text placed against an unreadable page so that any read past
// its end faults there, and a part is parsed for real only once the child
// came through it: the parser reads the same bytes the same way. The child
// is started once and serves every check; one that ended is started anew.
class ParserGuard {
public:
    // The guard of this process.
    static ParserGuard& Process();

    explicit ParserGuard(unsigned seconds = 20);
    ~ParserGuard();
    ParserGuard(const ParserGuard&) = delete;
    ParserGuard& operator=(const ParserGuard&) = delete;

    // Whether the parser comes through the text: false when the child
    // ended in it (a fault, an abort, or more than `seconds` of work).
    bool passes(std::string_view text);

private:
    bool start();
    void stop();

    unsigned seconds_;
    pid_t owner_ = -1;  // a process forked from the owner has a guard of its own
    pid_t child_ = -1;
    int socket_ = -1;
    int shared_ = -1;  // the file through which the child reads each text
};

}  // namespace tavo::workbook
