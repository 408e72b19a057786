/* Notes link stand-in for the loader tests. Every call appends one line to
   the file named by RAVELL_FAKE_LOG; the export named by RAVELL_FAKE_FAIL
   reports a failure, with the status in RAVELL_FAKE_STATUS or 1 (text
   exports still hand out their block). Built with
   OMIT_SOME_EXPORTS it lacks Init, GetRateList and Terminate. */
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "notesbridge_api.h"

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

static int Status(const char* name) {
  const char* fail = getenv("RAVELL_FAKE_FAIL");
  if (!fail || strcmp(fail, name) != 0) return 0;
  const char* status = getenv("RAVELL_FAKE_STATUS");
  return status ? atoi(status) : 1;
}

static RvHandle Block(const char* text) {
  char* copy = malloc(strlen(text) + 1);
  strcpy(copy, text);
  return (RvHandle)copy;
}

#ifndef OMIT_SOME_EXPORTS
int Init(void* app_window, const char* server, const char* database, const char* password) {
  Log("Init|%s|%s|%s|%s", app_window ? "window" : "null", server, database, password);
  return atoi(password);
}
#endif

/* The library owns the records; a caller that freed them would crash. Two
   records for any date; "none" gives no block, "negative" a bad count. */
static NotesDayRecord day_records[2];

int GetDayRecords(const char* date, RvHandle* block, int* count) {
  Log("GetDayRecords|%s", date);
  memset(day_records, 0, sizeof day_records);
  strcpy(day_records[0].task, "Write");
  strcpy(day_records[0].project, "Alpha");
  strcpy(day_records[0].task_id, "20240105000001");
  day_records[0].time_start = 45296.25;
  day_records[0].time_end = 45296.5;
  day_records[0].time_delta = 0.25;
  /* Unterminated fields: 128 bytes each, running into the next field. */
  memset(day_records[1].task, 'T', sizeof day_records[1].task);
  memset(day_records[1].project, 'P', sizeof day_records[1].project);
  memset(day_records[1].task_id, '9', sizeof day_records[1].task_id);
  day_records[1].time_start = 45296.75;
  day_records[1].time_end = 45296.875;
  *block = strcmp(date, "none") == 0 ? 0 : (RvHandle)day_records;
  *count = strcmp(date, "negative") == 0 ? -1 : 2;
  return Status("GetDayRecords");
}

int CreateSelTask(const char* task, const char* project) {
  Log("CreateSelTask|%s|%s", task, project);
  return Status("CreateSelTask");
}

int GetNotesSelTasks(RvHandle* block, int load_notes_todo) {
  Log("GetNotesSelTasks|%d", load_notes_todo);
  *block = Block("Alpha\r\nWrite\r\nBeta\r\nRead");
  return Status("GetNotesSelTasks");
}

int SaveToNotesDoc(const char* task, const char* project, const char* task_id, double rate,
                   double time_start, double time_end) {
  Log("SaveToNotesDoc|%s|%s|%s|%g|%.4f|%.4f", task, project, task_id, rate, time_start, time_end);
  return Status("SaveToNotesDoc");
}

int GetActiveProjects(RvHandle* block) {
  Log("GetActiveProjects");
  *block = Block("Alpha\r\nBeta");
  return Status("GetActiveProjects");
}

int GetUserName(RvHandle* block) {
  Log("GetUserName");
  *block = Block("Test User");
  return Status("GetUserName");
}

#ifndef OMIT_SOME_EXPORTS
int GetRateList(RvHandle* block) {
  Log("GetRateList");
  *block = Block("Alpha=12.5\r\nBeta=");
  return Status("GetRateList");
}
#endif

int DeleteSelTask(const char* project_task) {
  Log("DeleteSelTask|%s", project_task);
  return Status("DeleteSelTask");
}

int UpdateProject(const char* name, const char* name_again, double rate) {
  Log("UpdateProject|%s|%s|%g", name, name_again, rate);
  return Status("UpdateProject");
}

int DeleteProject(const char* name) {
  Log("DeleteProject|%s", name);
  return Status("DeleteProject");
}

int DeleteTask(const char* task_id) {
  Log("DeleteTask|%s", task_id);
  return Status("DeleteTask");
}

#ifndef OMIT_SOME_EXPORTS
int Terminate(void) {
  Log("Terminate");
  return Status("Terminate");
}
#endif
