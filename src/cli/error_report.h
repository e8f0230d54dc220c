#pragma once

#include <exception>
#include <string>

namespace tavo::cli {

// Prints the failure as "tavo: FILE: what is wrong" (usage errors also with
// `usage`) in the locale's character set and gives the exit status: 2 for
// a command line that cannot be used, 1 for anything else.
int ReportFailure(const std::exception_ptr& failure, const std::string& usage);

// Prints "tavo: FILE: note" on stderr (UTF-8 `note`) about a task that went
// through but left something out.
void ReportNote(const std::string& file, const std::string& note);

// What went wrong, in UTF-8, without the file name.
std::string FailureText(const std::exception_ptr& failure);
// The file the failure names, as given; empty when it names none.
std::string FailureFile(const std::exception_ptr& failure);

}  // namespace tavo::cli
