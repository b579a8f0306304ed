// The part of FTDI's D2XX interface that KvVISA relies on: seven functions,
// their status codes and the device-list node, in the layout of FTDI's
// published programmer's guide for this platform. KvVISA only looks the
// functions up by name in a library it loads; the libraries that serve them
// (FTDI's own, ours over libftdi1, the tests' fake) define them.
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// ULONG and DWORD are 32 bits wide in the D2XX headers for Linux.
typedef uint32_t FT_STATUS;
typedef void* FT_HANDLE;

enum {
    FT_OK = 0,
    FT_INVALID_HANDLE = 1,
    FT_DEVICE_NOT_FOUND = 2,
    FT_DEVICE_NOT_OPENED = 3,
    FT_IO_ERROR = 4,
    FT_INSUFFICIENT_RESOURCES = 5,
    FT_INVALID_PARAMETER = 6,
    FT_OTHER_ERROR = 18,
};

// What FT_OpenEx's first argument is.
enum { FT_OPEN_BY_SERIAL_NUMBER = 1 };

// Bit 0 of Flags: the device is open (by this or another process).
enum { FT_FLAGS_OPENED = 1 };

typedef struct {
    uint32_t Flags;
    uint32_t Type;
    uint32_t ID;  // vendor id << 16 | product id
    uint32_t LocId;
    char SerialNumber[16];
    char Description[64];
    FT_HANDLE ftHandle;
} FT_DEVICE_LIST_INFO_NODE;

#if UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
// Where the library reads the node's fields; a wrong layout would read
// another field's bytes as the serial number.
#ifdef __cplusplus
static_assert(sizeof(FT_DEVICE_LIST_INFO_NODE) == 104, "D2XX node of 64-bit Linux");
static_assert(offsetof(FT_DEVICE_LIST_INFO_NODE, SerialNumber) == 16, "serial at byte 16");
static_assert(offsetof(FT_DEVICE_LIST_INFO_NODE, Description) == 32, "description at byte 32");
#endif
#endif

FT_STATUS FT_CreateDeviceInfoList(uint32_t* numDevs);
FT_STATUS FT_GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* dest, uint32_t* numDevs);
FT_STATUS FT_OpenEx(void* arg, uint32_t flags, FT_HANDLE* handle);
FT_STATUS FT_SetTimeouts(FT_HANDLE handle, uint32_t readTimeoutMs, uint32_t writeTimeoutMs);
FT_STATUS FT_Read(FT_HANDLE handle, void* buffer, uint32_t bytesToRead, uint32_t* bytesReturned);
FT_STATUS FT_Write(FT_HANDLE handle, void* buffer, uint32_t bytesToWrite, uint32_t* bytesWritten);
FT_STATUS FT_Close(FT_HANDLE handle);

#ifdef __cplusplus
}
#endif
