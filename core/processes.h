#pragma once
// Which process and thread is this one, and whether another process is still running: what
// names a writer's file apart from every other writer's, and tells a file a writer left behind
// when it was killed from one a writer is still writing.

#include <cstdint>

namespace core {

std::uint32_t currentProcessId();

// The calling thread's id on this machine: no two threads running at one time share it.
std::uint64_t currentThreadId();

// Whether a process with this id runs on this machine. An id the system reused for another
// process counts as running: a caller that deletes what a dead process left keeps the file then.
bool processRunning(std::uint32_t id);

} // namespace core
