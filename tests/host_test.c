/* A host written in C: loads the shared library by name and runs the build,
 * dump and read roads through the exports, with the types of tavo.h. */
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

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
    lib = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
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
    CHECK(pJwcCreate && pJwcDestroy && pJwcSaveTo && pJwcLoadFrom && pSetComment && pSetMojiTable && pAddSen &&
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
    CHECK(n1 == 4694);
    CHECK(memcmp(first + 600, "5F6D:0000,5F6D:0000,", 20) == 0);

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
    CHECK(n1 == 4694 + 22 + 3 * 24 + 6);
    CHECK(memcmp(first + 200, "1,0,3,0,0,3,2,1,1,100,0,3,", 26) == 0);
    CHECK(memcmp(first + 600, "5F6D:0000,5F6D:0006,", 20) == 0);
    CHECK(memcmp(first + 2389 + 22 + 72, "AB\0\0C\0", 6) == 0);

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
