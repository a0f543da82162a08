// The desktop entry's actions are the launcher's quick starts here: they are fixed, and the
// teas have no place of their own beside them.

#include "JumpList.h"

namespace Platform::JumpList {

void Write(const QList<TTask>&) {}
void Flush() {}

} // namespace Platform::JumpList
