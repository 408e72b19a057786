#pragma once

#include <QList>
#include <QString>

#include "datetime.h"

namespace ravell {

class NotesLink;

// Record changes the Notes link has not taken yet. A change that fails (a
// database locked by another program, say) stays queued and goes again, in
// order, before the next change, so a closed interval is never dropped. The
// link keeps a record under its TaskId, so only a record's last change counts.
class NotesRecordQueue {
 public:
  void Save(const QString& task, const QString& project, const QString& task_id, double rate,
            DateTime time_start, DateTime time_end);
  void Delete(const QString& task_id);
  // Hands every queued change to the link; throws the first NotesError, and
  // that change and the ones after it stay queued.
  void Send(NotesLink& link);

  bool empty() const { return changes_.isEmpty(); }
  qsizetype size() const { return changes_.size(); }

 private:
  struct Change {
    QString task_id;
    bool remove = false;
    QString task;
    QString project;
    double rate = 0;
    DateTime time_start = 0;
    DateTime time_end = 0;
  };
  void Put(const Change& change);

  QList<Change> changes_;
};

}  // namespace ravell
