// The game's reference tables kept under reference/: tab-separated, one header line.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The rows of one table, header left out, each split into its fields; none when the file is
// missing.
inline std::vector<std::vector<std::string>> ReadReferenceTable(const std::string& fileName) {
    std::ifstream in(std::string(TARROWIND_REFERENCE_DIR) + "/" + fileName);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::istringstream text(line);
        for (std::string field; std::getline(text, field, '\t');) {
            fields.push_back(field);
        }
        fields.resize(6);  // empty trailing fields read as empty strings
        rows.push_back(fields);
    }
    return rows;
}
