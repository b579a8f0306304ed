// FTDI's D2XX library, loaded by name when a USB session needs it and
// unloaded when done; never linked. Each entry point is looked up by name at
// each use, so a library that lacks one still serves the others.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "d2xx/d2xx.h"

namespace kv {

// Names the one library to load instead of the usual search (a path or a
// plain name).
inline constexpr char kD2xxLibraryVariable[] = "KVVISA_D2XX_LIBRARY";
// FTDI's own library, looked for through the dynamic loader's search.
inline constexpr char kVendorD2xxLibrary[] = "libftd2xx.so";
// Ours over libftdi1, beside libKvVISA.so.
inline constexpr char kOwnD2xxLibrary[] = "libKvD2XX.so";

// The libraries tried, in order: the one `chosen` names when it is not
// empty, else FTDI's through the loader's search, then ours in `ownFolder`.
std::vector<std::string> D2xxLibraryCandidates(const std::string& chosen,
                                               const std::string& ownFolder);
// The candidates for this process (environment and the library's folder).
std::vector<std::string> DefaultD2xxLibraryCandidates();

class CD2xxLibrary {
public:
    // The first candidate that loads; null when none does.
    static std::unique_ptr<CD2xxLibrary> Load(const std::vector<std::string>& candidates);
    static std::unique_ptr<CD2xxLibrary> Load() { return Load(DefaultD2xxLibraryCandidates()); }
    ~CD2xxLibrary();
    CD2xxLibrary(const CD2xxLibrary&) = delete;
    CD2xxLibrary& operator=(const CD2xxLibrary&) = delete;

    // The entry point of that name, or null.
    void* Symbol(const char* name) const;

private:
    explicit CD2xxLibrary(void* handle) : handle_(handle) {}

    void* handle_;
};

// Looks a D2XX function up by its own name, typed as declared; null when the
// library lacks it. (dlsym hands out an object pointer; these are functions.)
#define KV_D2XX_ENTRY(library, function) \
    (reinterpret_cast<decltype(&::function)>((library).Symbol(#function)))

}  // namespace kv
