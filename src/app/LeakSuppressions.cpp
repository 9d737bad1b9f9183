// fontconfig, under Qt's font handling, keeps caches for the life of the process and never frees
// them, and so does libdbus, which Qt's X11 platform opens to talk to the desktop; LeakSanitizer
// would report them at every exit. Everything else is still checked. Only read by LeakSanitizer;
// linked into the editor and the GUI test programs.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n"
           "leak:libdbus-1\n";
}
