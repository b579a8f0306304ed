/*
 * KvVISA: fundamental VISA data types.
 *
 * The types follow the published VISA C interface, including its rules for
 * 64-bit environments: there ViAttrState, ViBusAddress and ViBusSize are 64
 * bits wide, while ViSession, ViStatus and ViAttr stay 32 bits.
 */
#ifndef KVVISA_VISATYPE_H
#define KVVISA_VISATYPE_H

#if defined(_WIN64) || defined(__LP64__) || defined(_LP64)
#define _VISA_ENV_IS_64_BIT
#endif

#define _VI_INT64_UINT64_DEFINED

#define _VI_FAR
#define _VI_FUNC
#define _VI_FUNCC
#define _VI_FUNCH
#define _VI_SIGNED signed
#define _VI_PTR *

#define _VI_ERROR (-2147483647L - 1)

/* Fixed-width integers. */
typedef unsigned long long ViUInt64;
typedef signed long long ViInt64;
typedef ViUInt64 _VI_PTR ViPUInt64;
typedef ViUInt64 _VI_PTR ViAUInt64;
typedef ViInt64 _VI_PTR ViPInt64;
typedef ViInt64 _VI_PTR ViAInt64;

#if defined(_VISA_ENV_IS_64_BIT)
typedef unsigned int ViUInt32;
typedef _VI_SIGNED int ViInt32;
#else
typedef unsigned long ViUInt32;
typedef _VI_SIGNED long ViInt32;
#endif
typedef ViUInt32 _VI_PTR ViPUInt32;
typedef ViUInt32 _VI_PTR ViAUInt32;
typedef ViInt32 _VI_PTR ViPInt32;
typedef ViInt32 _VI_PTR ViAInt32;

typedef unsigned short ViUInt16;
typedef ViUInt16 _VI_PTR ViPUInt16;
typedef ViUInt16 _VI_PTR ViAUInt16;
typedef _VI_SIGNED short ViInt16;
typedef ViInt16 _VI_PTR ViPInt16;
typedef ViInt16 _VI_PTR ViAInt16;

typedef unsigned char ViUInt8;
typedef ViUInt8 _VI_PTR ViPUInt8;
typedef ViUInt8 _VI_PTR ViAUInt8;
typedef _VI_SIGNED char ViInt8;
typedef ViInt8 _VI_PTR ViPInt8;
typedef ViInt8 _VI_PTR ViAInt8;

typedef char ViChar;
typedef ViChar _VI_PTR ViPChar;
typedef ViChar _VI_PTR ViAChar;
typedef unsigned char ViByte;
typedef ViByte _VI_PTR ViPByte;
typedef ViByte _VI_PTR ViAByte;
typedef void _VI_PTR ViAddr;
typedef ViAddr _VI_PTR ViPAddr;
typedef ViAddr _VI_PTR ViAAddr;
typedef float ViReal32;
typedef ViReal32 _VI_PTR ViPReal32;
typedef ViReal32 _VI_PTR ViAReal32;
typedef double ViReal64;
typedef ViReal64 _VI_PTR ViPReal64;
typedef ViReal64 _VI_PTR ViAReal64;

typedef ViPByte ViBuf;
typedef const ViByte _VI_PTR ViConstBuf;
typedef ViPByte ViPBuf;
typedef ViPByte _VI_PTR ViABuf;

typedef ViPChar ViString;
typedef const ViChar _VI_PTR ViConstString;
typedef ViPChar ViPString;
typedef ViPChar _VI_PTR ViAString;

typedef ViString ViRsrc;
typedef ViConstString ViConstRsrc;
typedef ViString ViPRsrc;
typedef ViString _VI_PTR ViARsrc;

typedef ViUInt16 ViBoolean;
typedef ViBoolean _VI_PTR ViPBoolean;
typedef ViBoolean _VI_PTR ViABoolean;

typedef ViInt32 ViStatus;
typedef ViStatus _VI_PTR ViPStatus;
typedef ViStatus _VI_PTR ViAStatus;

typedef ViUInt32 ViVersion;
typedef ViVersion _VI_PTR ViPVersion;
typedef ViVersion _VI_PTR ViAVersion;

typedef ViUInt32 ViObject;
typedef ViObject _VI_PTR ViPObject;
typedef ViObject _VI_PTR ViAObject;

typedef ViObject ViSession;
typedef ViSession _VI_PTR ViPSession;
typedef ViSession _VI_PTR ViASession;

typedef ViUInt32 ViAttr;

typedef const ViChar _VI_PTR ViConstKeyId;

/* Completion and error codes. */
#define VI_SUCCESS (0L)
#define VI_NULL (0)
#define VI_TRUE (1)
#define VI_FALSE (0)

#endif /* KVVISA_VISATYPE_H */
