#pragma once
// Text blocks of the outside libraries: a malloc buffer holding a
// zero-terminated 8-bit text, whose address is the handle.

#include <QString>
#include <cstdint>
#include <cstdlib>

#include "textcodec.h"

namespace ravell {

// Copies the text and frees the buffer; a handle of 0 or less is no text.
inline QString TakeTextBlock(intptr_t block) {
  if (block <= 0) return QString();
  char* text = reinterpret_cast<char*>(block);
  const QString copy = FromFileText(QByteArray(text));
  std::free(text);
  return copy;
}

}  // namespace ravell
