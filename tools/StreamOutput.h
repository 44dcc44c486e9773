#pragma once

#include <string>

// Writes the bytes of the file open at `from`, from its start, through to
// the character device or FIFO at path: opened only now, never created,
// truncated or replaced. A FIFO is waited on until a reader opens it.
// False with errno set when the open or a write fails (ENOSPC from a full
// device, EPIPE from a reader that went), EINTR when a signal interrupted
// the run (see Interruption.h) while it waited.
bool CopyToStream(int from, const std::string& path);
