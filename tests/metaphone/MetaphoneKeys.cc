// Reads words, one a line, and prints "word TAB primary TAB alternate" for each.
#include <iostream>
#include <string>

#include "search/DoubleMetaphone.h"

int main() {
    std::string word;
    while (std::getline(std::cin, word)) {
        CDoubleMetaphone keys(word.c_str());
        std::cout << word << '\t' << keys.Primary() << '\t' << keys.Alternate() << '\n';
    }
    return 0;
}
