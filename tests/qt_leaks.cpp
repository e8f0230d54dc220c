// Read by LeakSanitizer in the programs that draw with Qt: the Qt
// application object lives as long as the process (a host may need it again
// at any time), and what fontconfig holds for Qt's font database is still
// allocated when the process ends. Visible, so that the sanitizer runtime,
// a library of its own, finds it.
extern "C" const char* __lsan_default_suppressions();  // NOLINT(bugprone-reserved-identifier): the sanitizer's interface
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {  // NOLINT(bugprone-reserved-identifier)
    return "leak:libfontconfig.so\n";
}
