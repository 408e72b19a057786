#pragma once
// C interface of the GUI library (librvgui.so): splash, About, options and
// plan-alarm dialogs. Window handles are the QWidget* of the owner window.

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Password call-back: block is the address of a malloc buffer holding a
// zero-terminated text (the call-back frees it), or 0. The result stays valid
// until the next call of either call-back.
typedef const char* (*RvPasswordCallback)(intptr_t block);

typedef void (*RvShowSplashFn)(void* app_window);
typedef void (*RvCloseSplashFn)(void);
typedef void (*RvShowAboutFn)(void* app_window);
// Edits ravell.ini in the current directory (the tracker's program folder).
typedef int (*RvShowOptionsFn)(void* app_window, unsigned char setup_mode,
                               RvPasswordCallback unscramble, RvPasswordCallback scramble);
// Result: 1 plan +0:10:00, 2 set plan, 3 stop the task, 4 show the main window;
// anything else: closed.
typedef int (*RvShowAlarmFn)(void* app_window, const char* message, const char* task,
                             const char* project);

#ifdef __cplusplus
}
#endif
