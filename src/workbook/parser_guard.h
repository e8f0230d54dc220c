#pragma once

#include <sys/types.h>

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "workbook/xml_reader.h"

namespace tavo::workbook {

// liborcus's XML parser (0.17) reads past the end of some damaged parts, and
// its own checks then end the process. A child process parses each part
// first, its text placed against an unreadable page so that any read past
// its end faults there; the reader parses a part only once the child came
// through it: the parser reads the same bytes the same way. The child works
// ahead on the parts the reader says it will need, beside the reader.
class ParserGuard {
public:
    // What the child reads parts with; made in the child, so that it reads
    // the workbook through its own handle.
    using Reader = std::function<XmlText(const std::string& part)>;
    using MakeReader = std::function<Reader()>;

    explicit ParserGuard(MakeReader makeReader, unsigned seconds = 20);
    ~ParserGuard();
    ParserGuard(const ParserGuard&) = delete;
    ParserGuard& operator=(const ParserGuard&) = delete;

    // The parts the reader will parse, in its order: the child may begin.
    void expect(const std::vector<std::string>& parts);
    // Whether the parser comes through the part; waits for the child's word.
    bool passes(const std::string& part);

private:
    void start();
    void ask(const std::string& part);
    void stop();

    MakeReader makeReader_;
    unsigned seconds_;
    pid_t child_ = -1;
    int socket_ = -1;  // to the child and back
    std::string heard_;                 // what the child said, not yet taken
    std::deque<std::string> pending_;   // asked, no word yet
    std::set<std::string> asked_, passed_, failed_;
};

}  // namespace tavo::workbook
