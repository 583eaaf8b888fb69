// Splits one command line of the DICT protocol (RFC 2229) into its words:
// atoms separated by spaces or tabs, and strings in single or double quotes
// in which a backslash takes the next byte literally.
#ifndef LEXORA_TOOLS_LXDICTD_COMMANDLINE_H
#define LEXORA_TOOLS_LXDICTD_COMMANDLINE_H

#include <string>
#include <vector>

enum class CommandSyntax {
    kOk,
    kUnclosedQuote,  // a quoted string runs to the end of the line
    kControlByte,    // a byte below 0x20 other than a tab, or 0x7F
};

// Replaces `words` with the words of `line` (without its line end). An empty
// line gives no words.
CommandSyntax SplitCommandLine(const std::string& line, std::vector<std::string>* words);

#endif  // LEXORA_TOOLS_LXDICTD_COMMANDLINE_H
