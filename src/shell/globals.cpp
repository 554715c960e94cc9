#include "shell/globals.h"

#include "shell/config.h"

DATAFILE *data1 = nullptr;
volatile int teh_counter = 0;
int globalsound = default_volume;
int globalmusic = default_volume;
bool quit = false;

void my_timer()
{
    teh_counter = teh_counter - 1;
}
END_OF_FUNCTION(my_timer)
