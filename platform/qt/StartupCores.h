// On a machine of two processors, the main thread and the early thread each
// on its own while the program starts. Left to itself the scheduler often
// wakes the main thread on the processor where the early thread is busy,
// where it waits its turn; that costs the first paint one to two
// milliseconds.
#pragma once

namespace platform::qt::startupcores {

// On the main thread, before the early thread starts: chooses a processor
// for the early thread and keeps the main thread, and the threads it starts
// meanwhile, off it. False, and nothing changed, unless the process may use
// exactly two processors.
bool separate();

// First thing on the early thread: keeps it on the processor chosen for it.
void enterEarlyThread();

// Every thread of the process may use all the processors it was allowed at
// the start again. Once is enough; later calls do nothing.
void rejoin();

}  // namespace platform::qt::startupcores
