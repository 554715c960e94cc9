#pragma once
#include <string>

// Puts `bytes` into the file at `path` so that no failure can leave it half written: the new
// content goes into a temporary file created exclusively beside the target under a short name of
// its own (so it never clashes with a file of the player's, nor passes the file system's limit
// on a long target name) and is renamed over the target once it is complete. Where no file can
// be created in that folder, or the target cannot be renamed over, but the target itself may be
// written, it is written in place, and put back as it was should that write fail. Through a
// symbolic link the file it points at is replaced; a link to nothing is never followed to make a
// file. A target that may not be written, a folder or a device is left alone.
// True when the file holds `bytes`; false when it holds what it held before.
bool replace_file(const std::string &path, const std::string &bytes);

// How a write of one of the game's own files (settings, records, runs, recovery) ended.
enum class own_write { written, failed, link };

// replace_file for the game's own files, which are never written through a symbolic link: a
// link in their place (a dangling one too) is left alone and reported as `link`, so a file the
// game was pointed at elsewhere (/etc/passwd, a level) is never replaced by its settings.
own_write replace_own_file(const std::string &path, const std::string &bytes);

enum class new_file { made, taken, failed };

// Makes a file that is not there yet and fills it with `bytes`: a name already taken (by a
// file, a folder or a link, dangling or not) is never opened, and a file that could not be
// filled is removed again. `mode` as for open(2), before the umask.
new_file create_new_file(const std::string &path, const std::string &bytes, unsigned mode);
