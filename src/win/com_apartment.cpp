#include "win/com_apartment.h"

#include <objbase.h>

namespace velko {

ComApartment::~ComApartment() {
    if (!entered_) return;
    if (const auto leave = ole32_.function<decltype(CoUninitialize)>("CoUninitialize")) leave();
}

void ComApartment::enter() {
    if (entered_) return;
    const auto enterApartment = ole32_.function<decltype(CoInitializeEx)>("CoInitializeEx");
    // S_FALSE, the apartment entered already on this thread, is an entry to leave as well.
    entered_ = enterApartment && SUCCEEDED(enterApartment(nullptr, COINIT_APARTMENTTHREADED));
}

}  // namespace velko
