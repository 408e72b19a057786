#pragma once
// C interface of the Notes link library (libnotesbridge.so). The tracker looks
// every export up by name; the library may be built by anyone who keeps this
// interface.
//
// Text blocks: the library returns a buffer from malloc holding a
// zero-terminated 8-bit text; its address is the handle. The tracker copies
// the text and releases the buffer with free().
// Exports other than Init return 0 on success and any other value when the
// library failed; the tracker treats that as an error raised by the library.

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef intptr_t RvHandle;

// One record of GetDayRecords; the block stays the library's.
typedef struct NotesDayRecord {
  char task[128];
  char project[128];
  char task_id[128];
  double time_start;
  double time_end;
  double time_delta;
} NotesDayRecord;

// Init result: -1 fatal, 2 session refused, anything else: session open.
typedef int (*NotesInitFn)(void* app_window, const char* server, const char* database,
                           const char* password);
// date: year "." month "." day without leading zeros. A handle <= 0 means no records.
typedef int (*NotesGetDayRecordsFn)(const char* date, RvHandle* block, int* count);
typedef int (*NotesCreateSelTaskFn)(const char* task, const char* project);
// Lines in pairs: project, task.
typedef int (*NotesGetNotesSelTasksFn)(RvHandle* block, int load_notes_todo);
typedef int (*NotesSaveToNotesDocFn)(const char* task, const char* project, const char* task_id,
                                     double rate, double time_start, double time_end);
typedef int (*NotesGetActiveProjectsFn)(RvHandle* block);
typedef int (*NotesGetUserNameFn)(RvHandle* block);
typedef int (*NotesGetRateListFn)(RvHandle* block);
// project_task: project "~~" task.
typedef int (*NotesDeleteSelTaskFn)(const char* project_task);
typedef int (*NotesUpdateProjectFn)(const char* name, const char* name_again, double rate);
typedef int (*NotesDeleteProjectFn)(const char* name);
typedef int (*NotesDeleteTaskFn)(const char* task_id);
typedef int (*NotesTerminateFn)(void);

#ifdef __cplusplus
}
static_assert(sizeof(NotesDayRecord) == 408, "the day record is 408 bytes");
#endif
