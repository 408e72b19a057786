/* GUI library stand-in for the loader tests. Every call appends one line to
   the file named by RAVELL_FAKE_LOG. Built with OMIT_SOME_EXPORTS it lacks
   ShowAlarm and CloseSplash. */
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "rvgui_api.h"

static void Log(const char* format, ...) {
  const char* path = getenv("RAVELL_FAKE_LOG");
  if (!path) return;
  FILE* file = fopen(path, "a");
  if (!file) return;
  va_list args;
  va_start(args, format);
  vfprintf(file, format, args);
  va_end(args);
  fputc('\n', file);
  fclose(file);
}

static intptr_t Block(const char* text) {
  char* copy = malloc(strlen(text) + 1);
  strcpy(copy, text);
  return (intptr_t)copy;
}

void ShowSplash(void* app_window) { Log("ShowSplash|%s", app_window ? "window" : "null"); }

#ifndef OMIT_SOME_EXPORTS
void CloseSplash(void) { Log("CloseSplash"); }
#endif

void ShowAbout(void* app_window) { Log("ShowAbout|%s", app_window ? "window" : "null"); }

/* Scrambles RAVELL_FAKE_PASSWORD and unscrambles the result again, as the
   dialog does when it stores and later shows the password; each result is
   copied before the next call. Returns 5 when the round trip held. */
int ShowOptions(void* app_window, unsigned char setup_mode, RvPasswordCallback unscramble,
                RvPasswordCallback scramble) {
  const char* password = getenv("RAVELL_FAKE_PASSWORD");
  char scrambled[8192];
  char plain[8192];
  snprintf(scrambled, sizeof scrambled, "%s", scramble(Block(password ? password : "")));
  snprintf(plain, sizeof plain, "%s", unscramble(Block(scrambled)));
  const char* from_nothing = unscramble(0);
  Log("ShowOptions|%s|%d|%s|%s|[%s]", app_window ? "window" : "null", setup_mode, scrambled,
      plain, from_nothing);
  return password && strcmp(plain, password) == 0 ? 5 : 6;
}

#ifndef OMIT_SOME_EXPORTS
int ShowAlarm(void* app_window, const char* message, const char* task, const char* project) {
  Log("ShowAlarm|%s|%s|%s|%s", app_window ? "window" : "null", message, task, project);
  return (int)strlen(task);
}
#endif
