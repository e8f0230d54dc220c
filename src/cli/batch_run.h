#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace tavo::cli {

// How one task of a batch ended: what it has to say on stderr (whole
// lines, ready to print) and its JSON object.
struct Outcome {
    bool ok = false;
    std::string messages;
    std::string json;
    std::string lost;  // the task's process ended without an outcome: how
};

// Runs task(0) .. task(count - 1) and hands each outcome to `done` in task
// order, with the task's number. With `jobs` above 1 the tasks run in processes of their own, at
// most `jobs` at once, so that the library's state is each one's own; a
// process that dies is a failed task. A task never stops the others.
void RunEach(std::size_t count, int jobs, const std::function<Outcome(std::size_t)>& task,
             const std::function<void(std::size_t, const Outcome&)>& done);

}  // namespace tavo::cli
