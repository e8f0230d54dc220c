/* What the C hosts share: CHECK, the library loaded by name as a macro
 * loads it (dlopen, LoadLibrary), and each export taken by its plain name
 * into a pointer of tavo.h's type: HOST_POINTER(Name) declares pName,
 * HOST_IMPORT(Name) fills it. Include after tavo.h, in one file only. */
#ifndef TAVO_C_HOST_CHECK_H
#define TAVO_C_HOST_CHECK_H

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif
#include <stdio.h>
#include <string.h>

static int failures = 0;
#define CHECK(cond)                                                            \
    do {                                                                       \
        if (!(cond)) {                                                         \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
            ++failures;                                                        \
        }                                                                      \
    } while (0)

#ifdef _WIN32
static HMODULE host_library;
static inline int host_load(const char* path) {
    host_library = LoadLibraryA(path);
    if (!host_library) fprintf(stderr, "cannot load %s: error %lu\n", path, GetLastError());
    return host_library != NULL;
}
static inline void* host_symbol(const char* name) {
    FARPROC p = GetProcAddress(host_library, name);
    void* v;
    memcpy(&v, &p, sizeof v);
    return v;
}
static inline void host_unload(void) { FreeLibrary(host_library); }
#else
static void* host_library;
/* A host keeps the library loaded; the Qt libraries it brings are not made
 * to be unloaded, so dlclose keeps them (and their one-time allocations). */
static inline int host_load(const char* path) {
    host_library = dlopen(path, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!host_library) fprintf(stderr, "%s\n", dlerror());
    return host_library != NULL;
}
static inline void* host_symbol(const char* name) { return dlsym(host_library, name); }
static inline void host_unload(void) { dlclose(host_library); }
#endif

/* A symbol's address converts to a function pointer on both systems; the
 * copy keeps ISO C quiet about it. */
static inline void host_import(const char* name, void* pointer) {
    void* symbol = host_symbol(name);
    if (!symbol) {
        fprintf(stderr, "no export %s\n", name);
        ++failures;
    }
    memcpy(pointer, &symbol, sizeof symbol);
}
#define HOST_POINTER(name) static __typeof__(&name) p##name;
#define HOST_IMPORT(name) host_import(#name, &p##name);

#endif
