// A small program for the real launch test: after a short pause (so that a host that does not
// wait is caught), writes into the file named first on its command line whether it was asked
// to start hidden, then the rest of its arguments.
#include <windows.h>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) return 1;
    Sleep(300);
    STARTUPINFOA startup{};
    GetStartupInfoA(&startup);
    const bool hidden = (startup.dwFlags & STARTF_USESHOWWINDOW) && startup.wShowWindow == SW_HIDE;
    FILE* out = std::fopen(argv[1], "wb");
    if (!out) return 1;
    std::fputs(hidden ? "hidden:" : "shown:", out);
    for (int i = 2; i < argc; ++i) std::fprintf(out, " %s", argv[i]);
    std::fclose(out);
    return 0;
}
