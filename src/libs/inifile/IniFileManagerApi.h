#pragma once
/*
 * C interface of the INI-file library, libIniFileManager.so.
 *
 * The program loads the library at run time (dlopen) from its own folder and looks
 * up the 15 entry points by name, in the order of INIFM_FOR_EACH_ENTRY_POINT. This
 * header is shared by the library and its caller; it is plain C so that either side
 * can be rebuilt alone.
 *
 * Files
 *   The files are ordinary UTF-8 INI files ("[Section]" lines and "key = value"
 *   lines) that other INI readers read back. Every change is stored at once: a
 *   setter returns only after the whole file has been written to a temporary file
 *   in the same folder and renamed over the old one, so a file is never left half
 *   written. A file that cannot be read safely (larger than 1 MiB, containing zero
 *   bytes, or holding a line that is neither a section, a "key = value" pair, a
 *   comment nor blank) is refused by OpenIniFile and left untouched.
 *
 * Node paths (zero-terminated UTF-8)
 *   A value is named "Section/Key": the text after the last "/" is the key, the
 *   text before it the section (which may itself contain "/"). A path without "/"
 *   names a key of the section INIFM_DEFAULT_SECTION. Operations on keys and arrays
 *   (GetKeyCount, GetKeyNameAt and the array operations) take the section's name
 *   as the whole node path; the empty path names INIFM_DEFAULT_SECTION.
 *   Section and key names compare without regard to ASCII case.
 *
 *   An array is a section whose keys are "0", "1", ... "n-1"; its count is the
 *   number of such keys present from "0" on.
 *
 *   Names and values are refused (INIFM_E_INVALIDARG) when the INI form could not
 *   give them back unchanged: line breaks anywhere; spaces or tabs at either end;
 *   in a key name "=", ":", or a leading "[", ";" or "#"; in a section name "]".
 *
 * Results
 *   INIFM_OK                success.
 *   INIFM_NOT_FOUND         a getter found no value: the default is handed back.
 *   INIFM_BUFFER_TOO_SMALL  a text did not fit the caller's buffer; *neededSize
 *                           holds the bytes it needs, its terminating zero included.
 *   INIFM_E_INVALIDARG      unknown handle, null argument, bad name or index.
 *   INIFM_E_FAIL            the file could not be read or written, or a stored
 *                           integer is not a number.
 *
 * Text getters write a zero-terminated UTF-8 text into (buffer, bufferSize). When
 * the text needs more than bufferSize bytes they return INIFM_BUFFER_TOO_SMALL and
 * store the size needed; the caller calls again with a buffer of that size.
 *
 * The library serialises all calls on one lock, so it may be called from any thread.
 */

#include <stdint.h>

