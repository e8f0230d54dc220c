/* A host written in C: loads the shared library by name and runs the build,
 * dump and read roads through the exports, with the types of tavo.h. */
#define _POSIX_C_SOURCE 200809L
#include <dirent.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include "tavo.h"

static int failures = 0;
#define CHECK(cond)                                                   \
    do {                                                              \
        if (!(cond)) {                                                \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
            ++failures;                                               \
        }                                                             \
    } while (0)

static void* lib;
/* POSIX promises that a symbol's address converts to a function pointer; the
 * copy keeps ISO C quiet about it. */
#define IMPORT(name)                        \
    __typeof__(&name) p##name;              \
    do {                                    \
        void* sym_ = dlsym(lib, #name);     \
        memcpy(&p##name, &sym_, sizeof sym_); \
    } while (0)

static long readFile(const char* path, unsigned char* buf, long cap) {
    FILE* f = fopen(path, "rb");
    long n;
    if (!f) return -1;
    n = (long)fread(buf, 1, (size_t)cap, f);
    fclose(f);
    return n;
}

static int entries(const char* folder) {
    int n = 0;
    struct dirent* e;
    DIR* d = opendir(folder);
    if (!d) return -1;
    while ((e = readdir(d)) != NULL)
        if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0) ++n;
    closedir(d);
    return n;
}

static int allZero(const void* p, size_t n) {
    const unsigned char* b = (const unsigned char*)p;
    size_t i;
    for (i = 0; i < n; ++i)
        if (b[i]) return 0;
    return 1;
}

int main(int argc, char** argv) {
    static unsigned char first[65536], second[65536];
    char emptyPath[4096], builtPath[4096], resavedPath[4096];
    const char* name;
    const char* text;
    long n1, n2;
    TavoSenRecord sen;
    TavoMojiRecord moji;
    TavoMojiTableRow row;
    TavoString s;

    if (argc != 3) {
        fprintf(stderr, "usage: host_test LIBRARY FOLDER\n");
        return 2;
    }
    /* No display: the windows must return at once, not wait or abort. */
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
    /* A host keeps the library loaded; the Qt libraries it brings are not
     * made to be unloaded, so a later dlclose keeps them (and their
     * one-time allocations) in place. */
    lib = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!lib) {
        fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    IMPORT(JwcCreate);
    IMPORT(JwcDestroy);
    IMPORT(JwcSaveTo);
    IMPORT(JwcLoadFrom);
    IMPORT(SetComment);
    IMPORT(SetMojiTable);
    IMPORT(AddSen);
    IMPORT(AddMoji);
    IMPORT(GetSenCount);
    IMPORT(GetMojiCount);
    IMPORT(GetSen);
    IMPORT(GetMoji);
    IMPORT(GetMojiString);
    IMPORT(GetTable);
    IMPORT(DrawWidth);
    IMPORT(TavoFreeString);
    IMPORT(TavoStringByteLen);
    IMPORT(TavoGetLastError);
    IMPORT(ReadInifile);
    IMPORT(JwcCreateByInifile);
    CHECK(pReadInifile && pJwcCreateByInifile && pJwcCreate && pJwcDestroy && pJwcSaveTo && pJwcLoadFrom && pSetComment && pSetMojiTable && pAddSen &&
          pAddMoji && pGetSenCount && pGetMojiCount && pGetSen && pGetMoji && pGetMojiString && pGetTable &&
          pDrawWidth && pTavoFreeString && pTavoStringByteLen && pTavoGetLastError);
    if (failures) return 1;
    /* Internal symbols stay hidden. */
    CHECK(dlsym(lib, "_ZN4tavo8TJwcFileC1Ev") == NULL);

    snprintf(emptyPath, sizeof emptyPath, "%s/empty.jwc", argv[2]);
    snprintf(builtPath, sizeof builtPath, "%s/built.jwc", argv[2]);
    snprintf(resavedPath, sizeof resavedPath, "%s/resaved.jwc", argv[2]);

    /* The empty A3 drawing. */
    pJwcCreate(3, 1);
    name = emptyPath;
    pJwcSaveTo(&name);
    n1 = readFile(emptyPath, first, sizeof first);
    CHECK(n1 == 4693);
    CHECK(memcmp(first + 600, "4000:0000,4000:0000,", 20) == 0);
    CHECK(first[199] == '\n' && first[399] == '\n' && first[599] == '\n' && first[799] == '\n');

    /* Building. */
    pJwcCreate(3, 100);
    text = "comment";
    pSetComment(&text, &text);
    pSetMojiTable(2, 1, 25, 25, 0);
    pAddSen(0, 0, 420, 0, 2, 241, 1, 0, 0);
    text = "AB";
    pAddMoji(0, 0, 10, 0, 3, 240, 0, &text);
    text = "";
    pAddMoji(0, 0, 10, 0, 3, 240, 0, &text);
    text = "C";
    pAddMoji(0, 0, 10, 0, 3, 240, 0, &text);
    name = builtPath;
    pJwcSaveTo(&name);
    s = pTavoGetLastError();
    CHECK(s && pTavoStringByteLen(s) == 0);
    pTavoFreeString(s);
    n1 = readFile(builtPath, first, sizeof first);
    CHECK(n1 == 4693 + 22 + 3 * 24 + 6);
    CHECK(memcmp(first + 200, "1,0,3,0,0,3,2,1,1,100,0,3,", 26) == 0);
    CHECK(memcmp(first + 600, "4000:0000,4000:0006,", 20) == 0);
    CHECK(memcmp(first + 2389 + 22 + 72, "AB\0\0C\0", 6) == 0);
    /* The third text record points at "C": 4000:0000 plus 4. */
    CHECK(memcmp(first + 2389 + 22 + 2 * 24 + 16, "\x04\x00\x00\x40", 4) == 0);

    /* Dumping. */
    pJwcCreate(3, 1);
    pJwcLoadFrom(&name);
    CHECK(pGetSenCount() == 1);
    CHECK(pGetMojiCount() == 3);
    pGetSen(&sen, 0);
    CHECK(sen.X2 == 518.0f && sen.Color == 2 && sen.Lay == 241 && sen.LineType == 1);
    memset(&sen, 0xFF, sizeof sen);
    pGetSen(&sen, -1);
    CHECK(allZero(&sen, sizeof sen));
    memset(&sen, 0xFF, sizeof sen);
    pGetSen(&sen, 1);
    CHECK(allZero(&sen, sizeof sen));
    pGetMoji(&moji, 2);
    CHECK(moji.MojiNo == 3 && moji.Lay == 240);
    s = pGetMojiString(0);
    CHECK(pTavoStringByteLen(s) == 2 && memcmp(s, "AB", 3) == 0);
    pTavoFreeString(s);
    s = pGetMojiString(-1);
    CHECK(pTavoStringByteLen(s) == 1 && strcmp(s, " ") == 0);
    pTavoFreeString(s);
    pGetTable(&row, 2);
    CHECK(row.PenNo == 1 && row.Width == 25 && row.Height == 25 && row.Spacing == 0);

    /* Saved again with the same text area: byte for byte, but for field 9
     * (the reader sets the scale to 1). */
    name = resavedPath;
    pJwcSaveTo(&name);
    n2 = readFile(resavedPath, second, sizeof second);
    CHECK(n1 == n2);
    CHECK(memcmp(second + 200, "1,0,3,0,0,3,2,1,1,1,0,3,", 24) == 0);
    CHECK(memcmp(first + 400, second + 400, (size_t)(n1 - 400)) == 0);

    /* The factory settings from an empty folder; nothing is created. */
    {
        static const uint8_t pens[10] = {1, 1, 2, 2, 3, 3, 4, 4, 5, 5};
        static const int16_t widths[10] = {20, 25, 30, 40, 50, 60, 70, 80, 90, 100};
        static const int16_t pitches[10] = {0, 0, 5, 5, 5, 10, 10, 10, 10, 10};
        static const uint8_t colors[56] = {2, 2, 5, 3, 6, 4, 5, 1, 5, 3, 6, 3, 5, 3, 2, 2, 0, 0, 0,
                                           0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 3, 4, 1, 5,
                                           5, 4, 6, 1, 3, 4, 4, 4, 6, 2, 2, 3, 2, 6, 5, 5, 6, 2};
        static const uint8_t types[13] = {1, 2, 7, 5, 3, 1, 8, 8, 6, 4, 1, 1, 1};
        char folder[4096];
        unsigned char raw[sizeof(TavoSettings)];
        TavoSettings st;
        int g, fixedOk = 1;
        snprintf(folder, sizeof folder, "%s/settings", argv[2]);
        mkdir(folder, 0700);
        setenv("TAVO_SETTINGS_DIR", folder, 1);
        memset(&st, 0x55, sizeof st);
        pReadInifile(&st);
        CHECK(memcmp(st.PenNo, pens, 10) == 0);
        CHECK(memcmp(st.MojiWidth, widths, sizeof widths) == 0);
        CHECK(memcmp(st.MojiHeight, widths, sizeof widths) == 0);
        CHECK(memcmp(st.MojiPitch, pitches, sizeof pitches) == 0);
        CHECK(st.DimScale == 0.35f && st.JwcScale == 100 && st.PlotSize == 3);
        CHECK(st.SenLay == 241 && st.SenColor == 1 && st.DoubleSenPitch == 0.5f);
        CHECK(st.MojiLay == 240 && st.SimbolLay == 242 && st.SimbolColor == 3);
        CHECK(st.ExportTarget == 0 && st.PlotOffset == 0 && st.IsSameScale == -1);
        for (g = 0; g < 16; ++g) fixedOk = fixedOk && st.GroupScale[g] == 100;
        CHECK(fixedOk);
        CHECK(memcmp(st.BColorIndex, colors, 56) == 0);
        CHECK(memcmp(st.BTypeIndex, types, 13) == 0);
        CHECK(st.ExchangeCaret == 0 && st.ExchangeSolid == 0);
        memcpy(raw, &st, sizeof st);
        CHECK(raw[70] == 0x55 && raw[71] == 0x55 && raw[82] == 0x55 && raw[93] == 0x55 && raw[197] == 0x55);
        CHECK(sizeof st == 204 && raw[202] == 0x55 && raw[203] == 0x55); /* beyond the 202 bytes */
        CHECK(entries(folder) == 0);

        name = builtPath;
        pJwcCreateByInifile();
        pJwcSaveTo(&name);
        n1 = readFile(builtPath, first, sizeof first);
        CHECK(memcmp(first + 200, "0,0,0,0,0,3,2,1,1,100,0,3,", 26) == 0);
        /* Text-size table: widths of rows 0..10 start at byte 1709 + 22. */
        CHECK(first[1709 + 22 + 2 * 2] == 25 && first[1709 + 2 * 2] == 1);
    }

    /* No display: each window export returns its neutral result at once and
     * says why; ShowJwBrwsFromJwc still leaves no export drawing behind. */
    {
        IMPORT(ShowJwBrws);
        IMPORT(ShowJwBrwsFromJwc);
        IMPORT(ProgressCreate);
        IMPORT(Progress);
        IMPORT(ProgressDestroy);
        IMPORT(ObjCreateByInifile);
        IMPORT(ObjDestroy);
        IMPORT(ShowExportForm);
        IMPORT(ShowDumpForm);
        IMPORT(ShowBuildForm);
        CHECK(pShowJwBrws && pShowJwBrwsFromJwc && pProgressCreate && pProgress && pProgressDestroy &&
              pObjCreateByInifile && pObjDestroy && pShowExportForm && pShowDumpForm && pShowBuildForm);
        if (failures) return 1;
#define LAST_ERROR_HAS(what)                                      \
    do {                                                          \
        s = pTavoGetLastError();                                  \
        CHECK(s && strstr(s, what) != NULL);                      \
        if (s && !strstr(s, what)) fprintf(stderr, "error: %s\n", s); \
        pTavoFreeString(s);                                       \
    } while (0)
        name = "plan.xls";
        pObjCreateByInifile();
        CHECK(pShowJwBrws(&name) == 0);
        LAST_ERROR_HAS("no display is available");
        pProgressCreate(100, 100);
        LAST_ERROR_HAS("no display is available");
        CHECK(pProgress(5, 5) == -1);
        pProgressDestroy();
        LAST_ERROR_HAS("");
        name = builtPath;
        pJwcCreate(3, 1);
        pJwcLoadFrom(&name);
        name = "plan.xls";
        CHECK(pShowJwBrwsFromJwc(&name) == 0);
        LAST_ERROR_HAS("no display is available");
        pObjDestroy();
        LAST_ERROR_HAS("no current export drawing");
        pJwcDestroy();
        CHECK(pShowJwBrwsFromJwc(&name) == 0);
        LAST_ERROR_HAS("no current JWC drawing");
        /* The settings dialogs: 2, as for Cancel. */
        CHECK(pShowExportForm() == 2);
        LAST_ERROR_HAS("no display is available");
        CHECK(pShowDumpForm() == 2);
        LAST_ERROR_HAS("no display is available");
        CHECK(pShowBuildForm() == 2);
        LAST_ERROR_HAS("no display is available");
#undef LAST_ERROR_HAS
    }

    CHECK(pDrawWidth(4) == 297 && pDrawWidth(7) == 297 && pDrawWidth(-1) == 297 && pDrawWidth(0) == 1189);
    pJwcDestroy();
    pJwcDestroy();
    s = pTavoGetLastError();
    CHECK(pTavoStringByteLen(s) > 0);
    pTavoFreeString(s);

    dlclose(lib);
    if (failures) fprintf(stderr, "%d checks failed\n", failures);
    return failures ? 1 : 0;
}
