/* A host as a spreadsheet macro is one: it loads the library by name, finds
 * each export by its plain name, hands strings in by reference and takes
 * automation strings back. It runs the roads of the library in the current
 * folder (settings, a built drawing and its dump, an export drawing, the
 * clipboard, a malformed file) and leaves every file it made there, so that
 * a test can compare what the Windows DLL and the Linux library write for
 * the same calls: host_roads LIBRARY. */
#ifdef _WIN32
#include <windows.h>
#include <oleauto.h>
#else
#define _POSIX_C_SOURCE 200809L
#include <dlfcn.h>
#include <sys/stat.h>
#endif
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tavo.h"

static int failures = 0;
#define CHECK(cond)                                                            \
    do {                                                                       \
        if (!(cond)) {                                                         \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
            ++failures;                                                        \
        }                                                                      \
    } while (0)

#ifdef _WIN32
static HMODULE lib;
static void* symbol(const char* name) {
    FARPROC p = GetProcAddress(lib, name);
    void* v;
    memcpy(&v, &p, sizeof v);
    return v;
}
#else
static void* lib;
static void* symbol(const char* name) { return dlsym(lib, name); }
#endif

/* Every export the roads call, by its plain name. */
#define IMPORT(name)                               \
    static __typeof__(&name) p##name;              \
    static void import_##name(void) {              \
        void* s = symbol(#name);                   \
        if (!s) {                                  \
            fprintf(stderr, "no export %s\n", #name); \
            ++failures;                            \
        }                                          \
        memcpy(&p##name, &s, sizeof s);            \
    }
IMPORT(JwcCreate)
IMPORT(JwcCreateByInifile)
IMPORT(JwcDestroy)
IMPORT(JwcSaveTo)
IMPORT(JwcLoadFrom)
IMPORT(CopyToAsJwt)
IMPORT(SetComment)
IMPORT(SetMojiTable)
IMPORT(AddSen)
IMPORT(AddEnko)
IMPORT(AddMoji)
IMPORT(AddTen)
IMPORT(GetSenCount)
IMPORT(GetEnkoCount)
IMPORT(GetMojiCount)
IMPORT(GetTenCount)
IMPORT(GetSen)
IMPORT(GetEnko)
IMPORT(GetMoji)
IMPORT(GetTen)
IMPORT(GetMojiString)
IMPORT(GetTable)
IMPORT(ObjCreateByInifile)
IMPORT(ObjDestroy)
IMPORT(SetObjComment)
IMPORT(AddLine)
IMPORT(AddText)
IMPORT(AddTextV)
IMPORT(AddCircle)
IMPORT(AddSolid)
IMPORT(ObjSaveToJwcFile)
IMPORT(ObjSaveToTxtFile)
IMPORT(ObjSaveToDxfFile)
IMPORT(TavoObjSaveToDxfFileEx)
IMPORT(ObjCopyToAsJwt)
IMPORT(ReadInifile)
IMPORT(WriteInifile)
IMPORT(ReadIniString)
IMPORT(WriteIniString)
IMPORT(ReadIniDump)
IMPORT(WriteIniDump)
IMPORT(TavoFreeString)
IMPORT(TavoStringByteLen)
IMPORT(TavoGetLastError)
IMPORT(TavoGetClipboardText)
IMPORT(ProgressCreate)
IMPORT(Progress)
IMPORT(ProgressDestroy)

static void importAll(void) {
    import_JwcCreate(), import_JwcCreateByInifile(), import_JwcDestroy(), import_JwcSaveTo();
    import_JwcLoadFrom(), import_CopyToAsJwt(), import_SetComment(), import_SetMojiTable();
    import_AddSen(), import_AddEnko(), import_AddMoji(), import_AddTen();
    import_GetSenCount(), import_GetEnkoCount(), import_GetMojiCount(), import_GetTenCount();
    import_GetSen(), import_GetEnko(), import_GetMoji(), import_GetTen(), import_GetMojiString();
    import_GetTable(), import_ObjCreateByInifile(), import_ObjDestroy(), import_SetObjComment();
    import_AddLine(), import_AddText(), import_AddTextV(), import_AddCircle(), import_AddSolid();
    import_ObjSaveToJwcFile(), import_ObjSaveToTxtFile(), import_ObjCopyToAsJwt();
    import_ObjSaveToDxfFile(), import_TavoObjSaveToDxfFileEx();
    import_ReadInifile(), import_WriteInifile(), import_ReadIniString(), import_WriteIniString();
    import_ReadIniDump(), import_WriteIniDump(), import_TavoFreeString(), import_TavoStringByteLen();
    import_TavoGetLastError(), import_TavoGetClipboardText();
    import_ProgressCreate(), import_Progress(), import_ProgressDestroy();
}

/* An automation string's bytes, freed as the host frees it. */
static unsigned takeString(TavoString s, char* out, unsigned cap) {
    unsigned n;
#ifdef _WIN32
    n = SysStringByteLen((BSTR)s);
#else
    n = pTavoStringByteLen(s);
#endif
    if (n >= cap) n = cap - 1;
    if (s) memcpy(out, s, n);
    out[n] = '\0';
#ifdef _WIN32
    SysFreeString((BSTR)s);
#else
    pTavoFreeString(s);
#endif
    return n;
}

static void writeBytes(const char* name, const void* data, size_t size) {
    FILE* f = fopen(name, "wb");
    CHECK(f != NULL);
    if (!f) return;
    fwrite(data, 1, size, f);
    fclose(f);
}

static void expectNoError(int line) {
    char text[1024];
    takeString(pTavoGetLastError(), text, sizeof text);
    if (text[0]) {
        fprintf(stderr, "line %d: unexpected failure: %s\n", line, text);
        ++failures;
    }
}
#define NO_ERROR_HERE() expectNoError(__LINE__)

/* What the library put on the clipboard, as the host's paste would see it:
 * on Windows read from the system's clipboard (and checked against the
 * library's own copy), elsewhere the library's copy. */
static void saveClipboard(const char* name) {
    static char copy[1 << 20];
    const unsigned n = takeString(pTavoGetClipboardText(), copy, sizeof copy);
#ifdef _WIN32
    HANDLE data;
    CHECK(OpenClipboard(NULL));
    data = GetClipboardData(CF_TEXT);
    CHECK(data != NULL);
    if (data) {
        const char* text = (const char*)GlobalLock(data);
        CHECK(strlen(text) == n && memcmp(text, copy, n) == 0);
        writeBytes(name, text, strlen(text));
        GlobalUnlock(data);
    }
    CloseClipboard();
#else
    writeBytes(name, copy, n);
#endif
}

/* Shift-JIS: "図面" (a drawing), "平面図" (a plan), "寸法" (dimensions),
 * "ソ表" (two characters whose second byte is "\"). */
#define SJIS_ZUMEN "\x90\x7D\x96\xCA"
#define SJIS_PLAN "\x95\xBD\x96\xCA\x90\x7D"
#define SJIS_SUNPOU "\x90\x6F\x96\x40"
#define SJIS_SO_HYOU "\x83\x5C\x95\x5C"

static void settingsRoad(void) {
    TavoSettings s;
    TavoDumpChecks checks = {0, -1, 1, 0};
    const char* text;
    memset(&s, 0, sizeof s);
    pReadInifile(&s);
    NO_ERROR_HERE();
    CHECK(s.JwcScale == 100 && s.PlotSize == 3 && s.SenLay == 241);
    s.JwcScale = 50;
    s.PlotSize = 2;
    s.DimScale = 0.125f;
    s.DoubleSenPitch = 2.345f;
    s.IsSameScale = 0;
    s.GroupScale[15] = 200;
    s.MojiWidth[2] = 35;
    s.ExchangeCaret = 1;
    pWriteInifile(&s);
    text = SJIS_PLAN " 1/50";
    pWriteIniString(1, &text);
    text = "C:\\" SJIS_ZUMEN "\\" SJIS_SO_HYOU ".jwc";
    pWriteIniString(3, &text);
    pWriteIniString(9, &text); /* no such slot: nothing written */
    pWriteIniDump(&checks);
    NO_ERROR_HERE();

    memset(&s, 0x55, sizeof s);
    pReadInifile(&s);
    CHECK(s.JwcScale == 50 && s.GroupScale[15] == 200 && s.ExchangeCaret == -1 && s.IsSameScale == 0);
    memset(&checks, 0x55, sizeof checks);
    pReadIniDump(&checks);
    CHECK(checks.Line == 0 && checks.Circle == -1 && checks.String == -1 && checks.Dot == 0);
    {
        char value[256];
        takeString(pReadIniString(1), value, sizeof value);
        CHECK(strcmp(value, SJIS_PLAN " 1/50") == 0);
        takeString(pReadIniString(0), value, sizeof value);
        CHECK(value[0] == '\0');
    }
    writeBytes("settings.bin", &s, sizeof s);
}

static void buildRoad(void) {
    const char* name = "build.jwc";
    const char* text;
    const char* comment2 = SJIS_SUNPOU;
    int i;
    pJwcCreateByInifile();
    text = SJIS_PLAN;
    pSetComment(&text, &comment2);
    pSetMojiTable(1, 2, 25, 30, 5);
    pSetMojiTable(11, 9, 9, 9, 9); /* no such row */
    for (i = 0; i < 40; ++i)
        pAddSen((float)i * 1.25f, 10.0f - (float)i / 3.0f, 200.5f, (float)i * 0.7f, (unsigned char)(1 + i % 6),
                (unsigned char)(16 * (i % 16) + i % 3), (unsigned char)(1 + i % 9), 0, (unsigned short)i);
    pAddEnko(100, 100, 25, 10000, 0, 0, 0, 2, 0x21, 1, 0, 0);
    pAddEnko(50.5f, 60.25f, 12.5f, 5000, 30 * 65536, 120 * 65536, 15 * 65536, 3, 0xF2, 2, 7, 65535);
    text = "AB";
    pAddMoji(10, 10, 40, 10, 3, 0xF0, 0, &text);
    text = "";
    pAddMoji(10, 20, 40, 20, 3, 0xF0, 0, &text);
    text = SJIS_ZUMEN " \"quoted\" " SJIS_SO_HYOU;
    pAddMoji(10, 30, 10, 60, 5, 0xF1, 32, &text);
    pAddMoji(0, 0, 1, 1, 1, 0, 0, NULL); /* a null reference is the empty text */
    pAddTen(5, 5, 1, 0xF0, 0);
    pAddTen(-5.5f, 1e-3f, 9, 0x0F, 1234);
    pJwcSaveTo(&name);
    NO_ERROR_HERE();
    /* Saved again: the first file stays as build.bak. */
    pAddSen(0, 0, 420, 297, 1, 0, 1, 0, 0);
    pJwcSaveTo(&name);
    NO_ERROR_HERE();
    pCopyToAsJwt();
    NO_ERROR_HERE();
    saveClipboard("build.jwt");
    /* A name in Shift-JIS, as the host passes it. */
    name = SJIS_ZUMEN ".jwc";
    pJwcSaveTo(&name);
    NO_ERROR_HERE();
    pJwcDestroy();
}

static void dumpRoad(void) {
    const char* name = "build.jwc";
    FILE* out = fopen("dump.txt", "wb");
    int i;
    CHECK(out != NULL);
    if (!out) return;
    pJwcCreate(3, 1);
    pJwcLoadFrom(&name);
    NO_ERROR_HERE();
    fprintf(out, "counts %d %d %d %d\n", pGetSenCount(), pGetEnkoCount(), pGetMojiCount(), pGetTenCount());
    /* Each record's bytes as the host receives them, one index past the end too. */
#define DUMP(kind, count, type)                                     \
    for (i = -1; i <= count(); ++i) {                               \
        type r;                                                     \
        size_t b;                                                   \
        memset(&r, 0xAA, sizeof r);                                 \
        kind(&r, (short)i);                                         \
        fprintf(out, "%s %d", #kind, i);                            \
        for (b = 0; b < sizeof r; ++b) fprintf(out, " %02x", ((unsigned char*)&r)[b]); \
        fprintf(out, "\n");                                         \
    }
    DUMP(pGetSen, pGetSenCount, TavoSenRecord)
    DUMP(pGetEnko, pGetEnkoCount, TavoEnkoRecord)
    DUMP(pGetMoji, pGetMojiCount, TavoMojiRecord)
    DUMP(pGetTen, pGetTenCount, TavoTenRecord)
#undef DUMP
    for (i = -1; i <= pGetMojiCount(); ++i) {
        char text[256];
        const unsigned n = takeString(pGetMojiString((short)i), text, sizeof text);
        fprintf(out, "text %d %u [%s]\n", i, n, text);
    }
    for (i = -1; i <= 11; ++i) {
        TavoMojiTableRow row;
        pGetTable(&row, (short)i);
        fprintf(out, "row %d %u %u %u %u\n", i, row.PenNo, row.Width, row.Height, row.Spacing);
    }
    fclose(out);
    NO_ERROR_HERE();
    pCopyToAsJwt();
    saveClipboard("dump.jwt");
    pJwcDestroy();
}

static void exportRoad(void) {
    const char* jwc = "sheet.jwc";
    const char* txt = "sheet.txt";
    const char* dxf = "sheet.dxf";
    const char* dxf2000 = "sheet-2000.dxf";
    const char* dxf2018 = "sheet-2018.dxf";
    const char* c1 = SJIS_PLAN;
    const char* c2 = NULL;
    const char* text;
    int i;
    pObjCreateByInifile();
    pSetObjComment(&c1, &c2);
    for (i = 0; i < 30; ++i) {
        const float y = 20.0f + 7.5f * (float)i;
        pAddLine(10, y, 280, y, (unsigned char)(1 + i % 6), (unsigned char)(0xF1 - (i % 2)), (unsigned char)(1 + i % 9));
    }
    pAddLine(0.125f, 2.345f, -0.0004f, 1e6f, 2, 0x10, 1);
    text = SJIS_ZUMEN "^u2^d";
    pAddText(12, 22, 60, 22, 3, 0xF0, &text);
    text = SJIS_SO_HYOU;
    pAddTextV(100, 30, 100, 80, 4, 0xF0, &text);
    pAddCircle(150, 100, 10, 1, 0, 0, 0, 3, 0xF2, 1);
    pAddCircle(150, 100, 20, 0.5f, 30, 120, 15, 3, 0xF2, 2);
    pAddCircle(150, 100, 30, 1, 10, 370, 0, 4, 0x02, 1);
    pAddSolid(10, 10, 50, 20, 0x00FF8040, 0xF3);
    pAddSolid(60, 10, 90, 20, 255, 0xF3);
    pObjSaveToJwcFile(&jwc);
    pObjSaveToJwcFile(&jwc); /* keeps sheet.bak */
    pObjSaveToTxtFile(&txt);
    pObjSaveToDxfFile(&dxf);
    pTavoObjSaveToDxfFileEx(&dxf2000, 2000);
    pTavoObjSaveToDxfFileEx(&dxf2018, 2018); /* its UTF-8 through each system's converter */
    NO_ERROR_HERE();
    pObjCopyToAsJwt();
    NO_ERROR_HERE();
    saveClipboard("sheet.jwt");
    pObjDestroy();
}

/* What a host sees of failures: messages, and nothing thrown at it. */
static void failureRoad(void) {
    const char* name = "malformed.jwc";
    char message[2048];
    FILE* out;
    static const char bad[] = "jw_cad(c)data......."; /* ends inside the header */
    writeBytes(name, bad, sizeof bad - 1);
    out = fopen("errors.txt", "wb");
    CHECK(out != NULL);
    if (!out) return;
    pJwcCreate(3, 1);
    pJwcLoadFrom(&name);
    takeString(pTavoGetLastError(), message, sizeof message);
    CHECK(strstr(message, "malformed.jwc") != NULL);
    fprintf(out, "%s\n", message);
    pJwcDestroy();
    pJwcDestroy(); /* without a drawing */
    takeString(pTavoGetLastError(), message, sizeof message);
    fprintf(out, "%s\n", message);
    pGetSen(NULL, 0);
    takeString(pTavoGetLastError(), message, sizeof message);
    fprintf(out, "%s\n", message);
    pAddLine(0, 0, 1, 1, 1, 1, 1);
    takeString(pTavoGetLastError(), message, sizeof message);
    fprintf(out, "%s\n", message);
    CHECK(pGetSenCount() == 0);
    fclose(out);
}

#ifdef _WIN32
/* The progress dialog of the DLL: a window of its own, pumped by Progress
 * (a Cancel waiting in the queue is seen there), gone with ProgressDestroy.
 * A second one is left open: unloading the DLL must take it along, or its
 * window would call into code that is gone. (The Linux run has no display.) */
static BOOL CALLBACK findDialog(HWND window, LPARAM found) {
    char name[32];
    if (GetClassNameA(window, name, sizeof name) && strcmp(name, "TavoProgressForm") == 0) {
        *(HWND*)found = window;
        return FALSE;
    }
    return TRUE;
}

/* Among this host's windows only: other test programs may show theirs. */
static HWND progressDialog(void) {
    HWND found = NULL;
    EnumThreadWindows(GetCurrentThreadId(), findDialog, (LPARAM)&found);
    return found;
}

static void progressRoad(void) {
    HWND dialog;
    pProgressCreate(10, 5);
    NO_ERROR_HERE();
    dialog = progressDialog();
    CHECK(dialog != NULL && IsWindowVisible(dialog));
    CHECK(pProgress(3, 1) == -1);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    CHECK(pProgress(4, 2) == 0);
    pProgressDestroy();
    NO_ERROR_HERE();
    CHECK(!IsWindow(dialog));
    pProgressCreate(10, 5);
    CHECK(pProgress(1, 1) == -1);
}
#endif

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: host_roads LIBRARY (run in an empty folder)\n");
        return 2;
    }
#ifdef _WIN32
    SetEnvironmentVariableA("TAVO_SETTINGS_DIR", "settings");
    lib = LoadLibraryA(argv[1]);
    if (!lib) {
        fprintf(stderr, "cannot load %s: error %lu\n", argv[1], GetLastError());
        return 1;
    }
#else
    setenv("TAVO_SETTINGS_DIR", "settings", 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
    lib = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!lib) {
        fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
#endif
    importAll();
    if (failures) return 1;
    settingsRoad();
    buildRoad();
    dumpRoad();
    exportRoad();
    failureRoad();
#ifdef _WIN32
    progressRoad();
    FreeLibrary(lib);
    {
        MSG msg;
        CHECK(progressDialog() == NULL);
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
#else
    dlclose(lib);
#endif
    if (failures) fprintf(stderr, "%d checks failed\n", failures);
    return failures ? 1 : 0;
}
