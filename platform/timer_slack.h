#pragma once

// The timer slack of the calling thread: how much later than asked the kernel
// may end its timed sleeps (select, poll, nanosleep), to wake it together with
// other work. Threads the calling thread starts afterwards inherit the value.

// Sets the calling thread's timer slack to `nanoseconds`; 0 restores the default.
void PlatformSetTimerSlack(unsigned long nanoseconds);

// The calling thread's timer slack in nanoseconds.
unsigned long PlatformTimerSlack();
