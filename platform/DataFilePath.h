// The per-user data directory into which PDL_GetDataFilePath maps names.
#ifndef LEXORA_PLATFORM_DATAFILEPATH_H
#define LEXORA_PLATFORM_DATAFILEPATH_H

#include <string>

// LXCORE_DATA_DIR when set, else $XDG_DATA_HOME/lexora (an absolute
// XDG_DATA_HOME only), else $HOME/.local/share/lexora; "" when none of them
// can be formed.
std::string DataDirectory();

#endif  // LEXORA_PLATFORM_DATAFILEPATH_H
