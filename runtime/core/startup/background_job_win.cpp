#include "runtime/core/startup/background_job_win.h"

#include <windows.h>

#include "runtime/core/startup/runtime_app_win.h"
#include "runtime/core/values/memory.h"

namespace lw {

struct BackgroundJob {
  HANDLE thread;
  void (*work)(void*);
  void* context;
};

namespace {

// Jobs whose work has not returned. Counted before a thread starts and after its
// work is done, so a job is never missed while it may be inside a library.
volatile LONG g_running = 0;

DWORD WINAPI runJob(void* parameter) {
  auto* job = static_cast<BackgroundJob*>(parameter);
  job->work(job->context);
  // The job record is the finisher's from here on: only the count is touched.
  InterlockedDecrement(&g_running);
  return 0;
}

}  // namespace

BackgroundJob* StartBackgroundJob(void (*work)(void*), void* context) {
  auto* job = static_cast<BackgroundJob*>(TryAllocMemory(sizeof(BackgroundJob)));
  if (!job) return nullptr;
  *job = {nullptr, work, context};
  InterlockedIncrement(&g_running);
  job->thread = CreateThread(nullptr, 0, &runJob, job, 0, nullptr);
  if (!job->thread) {
    InterlockedDecrement(&g_running);
    FreeMemory(job);
    return nullptr;
  }
  return job;
}

void FinishBackgroundJob(BackgroundJob* job) {
  if (!job) return;
  // A job still running may ask the program to end, through the hidden owner.
  if (WaitForSingleObject(job->thread, 0) != WAIT_OBJECT_0) EnsureHiddenOwner();
  // Messages other threads send to this one are answered meanwhile, as a modal
  // wait answers them: among them the request to end the program, which a job
  // that meets a fatal error sends and then waits on. Posted messages wait for
  // the message loop.
  for (;;) {
    DWORD woke = MsgWaitForMultipleObjectsEx(1, &job->thread, INFINITE, QS_SENDMESSAGE, 0);
    if (woke == WAIT_OBJECT_0) break;
    if (woke != WAIT_OBJECT_0 + 1) {
      WaitForSingleObject(job->thread, INFINITE);
      break;
    }
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  CloseHandle(job->thread);
  FreeMemory(job);
}

bool BackgroundJobsRunning() { return InterlockedCompareExchange(&g_running, 0, 0) != 0; }

}  // namespace lw
