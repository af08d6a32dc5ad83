#include "driver/Wait.h"

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (!condition())
    {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&message);
        ::Sleep(20);
    }
    return true;
}

bool RoundTrip(HWND window, DWORD timeoutMs)
{
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

bool WaitUntilIdle(HWND window, DWORD timeoutMs)
{
    // A sent message is answered whenever the thread looks for messages, which a closing common dialog
    // may do before the command that opened it has finished: ask twice, a moment apart.
    if (!RoundTrip(window, timeoutMs))
        return false;
    ::Sleep(100);
    return RoundTrip(window, timeoutMs);
}
