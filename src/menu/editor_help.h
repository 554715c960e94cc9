#pragma once

void editor_help();
