// Keeps a dialog class to one open instance: a second request brings the open one to the front.
#pragma once

#include "framework/Dialog.h"

// What RunModalOnce returns when another instance of the class is already open.
inline constexpr int kModalAlreadyOpen = 3;

// Runs the dialog modally unless the class's slot names an open one; the slot holds the dialog while
// it runs. Returns the dialog's result, or kModalAlreadyOpen after bringing the open one to the front.
int RunModalOnce(CDialog& dialog, CDialog** slot);
