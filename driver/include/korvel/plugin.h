// The one entry point a driver plugin exports.
#pragma once

#include "korvel/com_base.h"

extern "C" {
// Creates an object of class `clsid` and returns interface `iid` in `object`.
typedef korvel::HRESULT (*KorvelDllGetClassObjectFn)(const korvel::CLSID* clsid,
                                                   const korvel::IID* iid, void** object);
}

inline constexpr const char* kKorvelPluginEntry = "KorvelDllGetClassObject";
