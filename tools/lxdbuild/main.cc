// lxdbuild: compiles the installed lexical sources into the dictionary file.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/lxdbuild/Builder.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: lxdbuild --out DIR [--sources ROOT] [--node-modules DIR] [--images DIR] "
                 "[--quiet] [--no-espeak]\n"
                 "  writes DIR/wordnet.lxd, DIR/IPA_to_IMG.txt and the IPA images\n"
                 "  (default DIR/../images/ipa) from the Debian packages under ROOT (/)\n"
                 "  and the npm packages of tools/lxdbuild/package.json in DIR (node_modules)\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    lxdbuild::BuildOptions options;
    for (int i = 1; i < argc; ++i) {
        bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--out") == 0 && hasValue) {
            options.outDir = argv[++i];
        } else if (std::strcmp(argv[i], "--sources") == 0 && hasValue) {
            options.sourceRoot = argv[++i];
        } else if (std::strcmp(argv[i], "--node-modules") == 0 && hasValue) {
            options.nodeModules = argv[++i];
        } else if (std::strcmp(argv[i], "--images") == 0 && hasValue) {
            options.imageDir = argv[++i];
        } else if (std::strcmp(argv[i], "--quiet") == 0) {
            options.quiet = true;
        } else if (std::strcmp(argv[i], "--no-espeak") == 0) {
            options.useEspeak = false;
        } else {
            return Usage();
        }
    }
    if (options.outDir.empty()) {
        return Usage();
    }
    lxdbuild::CBuilder builder(options);
    return builder.Run();
}
