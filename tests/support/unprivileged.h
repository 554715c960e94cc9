#pragma once
// File-mode checks that count even when the tests run as root (as CI does), whose rights
// ignore read-only files and folders.
#include <functional>
#include <string>

// Runs `check` with an ordinary player's rights: as root in a child process that has dropped
// to the user nobody, otherwise right here. True when `check` returned true.
bool as_player(const std::function<bool()> &check);

// Hands `path` to the user as_player runs as (nothing to do when not root), and lets that user
// pass through the folders above it up to /tmp.
void give_to_player(const std::string &path);
