// kvfind's output lines.
#pragma once

#include <string>
#include <string_view>

#include "kvvisa/visa.h"
#include "serial_port_map.h"

namespace kvfind {

// The library's switch for keeping a search off the network.
inline constexpr char kNetworkSearchVariable[] = "KVVISA_NETWORK_SEARCH";

struct SFindEntry {
    std::string name;
    std::string annotation;  // starts with its tab
};

// A find-list description: the name, a zero byte, the annotation, a zero byte.
SFindEntry EntryOf(const ViChar (&desc)[VI_FIND_BUFLEN]);

// The name and its annotation on one line, without trailing tabs or line
// ends; a serial port's line ends with a tab and the device it maps to.
std::string FindLine(const SFindEntry& entry, const kv::SerialPortMap& map);

}  // namespace kvfind
