// The files the simulator's options name, checked before it serves: each file it reads is a
// readable regular file, and each it writes can be written where it is asked to go.
#pragma once
#include <string>

#include "sim/sim_options.h"

namespace zelor::sim {

// Why the file cannot be read, in the system's words ("No such file or directory", "Is a
// directory", "Permission denied", or what kind of file it is when not a regular one); empty
// when it can. Never opens anything but a regular file, so a FIFO cannot block the caller.
std::string WhyNotReadable(const std::string& path);

// How a file is written: appended to (the log), replaced in place (the firmware), or written
// beside it under a temporary name and renamed over it (the configuration).
enum class WriteKind { Append, InPlace, ByRename };

// Why the file cannot be written that way; empty when it can. An existing file must be a regular
// one (a character device such as /dev/null too, for Append) that opens for writing, without its
// content being touched; a new file, or one replaced by renaming, needs a folder that exists and
// takes a new file (tried with a probe file that is removed again).
std::string WhyNotWritable(const std::string& path, WriteKind kind);

// Every file option checked in turn: the first problem as one line naming the option, the file
// and the reason; empty when all can be used.
std::string CheckSimFiles(const SimOptions& options);

}  // namespace zelor::sim
