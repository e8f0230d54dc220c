#include "cli/error_report.h"

#include <iostream>

#include "base/error.h"
#include "base/sjis_messages.h"
#include "cli/cli_args.h"
#include "cli/text_encoding.h"
#include "platform/encoding.h"

namespace tavo::cli {

namespace {

struct Failure {
    std::string file;     // as given on the command line
    std::string message;  // UTF-8
    bool usage = false;
    bool withUsage = false;
};

// The class library's Japanese messages, which hosts show, after an
// English sentence of the command's own.
std::string inEnglish(const std::string& cp932) {
    const struct {
        const char* library;
        const char* english;
    } kKnown[] = {{sjis::kCannotOpenFile, "cannot be opened"}, {sjis::kCannotCreateFile, "cannot be written"}};
    for (const auto& known : kKnown) {
        const std::string library = known.library;
        if (cp932.compare(0, library.size(), library) != 0) continue;
        std::string reason = cp932.substr(library.size());  // " (No such file or directory)"
        if (reason.size() > 3 && reason.compare(0, 2, " (") == 0 && reason.back() == ')')
            reason = ": " + reason.substr(2, reason.size() - 3);
        return known.english + platform::Cp932ToUtf8(reason) + " (the library says: " +
               platform::Cp932ToUtf8(library) + ")";
    }
    return platform::Cp932ToUtf8(cp932);
}

Failure describe(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const UsageError& e) {
        return {"", e.message, true, e.withUsage};
    } catch (const CommandError& e) {
        return {e.file, e.message};
    } catch (const Error& e) {
        // Only the library's own text is Shift-JIS; the file name came from
        // the command line as it is.
        if (!e.file().empty()) return {e.file(), inEnglish(e.detail())};
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
    if (f.withUsage) std::cerr << usage;
    return f.usage ? 2 : 1;
}

void ReportNote(const std::string& file, const std::string& note) {
    std::cout.flush();
    std::cerr << "tavo: " << file << ": " << Utf8ForPerson(note) << "\n";
}

std::string FailureText(const std::exception_ptr& failure) { return describe(failure).message; }

std::string FailureFile(const std::exception_ptr& failure) { return describe(failure).file; }

}  // namespace tavo::cli
