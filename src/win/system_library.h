#pragma once
// A library of the system that the program loads itself, the first time it asks for one of its
// functions, rather than importing it: what the user may never ask for costs nothing at start-up.
#include <windows.h>

#include "win/handles.h"

namespace velko {

class SystemLibrary {
public:
    // The file's name, such as "comdlg32.dll": loaded from the system directory only.
    explicit SystemLibrary(const char* fileName) : fileName_(fileName) {}

    // The function of that name, typed as Function declares it; null when the library or the
    // function is missing, which its callers take as the function's failure.
    template <class Function>
    Function* function(const char* name) {
        return reinterpret_cast<Function*>(address(name));
    }

private:
    using Address = void (*)();  // converts to and from every function pointer without a warning
    Address address(const char* name);

    const char* fileName_;
    ModuleHandle module_;
};

// The library of that file name, kept loaded once loaded until the program ends: for objects
// that may outlive their caller, and for libraries that must not be loaded twice.
template <const char* FileName>
SystemLibrary& keptLibrary() {
    static SystemLibrary library(FileName);
    return library;
}

}  // namespace velko
