#pragma once

// The fading title picture at start-up.
void start_bild();
