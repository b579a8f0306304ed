// The driver as the client gets it: the plugin from the application folder,
// registered once, created through CoCreateInstance.
#pragma once

#include <string>

#include "korvel/com_registry.h"
#include "korvel/korvel_v8n.h"

namespace drvtest {

// A driver object, or an empty reference (with a test failure) when none
// could be made. Initialises COM on the calling thread as the client does.
korvel::ComPtr<korvel::IKorvelV8N> CreateDriver();

// Fetches a sub-interface through a getter of `from`.
template <typename Interface, typename From, typename Getter>
korvel::ComPtr<Interface> Part(const korvel::ComPtr<From>& from, Getter getter) {
    korvel::ComPtr<Interface> part;
    if (from) ((*from.Get()).*getter)(part.Receive());
    return part;
}

}  // namespace drvtest
