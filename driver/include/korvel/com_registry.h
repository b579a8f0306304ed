// Creating objects by class identifier: a per-process table of class
// factories. The product registers the driver plugin from the application
// folder; tests register their own factories.
#pragma once

#include <functional>
#include <string>

#include "korvel/com_base.h"

namespace korvel {

// Creates one object and returns the requested interface (with a reference
// the caller owns) or a failure result.
using ClassFactory = std::function<HRESULT(const IID& iid, void** object)>;

// Counted per thread like the platform call: every successful CoInitialize
// needs one CoUninitialize. Answers S_OK, or S_FALSE when already initialised.
HRESULT CoInitialize(void* reserved);
void CoUninitialize();

// Finds the class in the table. CLSCTX_INPROC_SERVER must be among the
// contexts (a plugin is in-process); a context of zero or with unknown bits
// gives E_INVALIDARG. Fails with CO_E_NOTINITIALIZED outside CoInitialize,
// CLASS_E_NOAGGREGATION with an outer object, REGDB_E_CLASSNOTREG for a class
// nobody registered.
HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, std::uint32_t context,
                         const IID& iid, void** object);

// Adds or replaces a class; RevokeClass removes it.
void RegisterClass(const CLSID& clsid, ClassFactory factory);
void RevokeClass(const CLSID& clsid);

// Loads a driver plugin (a shared object exporting
// "KorvelDllGetClassObject", see korvel/plugin.h) and registers the classes it
// serves. Returns false with a reason in `error` when it cannot be loaded.
bool RegisterPlugin(const std::string& path, const CLSID& clsid, std::string* error);

}  // namespace korvel
