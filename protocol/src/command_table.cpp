#include "kvproto/dictionary.h"

namespace kvproto {

// In the order of the command codes (ECommand): the position is the code.
const CDictionary& CommandDictionary() {
    static const CDictionary dictionary({
        {"KV_TEST", "", 0},
        {"KV_RESET", "", 0},
        {"KV_INIT", "", 0},
        {"KV_SET", "", 0},
        {"KV_GET", "", 0},
        {"KV_GET_LIST", "", 0},
        {"KV_RUN", "", 0},
    });
    return dictionary;
}

}  // namespace kvproto
