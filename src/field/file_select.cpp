#include "field/file_select.h"

// Stub: replaced by the real choosers.
std::string load_field_file(std::string current) { return current; }
void set_save_file_name(std::string, char *path) { path[0] = 0; }
