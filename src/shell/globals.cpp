#include "shell/globals.h"

DATAFILE *data1 = nullptr;
volatile int teh_counter = 0;
int globalsound = 136;
int globalmusic = 136;
bool quit = false;

void my_timer()
{
    teh_counter = teh_counter - 1;
}
END_OF_FUNCTION(my_timer)
