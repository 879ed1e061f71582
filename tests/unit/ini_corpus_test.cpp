// Our INI reader must answer as the Windows profile reader does. The Wine tests record what the
// kernel's reader makes of every file of an awkward corpus; here ours reads the same corpus.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "wine/ini_corpus.h"

TEST(IniCorpus, OurReaderAnswersAsTheWindowsReaderRecorded) {
    std::ifstream recorded(TARROWIND_SOURCE_DIR "/tests/wine/ini_corpus_windows.txt");
    std::istringstream ours(DumpIniCorpus(TARROWIND_SOURCE_DIR "/tests/wine/ini_corpus"));
    int line = 0;
    for (std::string want, got; std::getline(recorded, want);) {
        ++line;
        ASSERT_TRUE(std::getline(ours, got) && got == want)
            << "result " << line << ":\n  ours     " << got << "\n  recorded " << want;
    }
    EXPECT_GE(line, 100) << "the record is missing";
    EXPECT_EQ(ours.peek(), EOF) << "ours has more results than the record";
}
