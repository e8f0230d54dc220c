#include "base/error.h"

#include <cstring>

#include "base/sjis_messages.h"

namespace tavo {

Error::Error(std::string message) : detail_(message), message_(std::move(message)) {}

Error::Error(std::string file, std::string detail, std::string message)
    : file_(std::move(file)), detail_(std::move(detail)), message_(std::move(message)) {}

namespace {

std::string withReason(std::string text, const std::string& reason) {
    if (!reason.empty()) text += " (" + reason + ")";
    return text;
}

}  // namespace

Error Error::cannotCreate(const std::string& file, const std::string& reason) {
    return Error(file, withReason(sjis::kCannotCreateFile, reason),
                 withReason(sjis::kFile + file + sjis::kCannotCreateSuffix, reason));
}

Error Error::cannotOpen(const std::string& file, const std::string& reason) {
    return Error(file, withReason(sjis::kCannotOpenFile, reason),
                 withReason(sjis::kFile + file + sjis::kCannotOpenSuffix, reason));
}

Error Error::badFile(const std::string& file, const std::string& detail) {
    return Error(file, detail, file + ": " + detail);
}

std::string systemErrorText(int errnum) {
    return errnum == 0 ? std::string() : std::string(std::strerror(errnum));
}

}  // namespace tavo
