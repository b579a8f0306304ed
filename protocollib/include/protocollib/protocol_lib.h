/*
 * The protocol description library: names and value formats of the
 * instruments' commands, parameters and statuses, read from a description
 * file ("Protocol.xml"). Loaded by name at run time by the text-command
 * layer of KvVISA, which looks every entry point up by its name.
 *
 * Texts returned belong to the context and stay valid until the context is
 * closed. Every entry point accepts a null context and then answers as for
 * an unknown name or code.
 */
#ifndef PROTOCOLLIB_PROTOCOL_LIB_H
#define PROTOCOLLIB_PROTOCOL_LIB_H

#if defined(__cplusplus)
extern "C" {
#endif

#if defined(__GNUC__)
#define PROTOCOLLIB_EXPORT __attribute__((visibility("default")))
#else
#define PROTOCOLLIB_EXPORT
#endif

typedef struct ProtocolContext ProtocolContext;

/* Creates an empty context; 0 on success, negative on failure (*context null). */
PROTOCOLLIB_EXPORT int OpenSession(ProtocolContext** context);

/* Loads a description file into the context, replacing what it held.
   A relative name is looked for in the working directory, then beside this
   library, then in the program's own folder. 0 on success, negative when
   the file cannot be found or read or is not a protocol description. */
PROTOCOLLIB_EXPORT int ProtLoadFromFile(ProtocolContext* context, const char* fileName);

/* Code of a command by its (upper-case) name; negative when unknown. */
PROTOCOLLIB_EXPORT int GetCommandID(ProtocolContext* context, const char* name);

/* Identifier of a parameter by its (upper-case) name; negative when unknown. */
PROTOCOLLIB_EXPORT int GetParameterID(ProtocolContext* context, const char* name);

/* Bytes per value of a parameter's value number `index` (0 for the first);
   0 when not defined. */
PROTOCOLLIB_EXPORT int GetParameterSize(ProtocolContext* context, int parameterId, int index);

/* Fraction bytes per value of a parameter's value number `index`; 0 when
   not defined. */
PROTOCOLLIB_EXPORT int GetParameterFract(ProtocolContext* context, int parameterId, int index);

/* Name of a command code; "" when unknown. */
PROTOCOLLIB_EXPORT const char* GetCommandName(ProtocolContext* context, int command);

/* Name of a parameter identifier; "" when unknown. */
PROTOCOLLIB_EXPORT const char* GetParameterName(ProtocolContext* context, int parameterId);

/* Name of a status code (the first entry with that value); "" when unknown. */
PROTOCOLLIB_EXPORT const char* GetErrorName(ProtocolContext* context, short status);

/* Releases the context; a null context is ignored. */
PROTOCOLLIB_EXPORT void CloseSession(ProtocolContext* context);

#if defined(__cplusplus)
}
#endif

#endif /* PROTOCOLLIB_PROTOCOL_LIB_H */
