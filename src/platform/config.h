#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The player's settings in vinkla.cfg, section "settings". The file is hand-editable, so
// every read falls back to a sound value instead of trusting what it finds, and the game's own
// write changes nothing but its own keys.
constexpr int default_volume = 136;
extern const char *const default_level;  // "standardfile.vkl"

// Reads the file into the library's configuration. Every get_config_* and set_config_* then
// works on that copy, and the library never writes the file back itself: config_save does.
void config_open(const char *path);

// Key "sound" or "music", read as the library's integer reader reads it (decimal, 0x hex, a
// leading 0 octal; whatever follows the number is ignored), clamped to 0..255. Only a value
// that holds no number at all gives default_volume.
int config_volume(const char *key);

// A decimal number key of [settings]: the whole value must be a finite number (one beyond the
// float range is held at the largest float); nothing otherwise.
std::optional<float> config_float(const char *key);

// Key "lastgame": the level to play; missing or empty gives default_level.
std::string config_lastgame();
bool config_has_lastgame();  // a level was played before

// Keys of [settings] with the values to write, in this order.
using setting_values = std::vector<std::pair<std::string, std::string>>;

// The configuration text `text` with `values` set in its [settings] section: the line the
// library reads for a key gets the new value, a missing key is added after the section's last
// key (wherever the section lies), a missing section is added at the end. Every other line,
// comment and blank line stays byte for byte; names are matched as the library matches them.
std::string merge_settings(const std::string &text, const setting_values &values);

// Sets a key of [settings] that the game writes only once the player has changed it (the
// sensitivity): config_save writes it from then on, and leaves a hand-written line alone before.
void config_set_changed(const char *key, const std::string &value);

// Writes the game's keys (sound, music, lastgame, those given to config_set_changed, as the library's configuration holds them
// now) into the file at `path` with merge_settings, through replace_file. False when it cannot
// be written; the file then holds what it held.
bool config_save(const char *path);

// config_save, and a Finnish alert when the settings could not be written.
void save_settings(const char *path);
