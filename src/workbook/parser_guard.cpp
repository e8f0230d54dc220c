#include "workbook/parser_guard.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <orcus/sax_parser.hpp>

namespace tavo::workbook {

namespace {

// The parser's scanning without namespaces or a handler: what the reader's
// parse does with the bytes, at a fraction of its cost. It stops at the
// first error, where the namespaced parse stops or earlier.
struct Nothing {
    void doctype(const orcus::sax::doctype_declaration&) {}
    void start_declaration(std::string_view) {}
    void end_declaration(std::string_view) {}
    void start_element(const orcus::sax::parser_element&) {}
    void end_element(const orcus::sax::parser_element&) {}
    void characters(std::string_view, bool) {}
    void attribute(const orcus::sax::parser_attribute&) {}
};

// The text in fresh pages that end where it ends, an unreadable page after.
void ParseAgainstAGuardPage(std::string_view text) {
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t pages = (text.size() + page - 1) / page + 1;
    void* map = mmap(nullptr, pages * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (map == MAP_FAILED) return;
    char* const guard = static_cast<char*>(map) + (pages - 1) * page;  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): page arithmetic
    if (mprotect(guard, page, PROT_NONE) == 0) {
        char* const start = guard - text.size();  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): against the guard
        std::memcpy(start, text.data(), text.size());
        Nothing nothing;
        orcus::sax_parser<Nothing> parser(start, text.size(), nothing);
        try {
            parser.parse();
        } catch (...) {  // a part the parser refuses is the reader's to report
        }
    }
    munmap(map, pages * page);
}

// A child that has ended does not end the writer with a signal.
bool WriteAll(int fd, const std::string& s) {
    for (std::size_t done = 0; done < s.size();) {
        const ssize_t n = send(fd, s.data() + done, s.size() - done, MSG_NOSIGNAL);  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): what is left
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// One line from the descriptor into `line`; false at its end.
bool ReadLine(int fd, std::string& buffer, std::string& line) {
    for (;;) {
        const std::size_t end = buffer.find('\n');
        if (end != std::string::npos) {
            line = buffer.substr(0, end);
            buffer.erase(0, end + 1);
            return true;
        }
        char chunk[4096];
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        buffer.append(chunk, static_cast<std::size_t>(n));
    }
}

// Parses each part it is asked for and says so when the parser came through.
[[noreturn]] void Child(int socket, const ParserGuard::MakeReader& makeReader, unsigned seconds) {
    // What the parser or the sanitizers print as they end the child is not the person's to read.
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) dup2(null, STDERR_FILENO);
    const rlimit cpu{seconds, seconds};
    setrlimit(RLIMIT_CPU, &cpu);
    const ParserGuard::Reader read = makeReader();
    std::string buffer, part;
    while (ReadLine(socket, buffer, part)) {
        try {
            const XmlText text = read(part);
            if (text.safe()) ParseAgainstAGuardPage(text.view());
        } catch (...) {  // a part that cannot be read is the reader's to report
        }
        if (!WriteAll(socket, part + "\n")) break;
    }
    _exit(0);
}

}  // namespace

ParserGuard::ParserGuard(MakeReader makeReader, unsigned seconds) : makeReader_(std::move(makeReader)), seconds_(seconds) {}

ParserGuard::~ParserGuard() { stop(); }

void ParserGuard::start() {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return;
    const pid_t pid = fork();
    if (pid == 0) {
        close(ends[0]);
        Child(ends[1], makeReader_, seconds_);
    }
    close(ends[1]);
    if (pid < 0) {
        close(ends[0]);
        return;
    }
    child_ = pid;
    socket_ = ends[0];
    heard_.clear();
    for (const std::string& part : pending_) WriteAll(socket_, part + "\n");
}

void ParserGuard::stop() {
    if (child_ < 0) return;
    close(socket_);
    int status = 0;
    while (waitpid(child_, &status, 0) < 0 && errno == EINTR) {
    }
    child_ = -1;
}

void ParserGuard::ask(const std::string& part) {
    if (!asked_.insert(part).second) return;
    pending_.push_back(part);
    if (child_ < 0) start();
    else WriteAll(socket_, part + "\n");
}

void ParserGuard::expect(const std::vector<std::string>& parts) {
    for (const std::string& part : parts) ask(part);
}

bool ParserGuard::passes(const std::string& part) {
    ask(part);
    while (passed_.count(part) == 0 && failed_.count(part) == 0) {
        if (child_ < 0) return true;  // no child to be had: the parser is trusted as before
        std::string said;
        if (ReadLine(socket_, heard_, said)) {
            passed_.insert(said);
            if (!pending_.empty() && pending_.front() == said) pending_.pop_front();
            continue;
        }
        // The child ended in the first part it had not come through.
        stop();
        if (pending_.empty()) return true;
        failed_.insert(pending_.front());
        pending_.pop_front();
        if (!pending_.empty()) start();
    }
    return passed_.count(part) > 0;
}

}  // namespace tavo::workbook
