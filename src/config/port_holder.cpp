#include "config/port_holder.h"

#include <cstdio>

#include "ui_text.h"

namespace velko {
namespace {

std::string baseName(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string processName(const Listener& listener) {
    char name[1024];
    const std::string image = baseName(listener.image);
    if (image.empty()) std::snprintf(name, sizeof name, text::kHolderUnnamedProcess.data(), listener.processId);
    else std::snprintf(name, sizeof name, text::kHolderProcess.data(), image.c_str(), listener.processId);
    return name;
}

}  // namespace

std::string portHolderName(const std::vector<Listener>& listeners, BindRefusal refusal) {
    // Under Wine every listener shows process 0, which names nobody.
    for (const Listener& listener : listeners) {
        if (listener.processId == kSystemProcessId) return std::string(text::kHolderHttpService);
        if (listener.processId != 0) return processName(listener);
    }
    if (listeners.empty() && refusal == BindRefusal::AccessDenied) return std::string(text::kHolderReservedRange);
    return std::string(text::kHolderUnknown);
}

}  // namespace velko
