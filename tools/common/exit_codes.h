// Exit codes shared by the command-line tools; scripts rely on them.
#pragma once

namespace kvtools {

enum ExitCode : int {
    kExitOk = 0,          // everything worked (kvmon: ended by an interrupt)
    kExitFailed = 1,      // a line failed or the link failed
    kExitUsage = 2,       // bad command line
    kExitOpenFailed = 3,  // the resource could not be opened
};

}  // namespace kvtools
