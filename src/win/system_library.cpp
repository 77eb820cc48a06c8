#include "win/system_library.h"

namespace velko {

SystemLibrary::Address SystemLibrary::address(const char* name) {
    if (!module_) module_.reset(LoadLibraryExA(fileName_, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!module_) return nullptr;
    return reinterpret_cast<Address>(GetProcAddress(module_.get(), name));
}

}  // namespace velko
