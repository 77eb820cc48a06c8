#pragma once
// A system DLL that only a rarely used feature needs: loaded from the system directory when the
// feature runs, not at start-up, and freed with its owner.
#include <windows.h>

#include "win/handles.h"

namespace velko {

struct FreeLibraryModule {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};

class LateLibrary {
public:
    explicit LateLibrary(const wchar_t* name) : module_(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}

    // The exported function as the type of the declaration given, or null where the DLL or the
    // function is missing.
    template <class Function>
    Function* function(const char* name) const {
        if (!module_) return nullptr;
        return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(module_.get(), name)));
    }

private:
    UniqueHandle<HMODULE, nullptr, FreeLibraryModule> module_;
};

}  // namespace velko