#ifdef __cplusplus
extern "C"
{
#endif

#if defined(INIFM_BUILDING_LIBRARY)
#define INIFM_API __attribute__((visibility("default")))
#else
#define INIFM_API
#endif

/* The file name under which the program finds the library in its own folder. */
#define INIFM_LIBRARY_FILE_NAME "libIniFileManager.so"

/* The section of node paths that name no section. */
#define INIFM_DEFAULT_SECTION "Settings"

#define INIFM_OK 0
#define INIFM_NOT_FOUND 1
#define INIFM_BUFFER_TOO_SMALL (-2)
#define INIFM_E_FAIL ((int32_t)0x80004005)
#define INIFM_E_INVALIDARG ((int32_t)0x80070057)

    /*
     * Opens the INI file at the full path, creating an empty one when none exists, and
     * stores a handle above 0 in *handle (0 on failure). settingsVersion and
     * productName are the caller's record of what the file belongs to; they may be
     * null and do not change the file's contents.
     */
    INIFM_API int32_t OpenIniFile(const char* path, const char* settingsVersion, const char* productName,
                                  int32_t* handle);

    /* Writes the file's current contents again (after a write that failed, for instance). */
    INIFM_API int32_t WriteIniFile(int32_t handle);

    /*
     * Ends the handle. With save non-zero the contents are written first; when that
     * write fails the handle stays open and the failure is returned.
     */
    INIFM_API int32_t CloseIniFile(int32_t handle, int32_t save);

    /* 1 when the node path names an existing section or value, else 0. */
    INIFM_API uint8_t DoesNodeExist(int32_t handle, const char* node);

    INIFM_API int32_t GetIniValueInt(int32_t handle, const char* node, int32_t defaultValue, int32_t* value);
    INIFM_API int32_t SetIniValueInt(int32_t handle, const char* node, int32_t value);

    /* defaultValue may be null (the empty text). */
    INIFM_API int32_t GetIniValueStr(int32_t handle, const char* node, const char* defaultValue, char* buffer,
                                     uint32_t bufferSize, uint32_t* neededSize);
    INIFM_API int32_t SetIniValueStr(int32_t handle, const char* node, const char* value);

    /* Number of keys of the section named by node (0 and INIFM_NOT_FOUND when it does not exist). */
    INIFM_API int32_t GetKeyCount(int32_t handle, const char* node, int32_t* count);
    /* Name of the key at index, in file order. */
    INIFM_API int32_t GetKeyNameAt(int32_t handle, const char* node, int32_t index, char* buffer,
                                   uint32_t bufferSize, uint32_t* neededSize);

    INIFM_API int32_t GetArrayCount(int32_t handle, const char* node, int32_t* count);
    /* Cuts the array to count items, or adds empty items up to count. */
    INIFM_API int32_t SetArrayCount(int32_t handle, const char* node, int32_t count);
    INIFM_API int32_t GetArrayItemAt(int32_t handle, const char* node, int32_t index, char* buffer,
                                     uint32_t bufferSize, uint32_t* neededSize);
    /* index may equal the count, which appends an item. */
    INIFM_API int32_t SetArrayItemAt(int32_t handle, const char* node, int32_t index, const char* value);
    /* Removes the item; the items behind it move down by one. */
    INIFM_API int32_t RemoveArrayItemAt(int32_t handle, const char* node, int32_t index);

    /* Pointer types for the caller's dlsym lookups. */
    typedef int32_t (*PFN_OpenIniFile)(const char*, const char*, const char*, int32_t*);
    typedef int32_t (*PFN_WriteIniFile)(int32_t);
    typedef int32_t (*PFN_CloseIniFile)(int32_t, int32_t);
    typedef uint8_t (*PFN_DoesNodeExist)(int32_t, const char*);
    typedef int32_t (*PFN_GetIniValueInt)(int32_t, const char*, int32_t, int32_t*);
    typedef int32_t (*PFN_SetIniValueInt)(int32_t, const char*, int32_t);
    typedef int32_t (*PFN_GetIniValueStr)(int32_t, const char*, const char*, char*, uint32_t, uint32_t*);
    typedef int32_t (*PFN_SetIniValueStr)(int32_t, const char*, const char*);
    typedef int32_t (*PFN_GetKeyCount)(int32_t, const char*, int32_t*);
    typedef int32_t (*PFN_GetKeyNameAt)(int32_t, const char*, int32_t, char*, uint32_t, uint32_t*);
    typedef int32_t (*PFN_GetArrayCount)(int32_t, const char*, int32_t*);
    typedef int32_t (*PFN_SetArrayCount)(int32_t, const char*, int32_t);
    typedef int32_t (*PFN_GetArrayItemAt)(int32_t, const char*, int32_t, char*, uint32_t, uint32_t*);
    typedef int32_t (*PFN_SetArrayItemAt)(int32_t, const char*, int32_t, const char*);
    typedef int32_t (*PFN_RemoveArrayItemAt)(int32_t, const char*, int32_t);

/* The 15 entry points in the order in which the caller looks them up. */
#define INIFM_FOR_EACH_ENTRY_POINT(X)                                                                        \
    X(OpenIniFile)                                                                                           \
    X(WriteIniFile)                                                                                          \
    X(CloseIniFile)                                                                                          \
    X(DoesNodeExist)                                                                                         \
    X(GetIniValueInt)                                                                                        \
    X(SetIniValueInt)                                                                                        \
    X(GetIniValueStr)                                                                                        \
    X(SetIniValueStr)                                                                                        \
    X(GetKeyCount)                                                                                           \
    X(GetKeyNameAt)                                                                                          \
    X(GetArrayCount)                                                                                         \
    X(SetArrayCount)                                                                                         \
    X(GetArrayItemAt)                                                                                        \
    X(SetArrayItemAt)                                                                                        \
    X(RemoveArrayItemAt)

#ifdef __cplusplus
}
#endif
