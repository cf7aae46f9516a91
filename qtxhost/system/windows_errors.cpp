#include "system/windows_errors.h"

std::string WindowsReason(DWORD error) {
    char text[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, sizeof text,
                   nullptr);
    std::string reason = text;
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.')) reason.pop_back();
    return WindowsReason(error, reason);
}

std::string WindowsReason(DWORD error, const std::string& words) {
    return "error " + std::to_string(error) + (words.empty() ? "" : ": " + words);
}
