#pragma once

// The library's dialogs (the file chooser's buttons) ask get_config_text for their words by
// the English text. This gives them Finnish ones, ahead of anything a configuration file says.
void use_finnish_library_texts();
