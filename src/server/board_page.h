#pragma once
#include <string>

#include "server/board_store.h"

// The page at /: every board the server knows (the latest played first), each drawn from its
// level's codes as an SVG of its tiles, with its table of the fastest proven runs and a link to
// each run and to the level, so anyone can step them again with vinkla-replay.
std::string page_html(board_store &store);

// `text` made safe inside HTML text and attribute values.
std::string html_escaped(const std::string &text);
