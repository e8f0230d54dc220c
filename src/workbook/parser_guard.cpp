#include "workbook/parser_guard.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
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

std::size_t PageSize() { return static_cast<std::size_t>(sysconf(_SC_PAGESIZE)); }

// Where a text of `size` bytes starts in the shared file: it ends at a page's end.
std::size_t TextOffset(std::size_t size) {
    const std::size_t page = PageSize();
    return (size + page - 1) / page * page - size;
}

// Maps the text the owner wrote to the shared file so that it ends where an
// unreadable page begins, and parses it there.
bool MapAndParse(int shared, uint64_t size) {
    const std::size_t page = PageSize();
    const std::size_t pages = (size + page - 1) / page;
    void* map = mmap(nullptr, (pages + 1) * page, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (map == MAP_FAILED) return false;
    const bool mapped = mmap(map, pages * page, PROT_READ, MAP_SHARED | MAP_FIXED | MAP_POPULATE, shared, 0) != MAP_FAILED;
    if (mapped) {
        const char* const text = static_cast<const char*>(map) + TextOffset(size);  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): against the guard
        Nothing nothing;
        orcus::sax_parser<Nothing> parser(text, size, nothing);
        try {
            parser.parse();
        } catch (...) {  // a part the parser refuses is the reader's to report
        }
    }
    munmap(map, (pages + 1) * page);
    return mapped;
}

[[noreturn]] void Child(int socket, int shared, unsigned seconds) {
    // What the parser or the sanitizers print as they end the child is not the person's to read.
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) dup2(null, STDERR_FILENO);
    // A fault ends the child at once: handlers of the owner (a sanitizer's,
    // a fuzzer's) would report it, or keep the child alive.
    for (const int fault : {SIGSEGV, SIGBUS, SIGABRT, SIGFPE, SIGILL, SIGALRM}) signal(fault, SIG_DFL);
    for (uint64_t size = 0; ReceiveAll(socket, &size, sizeof size);) {
        alarm(seconds);  // a parser that goes round for ever ends the child
        if (!MapAndParse(shared, size)) break;
        alarm(0);
        const char done = 'y';
        if (!SendAll(socket, &done, 1)) break;
    }
    _exit(0);
}

// Writes the text where the child maps it; the file's pages are the copy
// the child reads, with no copying through the socket.
bool WriteShared(int shared, std::string_view text) {
    if (ftruncate(shared, 0) != 0) return false;
    auto offset = static_cast<off_t>(TextOffset(text.size()));
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = pwrite(shared, text.data() + done, text.size() - done, offset);  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): what is left
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
        offset += n;
    }
    return true;
}

}  // namespace

ParserGuard& ParserGuard::Process() {
    static ParserGuard guard;
    return guard;
}

ParserGuard::ParserGuard(unsigned seconds) : seconds_(seconds) {}

ParserGuard::~ParserGuard() { stop(); }

bool ParserGuard::start() {
    const int shared = memfd_create("tavo-part", MFD_CLOEXEC);
    if (shared < 0) return false;
    std::array<int, 2> ends{};
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends.data()) != 0) {
        close(shared);
        return false;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        close(ends[0]);
        Child(ends[1], shared, seconds_);
    }
    close(ends[1]);
    if (pid < 0) {
        close(ends[0]);
        close(shared);
        return false;
    }
    shared_ = shared;
    owner_ = getpid();
    child_ = pid;
    socket_ = ends[0];
    return true;
}

void ParserGuard::stop() {
    if (child_ < 0) return;
    close(socket_);
    close(shared_);
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
    if (text.empty()) return true;  // nothing the parser could read past
    if (!WriteShared(shared_, text)) return ftruncate(shared_, 0), true;  // no room for the copy: trusted as without a child
    const uint64_t size = text.size();
    char done = 0;
    const bool passed = SendAll(socket_, &size, sizeof size) && ReceiveAll(socket_, &done, 1) && done == 'y';
    if (ftruncate(shared_, 0) == 0 && passed) return true;  // the copy's memory is given back at once
    stop();  // the child ended in this text; the next check starts another
    return false;
}

}  // namespace tavo::workbook
