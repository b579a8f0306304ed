// Finding instruments on the network through the VISA library's resource
// search. The search broadcasts on every interface of the machine and blocks
// for a fraction of a second; callers run it off the GUI thread.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace korvel {

struct FoundInstrument {
    std::string resource;     // "TCPIP1::192.168.1.20::8888::SOCKET"
    std::string host;         // "192.168.1.20" (or the host name the library found)
    std::string port;         // "8888"
    std::string description;  // the instrument's own description, trimmed
};

// Splits a found resource name and its annotation ("\tdescription" as the
// library gives it). Nothing for a name that is not "TCPIP[n]::host::port::SOCKET".
std::optional<FoundInstrument> ParseFoundResource(const std::string& resource,
                                                  const std::string& annotation);

// Runs the search with `expression` (the instrument name to look for; empty
// finds every instrument). Returns the instruments found in the library's
// order; an empty list when none answered or the library failed.
std::vector<FoundInstrument> SearchInstruments(const std::string& expression);

}  // namespace korvel
