#pragma once

// Runs `start` with the calling thread's timer slack set to `slack_ns`, then puts the caller's
// own slack back. Threads that `start` creates keep `slack_ns`: a new thread takes its timer
// slack from the thread that created it, and nothing else reaches a thread the library starts.
// Returns what `start` returned.
int with_inherited_timer_slack(unsigned long slack_ns, int (*start)());
