#include "workbook/parser_guard.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
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

// A peer that has ended raises no signal in the writer.
bool SendAll(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = send(fd, bytes + done, size - done, MSG_NOSIGNAL);  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): what is left
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool ReceiveAll(int fd, void* data, std::size_t size) {
    auto* bytes = static_cast<char*>(data);
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = recv(fd, bytes + done, size - done, 0);  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): what is left
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Receives a text into fresh pages that end where it ends, an unreadable
// page after, and parses it there.
bool ReceiveAndParse(int socket, uint64_t size) {
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t pages = (size + page - 1) / page + 1;
    void* map = mmap(nullptr, pages * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (map == MAP_FAILED) return false;
    char* const guard = static_cast<char*>(map) + (pages - 1) * page;  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): page arithmetic
    char* const start = guard - size;                                  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): against the guard
    const bool received = ReceiveAll(socket, start, size) && mprotect(guard, page, PROT_NONE) == 0;
    if (received) {
        Nothing nothing;
        orcus::sax_parser<Nothing> parser(start, size, nothing);
        try {
            parser.parse();
        } catch (...) {  // a part the parser refuses is the reader's to report
        }
    }
    munmap(map, pages * page);
    return received;
}

[[noreturn]] void Child(int socket, unsigned seconds) {
    // What the parser or the sanitizers print as they end the child is not the person's to read.
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) dup2(null, STDERR_FILENO);
    for (uint64_t size = 0; ReceiveAll(socket, &size, sizeof size);) {
        alarm(seconds);  // a parser that goes round for ever ends the child
        if (!ReceiveAndParse(socket, size)) break;
        alarm(0);
        const char done = 'y';
        if (!SendAll(socket, &done, 1)) break;
    }
    _exit(0);
}

}  // namespace

ParserGuard& ParserGuard::Process() {
    static ParserGuard guard;
    return guard;
}

ParserGuard::ParserGuard(unsigned seconds) : seconds_(seconds) {}

ParserGuard::~ParserGuard() { stop(); }

bool ParserGuard::start() {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return false;
    const pid_t pid = fork();
    if (pid == 0) {
        close(ends[0]);
        Child(ends[1], seconds_);
    }
    close(ends[1]);
    if (pid < 0) {
        close(ends[0]);
        return false;
    }
    owner_ = getpid();
    child_ = pid;
    socket_ = ends[0];
    return true;
}

void ParserGuard::stop() {
    if (child_ < 0) return;
    close(socket_);
    // A process forked since may hold the socket open: the child is ended, not waited for to see it close.
    if (owner_ == getpid()) {
        kill(child_, SIGKILL);
        int status = 0;
        while (waitpid(child_, &status, 0) < 0 && errno == EINTR) {
        }
    }
    child_ = -1;
}

bool ParserGuard::passes(std::string_view text) {
    if (child_ >= 0 && owner_ != getpid()) stop();  // the owner's child and socket are not this process's to use
    if (child_ < 0 && !start()) return true;  // no child to be had: the parser is trusted as before
    const uint64_t size = text.size();
    char done = 0;
    if (SendAll(socket_, &size, sizeof size) && SendAll(socket_, text.data(), text.size()) &&
        ReceiveAll(socket_, &done, 1) && done == 'y')
        return true;
    stop();  // the child ended in this text; the next check starts another
    return false;
}

}  // namespace tavo::workbook
