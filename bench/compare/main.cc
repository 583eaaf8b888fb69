// lxcompare: the measuring side of bench/compare/compare.py. One subcommand
// per measurement; see Peers.h.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/compare/Peers.h"

namespace {

int Usage() {
    fprintf(stderr,
            "usage: lxcompare wordlists FORMS OUT\n"
            "       lxcompare engine DATABASE WORDS OUT\n"
            "       lxcompare wordnet WORDS OUT\n"
            "       lxcompare dict PEER DATABASE PORT WORDS NEWCONNECTIONS OUT\n"
            "       lxcompare bridge PORT WORDS COUNT OUT\n"
            "       lxcompare answers DATABASE LEMMAS OUT\n"
            "       lxcompare engine-syscalls DATABASE lookup|index|define WORDS COUNT\n"
            "       lxcompare wordnet-syscalls lookup|index|define WORDS COUNT\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    std::string command = argv[1];
    auto arg = [&](int i) { return std::string(argv[i]); };
    auto number = [&](int i) { return atoi(argv[i]); };
    if (command == "wordlists" && argc == 4) return lxcompare::MakeWordLists(number(2), arg(3));
    if (command == "engine" && argc == 5) return lxcompare::RunEngine(arg(2), arg(3), arg(4));
    if (command == "wordnet" && argc == 4) return lxcompare::RunWordNet(arg(2), arg(3));
    if (command == "dict" && argc == 8)
        return lxcompare::RunDict(arg(2), arg(3), number(4), arg(5), number(6), arg(7));
    if (command == "bridge" && argc == 6)
        return lxcompare::RunBridge(number(2), arg(3), number(4), arg(5));
    if (command == "answers" && argc == 5) return lxcompare::CompareAnswers(arg(2), arg(3), arg(4));
    if (command == "engine-syscalls" && argc == 6)
        return lxcompare::EngineSyscalls(arg(2), arg(3), arg(4), number(5));
    if (command == "wordnet-syscalls" && argc == 5)
        return lxcompare::WordNetSyscalls(arg(2), arg(3), number(4));
    return Usage();
}
