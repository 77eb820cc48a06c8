#pragma once
// The thread's COM apartment, single-threaded, entered the first time something on the thread
// needs it and left by its owner on the same thread.
#include "win/system_library.h"

namespace velko {

class ComApartment {
public:
    ComApartment() = default;
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // Enters the apartment unless this owner has entered it already. Another owner on the thread
    // having entered it first is fine: the platform counts the entries.
    void enter();

private:
    SystemLibrary ole32_{"ole32.dll"};
    bool entered_ = false;
};

}  // namespace velko
