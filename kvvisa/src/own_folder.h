// Where the library itself lives, so it can load its companion libraries from
// beside it.
#pragma once

#include <string>

namespace kv {

// The folder of libKvVISA.so, or of the program when the library is linked
// into it statically; empty when it cannot be told.
std::string OwnFolder();

}  // namespace kv
