// todo.tre: loading keeps what it read, and writing it back reads the same.
#include <QByteArray>
#include <cstdint>
#include <cstdlib>

#include "todotree.h"

using namespace ravell;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  ToDoTree tree;
  tree.Load(bytes);
  tree.SetLoadedImages();
  const QByteArray written = tree.Compose();
  ToDoTree again;
  if (!again.Load(written).isEmpty() || again.Compose() != written) std::abort();
  tree.Sort();
  tree.FindNode(QStringLiteral("Acme"));
  return 0;
}
