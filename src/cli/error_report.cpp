#include "cli/error_report.h"

#include <iostream>

#include "base/error.h"
#include "cli/cli_args.h"
#include "cli/text_encoding.h"
#include "platform/encoding.h"

namespace tavo::cli {

namespace {

struct Failure {
    std::string file;     // as given on the command line
    std::string message;  // UTF-8
    bool usage = false;
};

Failure describe(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const UsageError& e) {
        return {"", e.message, true};
    } catch (const CommandError& e) {
        return {e.file, e.message};
    } catch (const Error& e) {
        // Only the library's own text is Shift-JIS; the file name came from
        // the command line as it is.
        if (!e.file().empty()) return {e.file(), platform::Cp932ToUtf8(e.detail())};
        return {"", platform::Cp932ToUtf8(e.message())};
    } catch (const std::exception& e) {
        return {"", e.what()};
    } catch (...) {
        return {"", "unexpected failure"};
    }
}

}  // namespace

int ReportFailure(const std::exception_ptr& failure, const std::string& usage) {
    const Failure f = describe(failure);
    std::cout.flush();
    std::cerr << "tavo: " << (f.file.empty() ? "" : f.file + ": ") << Utf8ForPerson(f.message) << "\n";
    if (f.usage) std::cerr << usage;
    return f.usage ? 2 : 1;
}

void ReportNote(const std::string& file, const std::string& note) {
    std::cout.flush();
    std::cerr << "tavo: " << file << ": " << Utf8ForPerson(note) << "\n";
}

std::string FailureText(const std::exception_ptr& failure) { return describe(failure).message; }

}  // namespace tavo::cli
