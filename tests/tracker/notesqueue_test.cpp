#include "notesqueue.h"

#include <gtest/gtest.h>

#include "../support/fakes.h"

namespace ravell {
namespace {

using testing::FakeNotesLink;

// A refused change stays, and goes again first; a record's later change
// replaces its earlier one, so a deleted record is never saved back.
TEST(NotesRecordQueueTest, KeepsRefusedChangesInOrderAndOnlyTheLastPerRecord) {
  FakeNotesLink link;
  NotesRecordQueue queue;
  link.fail_save = true;
  queue.Save("A", "P", "1", 10, 1, 2);
  EXPECT_THROW(queue.Send(link), NotesError);
  queue.Save("B", "P", "2", 10, 2, 3);
  queue.Save("A", "P", "1", 10, 1, 2.5);  // the same record, saved later with a new end
  queue.Save("C", "P", "3", 10, 3, 4);
  queue.Delete("3");
  EXPECT_THROW(queue.Send(link), NotesError);
  EXPECT_EQ(queue.size(), 3);

  link.fail_save = false;
  link.calls->clear();
  queue.Send(link);
  EXPECT_TRUE(queue.empty());
  EXPECT_EQ(*link.calls,
            (QStringList{"SaveToNotesDoc|B|P|2|10|2.000000|3.000000",
                         "SaveToNotesDoc|A|P|1|10|1.000000|2.500000", "DeleteTask|3"}));
}

}  // namespace
}  // namespace ravell
