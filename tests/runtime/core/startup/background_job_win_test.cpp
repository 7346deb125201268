// Background jobs: the finisher waits for the work, answers what the job sends it
// meanwhile, and the running count holds while the work has not returned.
#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/core/startup/background_job_win.h"

namespace lw {
namespace {

// A job that asks the finishing thread's window something, as a job that meets a
// fatal error asks the main thread to end the program, then leaves its result.
struct Asking {
  HWND window;        // a window of the finishing thread
  HANDLE mayAsk;      // set once the finisher is about to wait
  bool answered = false;
  bool done = false;
};

void ask(void* context) {
  auto* a = static_cast<Asking*>(context);
  WaitForSingleObject(a->mayAsk, 10000);
  DWORD_PTR reply = 0;
  a->answered = SendMessageTimeoutW(a->window, WM_USER + 7, 0, 0, SMTO_NORMAL, 5000, &reply) && reply == 42;
  a->done = true;
}

LRESULT CALLBACK answerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  return m == WM_USER + 7 ? 42 : DefWindowProcW(h, m, w, l);
}

TEST(BackgroundJob, FinishWaitsForTheWorkAndAnswersWhatTheJobSends) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = &answerProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"BackgroundJobTest";
  RegisterClassW(&wc);
  Asking a = {CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr),
              CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  ASSERT_NE(nullptr, a.window);

  BackgroundJob* job = StartBackgroundJob(&ask, &a);
  ASSERT_NE(nullptr, job);
  EXPECT_TRUE(BackgroundJobsRunning()) << "expected the job counted while its work runs";
  SetEvent(a.mayAsk);
  FinishBackgroundJob(job);
  EXPECT_TRUE(a.done) << "expected the finisher to wait for the work";
  EXPECT_TRUE(a.answered) << "expected the message the job sent answered while the finisher waited";
  EXPECT_FALSE(BackgroundJobsRunning()) << "expected no job counted once its work returned";

  CloseHandle(a.mayAsk);
  DestroyWindow(a.window);
}

}  // namespace
}  // namespace lw
