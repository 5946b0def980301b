#include "platform/Desktop.h"

#include <cstdlib>
#include <cstdio>

namespace platform {

namespace {
Desktop* current = nullptr;
WindowProc windowProc = nullptr;
}

Desktop& desktop() {
    if (current == nullptr) {
        std::fputs("tarvik-kxv: no desktop in use\n", stderr);
        std::abort();
    }
    return *current;
}

void setDesktop(Desktop* d) { current = d; }

void setWindowProc(WindowProc proc) { windowProc = proc; }

long sendMessage(Window w, Message m, std::uintptr_t wParam, std::intptr_t lParam) {
    return windowProc != nullptr ? windowProc(w, m, wParam, lParam) : 0;
}

}  // namespace platform
