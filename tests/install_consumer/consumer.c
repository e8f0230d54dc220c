/* Builds a drawing through the installed library, saves it, loads it back
 * and reads a record. Usage: consumer FOLDER. */
#include <stdio.h>
#include <string.h>

#include <tavo.h>

int main(int argc, char** argv) {
    char path[4096];
    const char* name = path;
    const char* text = "room";
    TavoSenRecord sen;
    TavoString back;
    int ok;
    if (argc < 2) return 2;
    snprintf(path, sizeof path, "%s/plan.jwc", argv[1]);
    JwcCreate(3, 100);
    AddSen(0, 0, 420, 0, 1, 0xF1, 1, 0, 0);
    AddMoji(0, 0, 10, 0, 1, 0xF0, 0, &text);
    JwcSaveTo(&name);
    JwcCreate(3, 100);
    JwcLoadFrom(&name);
    TavoGetSenEx(&sen, 0);
    back = GetMojiString(0);
    ok = GetSenCount() == 1 && sen.X2 == 518.0f && TavoStringByteLen(back) == 4 && memcmp(back, "room", 4) == 0;
    TavoFreeString(back);
    JwcDestroy();
    printf("%s\n", ok ? "ok" : "wrong");
    return ok ? 0 : 1;
}
