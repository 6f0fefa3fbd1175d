// The updater runs once at a time: it counts the running processes whose
// executable is the same file as its own.
#pragma once

namespace nd {

// Number of processes (this one included) running the executable file of
// this process, found through /proc/<pid>/exe and compared by device and
// inode, so a different program that merely shares the name is not counted.
int count_own_instances();

}  // namespace nd
