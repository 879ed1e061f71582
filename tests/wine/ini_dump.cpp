// Prints what the platform's INI reader makes of awkward files, so the Windows reader (under
// Wine) can be checked against the answers recorded in ini_corpus_windows.txt. Built for both
// platforms.
//
//   ini-dump corpus DIR   writes the corpus under DIR/Tarrowind and prints every result
//   ini-dump config FILE  loads FILE as the plug-in does and prints every setting and the
//                         settings check's notes
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "ini_corpus.h"

int main(int argc, char** argv) {
    const std::string mode = argc == 3 ? argv[1] : "";
    std::string out;
    bool ok = true;
    if (mode == "corpus") {
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(argv[2]) / "Tarrowind", ec);
        std::filesystem::current_path(argv[2], ec);
        if (ec) {
            std::fprintf(stderr, "ini-dump: cannot use '%s'\n", argv[2]);
            return 2;
        }
        out = DumpIniCorpus();
    } else if (mode == "config") {
        ok = DumpConfig("file", argv[2], out);
    } else {
        std::fprintf(stderr, "usage: ini-dump corpus DIR | ini-dump config FILE\n");
        return 2;
    }
    std::fputs(out.c_str(), stdout);
    return ok ? 0 : 1;
}
