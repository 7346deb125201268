// Work on a thread of its own beside the main thread, for a job that mostly waits:
// a page read from the network while the start window is made.
//
// A job never touches a window or the runtime's main-thread state (loaded windows,
// events, idle and cleanup lists). It may take blocks from the allocator, whose
// process heap serialises its callers, and call DLL commands, which are bound one
// at a time. A job still running when the program ends is abandoned: the shutdown
// leaves the libraries alone that the job may be inside, and the end of the process
// stops its thread.
#pragma once

namespace lw {

struct BackgroundJob;

// Starts `work(context)` on a thread of its own. Null when no thread could be
// started: the caller then does the work itself.
BackgroundJob* StartBackgroundJob(void (*work)(void* context), void* context);

// Waits until the job's work has returned, then lets go of the job. The context
// is the caller's again. Messages sent to this thread meanwhile are answered, so
// the program can still be told to end.
void FinishBackgroundJob(BackgroundJob* job);

// Whether the work of a started job has not returned yet.
bool BackgroundJobsRunning();

}  // namespace lw
