#pragma once
// Whether a process of this machine is still running: the one place where the program asks
// the system about another process (page folders and final prints left by a process that
// was killed are told apart from those of one still at work).
#include <QtGlobal>

namespace quirdal {

// True while the process runs, and also when it cannot be told (another user's process,
// a number reused): what is in doubt is left alone.
bool processoVivo(qint64 pid);

} // namespace quirdal
