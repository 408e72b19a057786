#pragma once
// Status values of the library's exports other than Init. The tracker only
// tells zero from non-zero; the distinct values say why a call failed.

namespace ravell::notesbridge {

enum Status : int {
  kOk = 0,
  kNoSession = 1,    // called before Init opened a session, or after Terminate
  kBusy = 2,         // another process holds the database locked
  kReadOnly = 3,     // the database file or its folder cannot be written
  kStoreError = 4,   // any other database failure (disk full, I/O, corruption)
  kBadArgument = 5,  // a null pointer, an invalid date or value, a line break in a name
  kConflict = 6,     // a project rename onto a name that already exists
};

// Init results, as the tracker reads them.
inline constexpr int kInitOpen = 0;
inline constexpr int kInitFatal = -1;
inline constexpr int kInitRefused = 2;

}  // namespace ravell::notesbridge
