#pragma once
#include <string>

// The player's settings in vinkla.cfg, section "settings". The file is hand-editable, so
// every read falls back to a sound value instead of trusting what it finds.
constexpr int default_volume = 136;
extern const char *const default_level;  // "standardfile.vkl"

// Key "sound" or "music": a whole number in the file, clamped to 0..255; anything that is
// not a number (or nothing at all) gives default_volume.
int config_volume(const char *key);

// Key "lastgame": the level to play; missing or empty gives default_level.
std::string config_lastgame();
