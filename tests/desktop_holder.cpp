// Holds Wine's desktop for one build's test session (wine_session.sh). Wine closes its desktop a
// second after the last program with a window ends and starts it again for the next, and a program
// waits 10 s for it at most: a start that takes longer (32-bit Wine under qemu on a busy machine)
// leaves a desktop on which no window can be made, and every dialog fails until it closes. This
// makes a window, says whether it could ("desktop held", or why not) and stays until the session ends.
#include <windows.h>
#include <cstdio>

int main() {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (!window) {
        std::printf("no window on the desktop (error %lu)\n", GetLastError());
        return 1;
    }
    DestroyWindow(window);
    std::printf("desktop held\n");
    std::fflush(stdout);
    MSG message;   // waits, answering whatever is sent to this thread, until the session ends
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
