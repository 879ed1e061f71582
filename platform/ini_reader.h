// An INI reader that answers like the Windows profile API (GetPrivateProfileString/Int):
// first matching section only, first matching key, names compared without regard to case,
// blanks around names and values dropped, one pair of matching quotes stripped from a value.
#pragma once

#include <string>
#include <vector>

namespace ini {

// Value of [section] key in the file at path, cut to bufferSize - 1 characters, or the
// default when the file, the section or the key (or its '=') is missing.
std::string ReadString(const std::string& section, const std::string& key,
                       const std::string& defaultText, const std::string& path,
                       size_t bufferSize = 256);

// The same parsing over text already in memory (used by the file reader and by tests).
std::string ReadStringFromText(const std::string& text, const std::string& section,
                               const std::string& key, const std::string& defaultText,
                               size_t bufferSize = 256);

// Integer form: the default when the value is empty or missing, otherwise the leading signed
// number (0 when there is none; "0x", "0o" and "0b" choose hexadecimal, octal and binary),
// wrapping like the Windows reader on overflow.
int ReadInt(const std::string& section, const std::string& key, int defaultValue,
            const std::string& path);
int ReadIntFromText(const std::string& text, const std::string& section, const std::string& key,
                    int defaultValue);

// The integer conversion the Windows reader applies to a value's text.
int ParseProfileInt(const std::string& text);

// The names of the file's sections in file order, a name written twice listed twice, headers
// with an empty name left out (GetPrivateProfileSectionNames); none for a missing file.
std::vector<std::string> ListSections(const std::string& path);
std::vector<std::string> ListSectionsFromText(const std::string& text);

// The lines of the first section of that name as "key=value", or "key" for a line without '=',
// in file order, comment lines (';') left out (GetPrivateProfileSection). Values are whole:
// neither cut nor unquoted.
std::vector<std::string> ListSectionEntries(const std::string& section, const std::string& path);
std::vector<std::string> ListSectionEntriesFromText(const std::string& text,
                                                    const std::string& section);

}  // namespace ini
