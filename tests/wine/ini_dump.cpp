// Prints what the platform's INI reader makes of awkward files, so the Windows reader (under
// Wine) can be checked against the answers recorded in ini_corpus_windows.txt. Built for both
// platforms. `corpus DIR` reads the corpus in DIR (tests/wine/ini_corpus); `config FILE` loads
// FILE as the plug-in does and prints every setting and the settings check's notes.
#include <cstdio>
#include <string>

#include "ini_corpus.h"

int main(int argc, char** argv) {
    const std::string mode = argc == 3 ? argv[1] : "";
    if (mode != "corpus" && mode != "config") {
        std::fprintf(stderr, "usage: ini-dump corpus DIR | ini-dump config FILE\n");
        return 2;
    }
    std::string out = mode == "corpus" ? DumpIniCorpus(argv[2]) : "";
    const bool ok = mode == "corpus" || DumpConfig("file", argv[2], out);
    std::fputs(out.c_str(), stdout);
    return ok ? 0 : 1;
}
