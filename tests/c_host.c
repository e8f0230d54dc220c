/* A host as a spreadsheet macro is one, in C with the types of tavo.h. It
 * runs the library's roads in the current folder and leaves every file it
 * made there, so that a test can compare what the Windows DLL and the Linux
 * library write for the same calls: c_host LIBRARY (in an empty folder) */
#ifdef _WIN32
#include <windows.h>
#include <oleauto.h>
#else
#define _POSIX_C_SOURCE 200809L
#endif
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tavo.h"
#include "c_host_check.h"

#define EXPORTS(X)                                                                                                 \
    X(JwcCreate) X(JwcCreateByInifile) X(JwcDestroy) X(JwcSaveTo) X(JwcLoadFrom) X(CopyToAsJwt) X(SetComment)      \
    X(SetMojiTable) X(AddSen) X(AddEnko) X(AddMoji) X(AddTen) X(GetSenCount) X(GetEnkoCount) X(GetMojiCount)       \
    X(GetTenCount) X(GetSen) X(GetEnko) X(GetMoji) X(GetTen) X(GetMojiString) X(GetTable) X(ObjCreateByInifile)    \
    X(ObjDestroy) X(SetObjComment) X(AddLine) X(AddText) X(AddTextV) X(AddCircle) X(AddSolid) X(ObjSaveToJwcFile)  \
    X(ObjSaveToTxtFile) X(ObjSaveToDxfFile) X(TavoObjSaveToDxfFileEx) X(ObjCopyToAsJwt) X(ReadInifile)            \
    X(WriteInifile) X(ReadIniString) X(WriteIniString) X(ReadIniDump) X(WriteIniDump) X(TavoFreeString)            \
    X(TavoStringByteLen) X(TavoGetLastError) X(TavoGetClipboardText) X(ProgressCreate) X(Progress)                 \
    X(ProgressDestroy) X(ShowJwBrws) X(ShowJwBrwsFromJwc) X(ShowExportForm) X(ShowDumpForm) X(ShowBuildForm)
EXPORTS(HOST_POINTER)

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

/* The last error holds `part`; NULL: there is none. */
static void expectError(const char* part, int line) {
    char text[1024];
    takeString(pTavoGetLastError(), text, sizeof text);
    if (part ? !strstr(text, part) : text[0] != '\0') {
        fprintf(stderr, "line %d: expected %s%s, got \"%s\"\n", line, part ? "an error with " : "no error",
                part ? part : "", text);
        ++failures;
    }
}
#define NO_ERROR_HERE() expectError(NULL, __LINE__)
#define ERROR_HERE(part) expectError(part, __LINE__)

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
    unsigned char raw[sizeof s];
    /* The factory settings; reading writes no file, and only the record's
     * 202 bytes: its gaps and the tail the alignment adds stay. */
    memset(&s, 0x55, sizeof s);
    pReadInifile(&s);
    NO_ERROR_HERE();
    CHECK(s.JwcScale == 100 && s.PlotSize == 3 && s.SenLay == 241);
    memcpy(raw, &s, sizeof s);
    CHECK(sizeof s == 204 && raw[202] == 0x55 && raw[203] == 0x55);
    CHECK(s.Gap70[0] == 0x55 && s.Gap70[1] == 0x55 && s.Gap82[0] == 0x55 && s.Gap93 == 0x55 && s.Gap197 == 0x55);
    CHECK(fopen("settings/tavo.ini", "rb") == NULL);
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

/* Each record's bytes as the host receives them, one index past each end
 * too. */
static void dumpRecords(FILE* out, const char* kind, int count, size_t size, void (*get)(void*, int)) {
    unsigned char r[64];
    int i;
    size_t b;
    for (i = -1; i <= count; ++i) {
        memset(r, 0xAA, size);
        get(r, i);
        fprintf(out, "%s %d", kind, i);
        for (b = 0; b < size; ++b) fprintf(out, " %02x", r[b]);
        fprintf(out, "\n");
    }
}
static void getSen(void* r, int i) { pGetSen((TavoSenRecord*)r, (int16_t)i); }
static void getEnko(void* r, int i) { pGetEnko((TavoEnkoRecord*)r, (int16_t)i); }
static void getMoji(void* r, int i) { pGetMoji((TavoMojiRecord*)r, (int16_t)i); }
static void getTen(void* r, int i) { pGetTen((TavoTenRecord*)r, (int16_t)i); }

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
    dumpRecords(out, "GetSen", pGetSenCount(), sizeof(TavoSenRecord), getSen);
    dumpRecords(out, "GetEnko", pGetEnkoCount(), sizeof(TavoEnkoRecord), getEnko);
    dumpRecords(out, "GetMoji", pGetMojiCount(), sizeof(TavoMojiRecord), getMoji);
    dumpRecords(out, "GetTen", pGetTenCount(), sizeof(TavoTenRecord), getTen);
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
    pTavoObjSaveToDxfFileEx(&dxf2018, 2018); /* its UTF-8 through each system's converter */
    NO_ERROR_HERE();
    pObjCopyToAsJwt();
    NO_ERROR_HERE();
    saveClipboard("sheet.jwt");
    pObjDestroy();
}

