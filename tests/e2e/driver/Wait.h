// Waiting on Vexa from outside: for a condition to hold, and for its thread to have handled what was
// sent to it.
#pragma once

#include <windows.h>

#include <functional>

// Polls the condition, handling this thread's own messages in between, until it holds or the timeout
// passes; true when it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// Sends the window WM_NULL and waits until its thread has answered; false after the timeout.
bool RoundTrip(HWND window, DWORD timeoutMs = 5000);

// Waits until the window answers messages again (a command it was running has ended).
bool WaitUntilIdle(HWND window, DWORD timeoutMs = 10000);
