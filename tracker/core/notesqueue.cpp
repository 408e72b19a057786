#include "notesqueue.h"

#include "noteslink.h"

namespace ravell {

void NotesRecordQueue::Put(const Change& change) {
  changes_.removeIf([&](const Change& c) { return c.task_id == change.task_id; });
  changes_.append(change);
}

void NotesRecordQueue::Save(const QString& task, const QString& project, const QString& task_id,
                            double rate, DateTime time_start, DateTime time_end) {
  Put({task_id, false, task, project, rate, time_start, time_end});
}

void NotesRecordQueue::Delete(const QString& task_id) {
  Change change;
  change.task_id = task_id;
  change.remove = true;
  Put(change);
}

void NotesRecordQueue::Send(NotesLink& link) {
  while (!changes_.isEmpty()) {
    const Change& c = changes_.first();
    if (c.remove) {
      link.DeleteTask(c.task_id);
    } else {
      link.SaveToNotesDoc(c.task, c.project, c.task_id, c.rate, c.time_start, c.time_end);
    }
    changes_.removeFirst();
  }
}

}  // namespace ravell
