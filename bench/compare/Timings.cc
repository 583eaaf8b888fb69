#include <cstdio>
#include <fstream>

#include "bench/compare/Peers.h"

namespace lxcompare {

Timings::Timings(const std::string& outDir, const std::string& peer, const std::string& measure)
    : path(outDir + "/" + peer + "-" + measure + ".txt") {}

Timings::~Timings() {
    FILE* out = fopen(path.c_str(), "w");
    if (out == nullptr) {
        fprintf(stderr, "cannot write %s\n", path.c_str());
        return;
    }
    for (double figure : figures) fprintf(out, "%.0f\n", figure);
    fclose(out);
}

void Timings::Stop() {
    auto end = std::chrono::steady_clock::now();
    figures.push_back(std::chrono::duration<double, std::nano>(end - start).count());
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace lxcompare
