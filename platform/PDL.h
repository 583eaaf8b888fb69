// Stand-in for the phone platform's plug-in library: the C interface the
// engine was written against. Two implementations exist: libpdl (platform/),
// whose script side is a local HTTP bridge, and pdlfake, an in-process double
// for unit tests.
#ifndef LEXORA_PLATFORM_PDL_H
#define LEXORA_PLATFORM_PDL_H

#ifdef __cplusplus
extern "C" {
#endif

typedef int PDL_bool;
typedef int PDL_Err;  // 0 = success
#define PDL_NOERROR 0
#define PDL_EINVALIDINPUT 1
#define PDL_ECONNECTION 2
#define PDL_EMEMORY 3
#define PDL_EOTHER 4

// Opaque block describing one script call; valid only during the handler.
typedef struct PDL_JSParameters PDL_JSParameters;
typedef PDL_bool (*PDL_JSHandlerFunc)(PDL_JSParameters* params);

// Starts the library (the bridge listens from here on). flags must be 0.
PDL_Err PDL_Init(unsigned int flags);
// Makes `handler` callable from the script side under `name`.
PDL_Err PDL_RegisterJSHandler(const char* name, PDL_JSHandlerFunc handler);
// Ends registration; calls arrive only after this.
PDL_Err PDL_JSRegistrationComplete(void);
// Number of arguments of the current call.
int PDL_GetNumJSParams(PDL_JSParameters* params);
// Argument `index` as a C string owned by the library ("" when absent).
const char* PDL_GetJSParamString(PDL_JSParameters* params, int index);
// Argument `index` as an integer (0 when absent or not a number).
int PDL_GetJSParamInt(PDL_JSParameters* params, int index);
// Raises a script exception for the current call with `message`.
PDL_Err PDL_JSException(PDL_JSParameters* params, const char* message);
// Calls script function `functionName` with `numParams` string arguments.
// Returns PDL_NOERROR once the call is queued for the script side.
PDL_Err PDL_CallJS(const char* functionName, const char** params, int numParams);
// Text of the last error of this library.
const char* PDL_GetError(void);
// Writes the full path of `name` in the per-user data directory into
// `buffer` (`bufferLen` bytes). Fails when the path does not fit.
PDL_Err PDL_GetDataFilePath(const char* name, char* buffer, int bufferLen);
// Stops the library; no handler is called afterwards.
void PDL_Quit(void);

#ifdef __cplusplus
}
#endif

#endif  // LEXORA_PLATFORM_PDL_H
