#include "forms/form_toolkit.h"

#include "base/error.h"

namespace tavo {

FormText FormTextOf(const std::exception& failure) {
    const auto* error = dynamic_cast<const Error*>(&failure);
    if (!error) return FormText::Plain(failure.what());
    const std::string& message = error->message();
    const std::string& file = error->file();
    const std::size_t at = file.empty() ? std::string::npos : message.find(file);
    if (at == std::string::npos) return FormText::Plain(message);
    return {message.substr(0, at), file, message.substr(at + file.size())};
}

}  // namespace tavo
