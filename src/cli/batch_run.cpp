#include "cli/batch_run.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <map>
#include <string_view>
#include <vector>

#include "base/error.h"

namespace tavo::cli {

namespace {

void appendField(std::string& out, const std::string& field) {
    const uint64_t n = field.size();
    out.append(reinterpret_cast<const char*>(&n), sizeof n);  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast): the length's bytes
    out += field;
}

std::string encode(const Outcome& o) {
    std::string out(1, o.ok ? '1' : '0');
    appendField(out, o.messages);
    appendField(out, o.json);
    return out;
}

bool takeField(const std::string& in, std::size_t& at, std::string& field) {
    uint64_t n = 0;
    if (in.size() - at < sizeof n) return false;
    std::memcpy(&n, std::string_view(in).substr(at).data(), sizeof n);
    at += sizeof n;
    if (in.size() - at < n) return false;
    field = in.substr(at, n);
    at += n;
    return true;
}

Outcome decode(const std::string& in, int status) {
    Outcome o;
    std::size_t at = 1;
    if (in.empty() || !takeField(in, at, o.messages) || !takeField(in, at, o.json)) {
        o.lost = "the conversion ended without a result (" +
                     (WIFSIGNALED(status) ? "signal " + std::to_string(WTERMSIG(status))
                                          : "status " + std::to_string(WEXITSTATUS(status))) +
                     ")";
        return o;
    }
    o.ok = in[0] == '1';
    return o;
}

void writeAll(int fd, const std::string& bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::string_view rest = std::string_view(bytes).substr(at);
        const ssize_t n = write(fd, rest.data(), rest.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        at += static_cast<std::size_t>(n);
    }
}

struct Running {
    pid_t pid;
    std::size_t task;
    std::string bytes;
};

// Runs the task in a child that hands back its outcome through a pipe and
// ends without running this process's destructors (its private folders
// stay for the others).
Running start(std::size_t task, const std::function<Outcome(std::size_t)>& run, int& readEnd) {
    std::array<int, 2> fds{};
    if (pipe(fds.data()) != 0) throw Error("cannot start a conversion: " + systemErrorText(errno));
    std::cout.flush();
    std::cerr.flush();
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        throw Error("cannot start a conversion: " + systemErrorText(errno));
    }
    if (pid == 0) {
        close(fds[0]);
        Outcome outcome;
        try {
            outcome = run(task);
        } catch (...) {
            outcome.lost = "unexpected failure";
        }
        writeAll(fds[1], encode(outcome));
        close(fds[1]);
        _exit(0);
    }
    close(fds[1]);
    readEnd = fds[0];
    return {pid, task, {}};
}

}  // namespace

void RunEach(std::size_t count, int jobs, const std::function<Outcome(std::size_t)>& task,
             const std::function<void(std::size_t, const Outcome&)>& done) {
    if (jobs <= 1) {
        for (std::size_t i = 0; i < count; ++i) done(i, task(i));
        return;
    }
    std::map<int, Running> running;  // by the pipe's read end
    std::map<std::size_t, Outcome> finished;
    std::size_t next = 0, reported = 0;
    while (reported < count) {
        while (next < count && running.size() < static_cast<std::size_t>(jobs)) {
            int fd = -1;
            Running r = start(next++, task, fd);
            running.emplace(fd, std::move(r));
        }
        std::vector<pollfd> fds;
        fds.reserve(running.size());
        for (const auto& entry : running) fds.push_back({entry.first, POLLIN, 0});
        if (poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR)
            throw Error("cannot wait for the conversions: " + systemErrorText(errno));
        for (const pollfd& p : fds) {
            if (p.revents == 0) continue;
            Running& r = running.at(p.fd);
            std::array<char, 65536> buffer{};
            const ssize_t n = read(p.fd, buffer.data(), buffer.size());
            if (n < 0 && errno == EINTR) continue;
            if (n > 0) {
                r.bytes.append(buffer.data(), static_cast<std::size_t>(n));
                continue;
            }
            close(p.fd);
            int status = 0;
            while (waitpid(r.pid, &status, 0) < 0 && errno == EINTR) {
            }
            finished.emplace(r.task, decode(r.bytes, status));
            running.erase(p.fd);
        }
        for (auto it = finished.find(reported); it != finished.end(); it = finished.find(reported)) {
            done(reported, it->second);
            finished.erase(it);
            ++reported;
        }
    }
}

}  // namespace tavo::cli
