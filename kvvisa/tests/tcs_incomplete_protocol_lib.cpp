// A protocol description library that lacks one entry point (GetErrorName):
// the text-command layer must refuse it as a whole.
#include "protocollib/protocol_lib.h"

struct ProtocolContext {};

namespace {
ProtocolContext theContext;
}

extern "C" {

int OpenSession(ProtocolContext** context) {
    *context = &theContext;
    return 0;
}
int ProtLoadFromFile(ProtocolContext*, const char*) { return 0; }
int GetCommandID(ProtocolContext*, const char*) { return 1; }
int GetParameterID(ProtocolContext*, const char*) { return 1; }
int GetParameterSize(ProtocolContext*, int, int) { return 2; }
int GetParameterFract(ProtocolContext*, int, int) { return 0; }
const char* GetCommandName(ProtocolContext*, int) { return "COMMAND"; }
const char* GetParameterName(ProtocolContext*, int) { return "PARAMETER"; }
void CloseSession(ProtocolContext*) {}

}  // extern "C"
