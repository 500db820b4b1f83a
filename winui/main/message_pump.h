#pragma once

#include <windows.h>

// The message loop of the program and its short form for a long run.
// Keyboard messages for a window go through the dialog manager of its
// top-level window first, so Tab, Alt+key and Enter behave as in a dialog.

// Handles the messages waiting now and returns. A WM_QUIT found is put
// back for the main loop and ends the pumping.
void ProcessWaitingMessages();

// Dispatches messages until WM_QUIT; returns its exit code.
int RunMessageLoop();

// Routes one message through the dialog manager or dispatches it.
void DispatchOne(MSG& message);
