#include "platform/timer_slack.h"

#include <sys/prctl.h>

int with_inherited_timer_slack(unsigned long slack_ns, int (*start)())
{
    const int own = prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
    const bool changed = own >= 0 && prctl(PR_SET_TIMERSLACK, slack_ns, 0, 0, 0) == 0;
    const int result = start();
    if (changed)
        prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(own), 0, 0, 0);
    return result;
}
