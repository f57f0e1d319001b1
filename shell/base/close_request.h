// Requests to close the program, weighed against unsaved work before the close message is posted.
//
// Escape, the caption's close button and Exit come from the worker thread and ask the close gate at
// once; the window manager's close button comes from another thread and waits for the worker's next
// update. A close signal goes to the main thread: when the signal hook says the worker has work to
// keep, the main thread hands the close to the worker, which keeps it (a recovery copy) and then
// posts the close message confirmed.
#pragma once

// Parameter of a close message the worker posts after keeping its work: closes without asking again.
constexpr int kCloseConfirmed = 1;
// The same, when the work could not be kept anywhere: the program ends with exit status 1.
constexpr int kCloseWorkLost = 2;
// The same, when the work was kept (a recovery copy) but not saved: the program ends with exit status
// 128 + the close signal, as a process that the signal ended.
constexpr int kCloseWorkKept = 3;

// The question before closing, run on the worker: true lets the program close. nullptr: always closes.
// Once it has let a close through it is not asked again (the close is under way).
void SetCloseGate(bool (*gate)());
// The signal hooks: `pending` (any thread) tells whether a close signal must wait for the worker;
// `keep` (worker) keeps what would be lost and says whether it could. nullptr for both: signals close
// at once.
void SetSignalCloseHooks(bool (*pending)(), bool (*keep)());

// A user's close request on the worker thread (Escape, close button, Exit): posts the close message
// when the gate allows it. Returns whether it was posted.
bool RequestProgramClose();
// A close request from a thread other than the worker; the worker takes it in its next update.
void RequestProgramCloseFromAnyThread();

// Main thread, on a close message caused by a signal: true when the worker must keep its work first
// (the close is then handed to it and the caller closes nothing yet).
bool HandSignalCloseToWorker();

// Worker, once per pass of every mode (RunModePasses): takes the requests handed to it by other threads.
void TakeCloseRequests();
