#include "tools/lxdbuild/Report.h"

#include <cstdio>

namespace lxdbuild {

namespace {
constexpr long kMalformedShownPerFile = 10;
}

CBuildReport::CBuildReport(bool quiet) : quiet(quiet), buildStart(Clock::now()) {}

double CBuildReport::SecondsSince(Clock::time_point start) const {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void CBuildReport::BeginStage(const std::string& name) {
    stageName = name;
    stageStart = Clock::now();
    if (!quiet) {
        std::fprintf(stderr, "[lxdbuild] %s ...\n", name.c_str());
    }
}

void CBuildReport::EndStage(const std::string& stageFigures) {
    if (!quiet) {
        std::fprintf(stderr, "[lxdbuild] %s: %s (%.1f s, total %.1f s)\n", stageName.c_str(),
                     stageFigures.c_str(), SecondsSince(stageStart), SecondsSince(buildStart));
    }
}

void CBuildReport::Malformed(const std::string& file, long line, const std::string& reason) {
    ++malformedTotal;
    long shown = ++malformedPerFile[file];
    if (quiet) {
        return;
    }
    if (shown <= kMalformedShownPerFile) {
        std::fprintf(stderr, "%s:%ld: skipped: %s\n", file.c_str(), line, reason.c_str());
    } else if (shown == kMalformedShownPerFile + 1) {
        std::fprintf(stderr, "%s: further malformed lines are counted only\n", file.c_str());
    }
}

void CBuildReport::Warn(const std::string& text) {
    if (!quiet) {
        std::fprintf(stderr, "[lxdbuild] warning: %s\n", text.c_str());
    }
}

void CBuildReport::Set(const std::string& name, const std::string& value) {
    for (auto& figure : figures) {
        if (figure.first == name) {
            figure.second = value;
            return;
        }
    }
    figures.emplace_back(name, value);
}

void CBuildReport::Set(const std::string& name, uint64_t value) {
    Set(name, std::to_string(value));
}

std::string CBuildReport::Get(const std::string& name) const {
    for (const auto& figure : figures) {
        if (figure.first == name) {
            return figure.second;
        }
    }
    return std::string();
}

void CBuildReport::PrintSummary() const {
    if (quiet) {
        return;
    }
    std::fprintf(stderr, "[lxdbuild] report:\n");
    for (const auto& figure : figures) {
        std::fprintf(stderr, "  %-34s %s\n", figure.first.c_str(), figure.second.c_str());
    }
    std::fprintf(stderr, "  %-34s %ld\n", "malformed source lines skipped", malformedTotal);
    std::fprintf(stderr, "  %-34s %.1f s\n", "build time", SecondsSince(buildStart));
}

}  // namespace lxdbuild
