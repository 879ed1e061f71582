// Our INI reader must answer as the Windows profile reader does. The Wine tests record what the
// kernel's reader makes of every file of an awkward corpus; here ours reads the same corpus.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "support/temp_workdir.h"
#include "wine/ini_corpus.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(IniCorpus, OurReaderAnswersAsTheWindowsReaderRecorded) {
    std::ifstream recordedFile(TARROWIND_SOURCE_DIR "/tests/wine/ini_corpus_windows.txt",
                               std::ios::binary);
    ASSERT_TRUE(recordedFile) << "the recorded answers are missing";
    std::stringstream recordedText;
    recordedText << recordedFile.rdbuf();
    const std::vector<std::string> recorded = Lines(recordedText.str());

    TempWorkdir dir(false);
    const std::vector<std::string> ours = Lines(DumpIniCorpus());
    ASSERT_GE(recorded.size(), 100u);
    for (size_t i = 0; i < std::min(recorded.size(), ours.size()); ++i) {
        ASSERT_EQ(ours[i], recorded[i]) << "result " << i + 1 << " differs";
    }
    EXPECT_EQ(ours.size(), recorded.size());
}

}  // namespace
