#pragma once
#include <string>

// The game library without a display: no drivers, an 800 by 600 memory bitmap as the screen,
// `config` as the configuration file and the real data file in data1. False, with a message on
// stderr, when it cannot be had.
bool start_headless(const std::string &config, const char *datafile);