/* What a host sees of failures: messages, and nothing thrown at it. */
static void logError(FILE* out, const char* part) {
    char message[2048];
    takeString(pTavoGetLastError(), message, sizeof message);
    CHECK(message[0] != '\0' && strstr(message, part) != NULL);
    fprintf(out, "%s\n", message);
}

static void failureRoad(void) {
    const char* name = "malformed.jwc";
    static const char bad[] = "jw_cad(c)data......."; /* ends inside the header */
    FILE* out = fopen("errors.txt", "wb");
    CHECK(out != NULL);
    if (!out) return;
    writeBytes(name, bad, sizeof bad - 1);
    pJwcCreate(3, 1);
    pJwcLoadFrom(&name);
    logError(out, "malformed.jwc");
    pJwcDestroy();
    pJwcDestroy(); /* without a drawing */
    logError(out, "");
    pGetSen(NULL, 0);
    logError(out, "");
    pAddLine(0, 0, 1, 1, 1, 1, 1);
    logError(out, "");
    CHECK(pGetSenCount() == 0);
    fclose(out);
}

#ifdef _WIN32
/* A progress dialog left open: unloading the DLL must take it along, or its
 * window would call into code that is gone. */
static BOOL CALLBACK findDialog(HWND window, LPARAM found) {
    char name[32];
    if (GetClassNameA(window, name, sizeof name) && strcmp(name, "TavoProgressForm") == 0) *(HWND*)found = window;
    return *(HWND*)found == NULL;
}

/* Among this host's windows only: other test programs may show theirs. */
static HWND progressDialog(void) {
    HWND found = NULL;
    EnumThreadWindows(GetCurrentThreadId(), findDialog, (LPARAM)&found);
    return found;
}

static void windowRoad(void) {
    pProgressCreate(10, 5);
    NO_ERROR_HERE();
    CHECK(progressDialog() != NULL && pProgress(1, 1) == -1);
}
#else
/* No display: each window export returns its neutral result at once and
 * says why; the preview from a JWC drawing leaves no export drawing behind. */
static void windowRoad(void) {
    const char* name = "build.jwc";
    const char* book = "plan.xls";
    pObjCreateByInifile();
    CHECK(pShowJwBrws(&book) == 0);
    ERROR_HERE("no display is available");
    pProgressCreate(100, 100);
    ERROR_HERE("no display is available");
    CHECK(pProgress(5, 5) == -1);
    pProgressDestroy();
    NO_ERROR_HERE();
    pJwcCreate(3, 1);
    pJwcLoadFrom(&name);
    CHECK(pShowJwBrwsFromJwc(&book) == 0);
    ERROR_HERE("no display is available");
    pObjDestroy();
    ERROR_HERE("no current export drawing");
    pJwcDestroy();
    CHECK(pShowJwBrwsFromJwc(&book) == 0);
    ERROR_HERE("no current JWC drawing");
    /* The settings dialogs: 2, as for Cancel. */
    CHECK(pShowExportForm() == 2);
    ERROR_HERE("no display is available");
    CHECK(pShowDumpForm() == 2);
    ERROR_HERE("no display is available");
    CHECK(pShowBuildForm() == 2);
    ERROR_HERE("no display is available");
}
#endif

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: c_host LIBRARY (run in an empty folder)\n");
        return 2;
    }
#ifdef _WIN32
    SetEnvironmentVariableA("TAVO_SETTINGS_DIR", "settings");
#else
    setenv("TAVO_SETTINGS_DIR", "settings", 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
#endif
    if (!host_load(argv[1])) return 1;
    EXPORTS(HOST_IMPORT)
    if (failures) return 1;
    settingsRoad();
    buildRoad();
    dumpRoad();
    exportRoad();
    failureRoad();
    windowRoad();
    host_unload();
#ifdef _WIN32
    {
        MSG msg;
        CHECK(progressDialog() == NULL);
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
#endif
    if (failures) fprintf(stderr, "%d checks failed\n", failures);
    return failures ? 1 : 0;
}
