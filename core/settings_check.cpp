#include "core/settings_check.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <system_error>

#include "core/config.h"
#include "core/delay_range.h"
#include "core/logger.h"
#include "core/settings_table.h"
#include "platform/platform.h"

namespace {

// Texts a player writes for on and for off; only "true", "1" and "yes" actually turn a switch
// on.
const char* const kOnWords[] = {"true", "yes", "y", "on", "enabled", "enable"};
const char* const kOffWords[] = {"false", "no", "n", "off", "0", "disabled", "disable"};

// Longest value shown in a note; the rest is cut off.
constexpr size_t kShownLength = 60;

std::string Lower(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

// Section and key names match without regard to case, as in the reader.
bool SameName(const std::string& a, const std::string& b) {
    return Lower(a) == Lower(b);
}

bool IsOneOf(const std::string& lowerText, const char* const* words, size_t count) {
    return std::find(words, words + count, lowerText) != words + count;
}

// Edits (insert, delete, change, swap two neighbours) from a to b, ignoring case.
size_t EditDistance(const std::string& a, const std::string& b) {
    const std::string x = Lower(a);
    const std::string y = Lower(b);
    std::vector<std::vector<size_t>> d(x.size() + 1, std::vector<size_t>(y.size() + 1));
    for (size_t i = 0; i <= x.size(); ++i) {
        d[i][0] = i;
    }
    for (size_t j = 0; j <= y.size(); ++j) {
        d[0][j] = j;
    }
    for (size_t i = 1; i <= x.size(); ++i) {
        for (size_t j = 1; j <= y.size(); ++j) {
            const size_t change = x[i - 1] == y[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && x[i - 1] == y[j - 2] && x[i - 2] == y[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[x.size()][y.size()];
}

// Whether `written` is close enough to `known` to be a misspelling of it, and how close.
bool CloseTo(const std::string& written, const std::string& known, size_t* distance) {
    const size_t allowed = std::max<size_t>(1, known.size() / 4);
    const size_t longer = std::max(written.size(), known.size());
    const size_t shorter = std::min(written.size(), known.size());
    if (longer - shorter > allowed) {
        return false;  // and no need to measure a long line
    }
    *distance = EditDistance(written, known);
    return *distance <= allowed;
}

const SettingRow* FindSetting(const char* section, const std::string& key) {
    for (const SettingRow& setting : AllSettings()) {
        if ((section == nullptr || SameName(section, setting.section)) &&
            SameName(key, setting.key)) {
            return &setting;
        }
    }
    return nullptr;
}

const char* FindSection(const std::string& name) {
    for (const char* section : AllSettingSections()) {
        if (SameName(name, section)) {
            return section;
        }
    }
    return nullptr;
}

// The known key a misspelt one most likely means, or null.
const SettingRow* ClosestSetting(const std::string& key) {
    const SettingRow* best = nullptr;
    size_t bestDistance = 0;
    for (const SettingRow& setting : AllSettings()) {
        size_t distance = 0;
        if (CloseTo(key, setting.key, &distance) && (best == nullptr || distance < bestDistance)) {
            best = &setting;
            bestDistance = distance;
        }
    }
    return best;
}

const char* ClosestSection(const std::string& name) {
    const char* best = nullptr;
    size_t bestDistance = 0;
    for (const char* section : AllSettingSections()) {
        size_t distance = 0;
        if (CloseTo(name, section, &distance) && (best == nullptr || distance < bestDistance)) {
            best = section;
            bestDistance = distance;
        }
    }
    return best;
}

// A line of the file as a note shows it: control characters as '?', a long one cut.
std::string Shown(const std::string& text) {
    std::string out;
    for (char c : text.substr(0, kShownLength)) {
        const unsigned char u = static_cast<unsigned char>(c);
        out += u < 0x20 || u == 0x7F ? '?' : c;
    }
    return text.size() > kShownLength ? out + "..." : out;
}

// One key of a section as listed: its name, its first line, and how many lines name it.
struct KeyLines {
    std::string key;
    std::string firstLine;
    int count;
};

// The section's lines grouped by key, in the order the keys first appear.
std::vector<KeyLines> GroupByKey(const std::vector<std::string>& lines) {
    std::vector<KeyLines> keys;
    for (const std::string& line : lines) {
        const std::string key = line.substr(0, line.find('='));
        auto same = std::find_if(keys.begin(), keys.end(),
                                 [&key](const KeyLines& k) { return SameName(k.key, key); });
        if (same == keys.end()) {
            keys.push_back(KeyLines{key, line, 1});
        } else {
            ++same->count;
        }
    }
    return keys;
}

// '#' starts a comment for people, though not for the reader; such a line does no harm.
bool IsComment(const std::string& key) {
    return !key.empty() && key[0] == '#';
}

const SettingRow& DelayPartner(const SettingRow& delay) {
    for (const SettingRow& setting : AllSettings()) {
        if (&setting != &delay && setting.type != SettingType::Switch &&
            SameName(setting.section, delay.section)) {
            return setting;
        }
    }
    return delay;
}

// Why a delay is not used as read: the reason in words, or empty when it is used as read.
std::string DelayRepair(const SettingRow& delay, int read, int used, int usedMinimum) {
    if (used == read) {
        return std::string();
    }
    if (read > kMaxDelayMinutes) {
        return "above the longest delay, " + std::to_string(kMaxDelayMinutes) + " minutes";
    }
    if (delay.type == SettingType::MinDelay) {
        return "below 1 minute";
    }
    return std::string("below ") + DelayPartner(delay).key + " (" + std::to_string(usedMinimum) +
           ")";
}

class SettingsChecker {
  public:
    explicit SettingsChecker(const std::string& path) : path_(path) {}

    std::vector<std::string> Run() {
        CheckLinesBeforeAnySection();
        const std::vector<std::string> sections = platform::ListIniSections(path_.c_str());
        std::vector<std::string> seen;
        for (const std::string& name : sections) {
            if (std::any_of(seen.begin(), seen.end(),
                            [&name](const std::string& s) { return SameName(s, name); })) {
                continue;
            }
            seen.push_back(name);
            const long written =
                std::count_if(sections.begin(), sections.end(),
                              [&name](const std::string& s) { return SameName(s, name); });
            if (FindSection(name) == nullptr) {
                CheckUnknownSection(name);
                continue;
            }
            if (written > 1) {
                Note("[" + Shown(name) + "] is written " + std::to_string(written) +
                     " times; only the first is read, so the lines under the others are "
                     "ignored.");
            }
            CheckKnownSection(name);
        }
        for (const SettingRow& setting : AllSettings()) {
            const bool checked = std::find(checkedDelays_.begin(), checkedDelays_.end(),
                                           &setting) != checkedDelays_.end();
            if (setting.type != SettingType::Switch && !checked) {
                CheckDelay(setting, std::string());
            }
        }
        return notes_;
    }

  private:
    void Note(const std::string& text) { notes_.push_back("Settings: " + text); }

    std::vector<KeyLines> KeysOf(const std::string& section) const {
        return GroupByKey(platform::ListIniSectionEntries(section.c_str(), path_.c_str()));
    }

    void CheckLinesBeforeAnySection() {
        for (const KeyLines& lines : KeysOf("")) {
            if (IsComment(lines.key)) {
                continue;
            }
            const SettingRow* setting = FindSetting(nullptr, lines.key);
            Note(Shown(lines.firstLine) + " comes before any [section] line, so it is ignored." +
                 (setting ? std::string(" It belongs under [") + setting->section + "]." : ""));
        }
    }

    void CheckUnknownSection(const std::string& name) {
        const char* meant = ClosestSection(name);
        Note("[" + Shown(name) + "] is not a section Tarrowind reads, so the lines under it are " +
             "ignored." + (meant ? std::string(" Did you mean [") + meant + "]?" : ""));
        if (meant != nullptr) {
            return;
        }
        for (const KeyLines& lines : KeysOf(name)) {
            if (const SettingRow* setting = FindSetting(nullptr, lines.key)) {
                NoteWrongSection(name, lines, *setting);
            }
        }
    }

    void NoteWrongSection(const std::string& section, const KeyLines& lines,
                          const SettingRow& setting) {
        Note("[" + Shown(section) + "] " + Shown(lines.firstLine) +
             " is ignored here: " + setting.key + " belongs under [" + setting.section + "].");
    }

    void CheckKnownSection(const std::string& name) {
        const char* section = FindSection(name);
        for (const KeyLines& lines : KeysOf(name)) {
            if (IsComment(lines.key)) {
                continue;
            }
            if (const SettingRow* setting = FindSetting(section, lines.key)) {
                CheckKnownKey(name, lines, *setting);
            } else if (const SettingRow* elsewhere = FindSetting(nullptr, lines.key)) {
                NoteWrongSection(name, lines, *elsewhere);
            } else {
                NoteUnknownKey(name, lines, section);
            }
        }
    }

    void NoteUnknownKey(const std::string& name, const KeyLines& lines, const char* section) {
        std::string text = "[" + Shown(name) + "] " + Shown(lines.firstLine) +
                           " is not a setting Tarrowind reads, so it is ignored.";
        if (const SettingRow* meant = ClosestSetting(lines.key)) {
            text += std::string(" Did you mean ") + meant->key;
            if (!SameName(meant->section, section)) {
                text += std::string(" under [") + meant->section + "]";
            }
            text += "?";
        }
        Note(text);
    }

    void CheckKnownKey(const std::string& name, const KeyLines& lines, const SettingRow& setting) {
        if (lines.count > 1) {
            Note("[" + Shown(name) + "] " + setting.key + " is written " +
                 std::to_string(lines.count) + " times; only the first, " + Shown(lines.firstLine) +
                 ", is read.");
        }
        if (setting.type == SettingType::Switch) {
            CheckSwitch(name, lines, setting);
        } else {
            checkedDelays_.push_back(&setting);
            CheckDelay(setting, "[" + Shown(name) + "] " + Shown(lines.firstLine));
        }
    }

    void CheckSwitch(const std::string& name, const KeyLines& lines, const SettingRow& setting) {
        const std::string value =
            platform::ReadIniString(setting.section, setting.key.c_str(), "true", path_.c_str());
        const std::string word = Lower(value);
        const std::string subject = "[" + Shown(name) + "] " + Shown(lines.firstLine);
        if (ParseBool(value) || IsOneOf(word, kOffWords, std::size(kOffWords))) {
            return;
        }
        if (IsOneOf(word, kOnWords, std::size(kOnWords))) {
            Note(subject + " reads as off: a switch is on only for true, 1 or yes, in lower case.");
        } else {
            Note(subject + " is neither on nor off, so it reads as off. Write true or false.");
        }
    }

    // `subject` names the key and its line as written; empty when the key is not set.
    void CheckDelay(const SettingRow& delay, const std::string& subject) {
        const SettingRow& partner = DelayPartner(delay);
        const int read = platform::ReadIniInt(delay.section, delay.key.c_str(), delay.defaultValue,
                                              path_.c_str());
        const int partnerRead = platform::ReadIniInt(partner.section, partner.key.c_str(),
                                                     partner.defaultValue, path_.c_str());
        const bool isMin = delay.type == SettingType::MinDelay;
        const DelayRange range =
            isMin ? UsedDelayRange(read, partnerRead) : UsedDelayRange(partnerRead, read);
        const int used = isMin ? range.minMinutes : range.maxMinutes;
        const std::string repair = DelayRepair(delay, read, used, range.minMinutes);
        const std::string reading = NumberReading(delay, read);
        const std::string usedPart = ", so " + std::to_string(used) + " is used.";
        if (subject.empty()) {
            if (!repair.empty()) {
                Note(std::string("[") + delay.section + "] " + delay.key +
                     " is not set, so it is " + std::to_string(read) + "; that is " + repair +
                     usedPart);
            }
        } else if (!reading.empty() && !repair.empty()) {
            Note(subject + " " + reading + "; that is " + repair + usedPart);
        } else if (!reading.empty()) {
            Note(subject + " " + reading + ".");
        } else if (!repair.empty()) {
            Note(subject + " is " + repair + usedPart);
        }
    }

    // How a delay's text reads when it is not a plain whole number; empty when it is one (or
    // is empty, which gives the default).
    std::string NumberReading(const SettingRow& delay, int read) const {
        const std::string text =
            platform::ReadIniString(delay.section, delay.key.c_str(), "", path_.c_str());
        if (text.empty()) {
            return std::string();
        }
        const size_t digitsFrom = text[0] == '+' || text[0] == '-' ? 1 : 0;
        const bool digitsOnly =
            text.size() > digitsFrom &&
            text.find_first_not_of("0123456789", digitsFrom) == std::string::npos;
        if (digitsOnly) {
            const size_t significant = text.find_first_not_of('0', digitsFrom);
            const bool fits =
                (significant == std::string::npos || text.size() - significant <= 10) &&
                std::stoll(text) == read;
            return fits ? std::string() : "is out of range, so it reads as " + std::to_string(read);
        }
        return "is not a whole number, so it reads as " + std::to_string(read);
    }

    std::string path_;
    std::vector<std::string> notes_;
    std::vector<const SettingRow*> checkedDelays_;
};

// The file's full path, to show where it was looked for.
std::string WhereLookedFor(const std::string& path) {
    return platform::FullPath(path.c_str());
}

void ReportStopped(const char* what) noexcept {
    try {
        LogError(std::string("Settings check stopped: ") + what);
    } catch (...) {
        // Nothing may leave start-up, not even a failure to say so.
    }
}

}  // namespace

std::vector<std::string> SettingsNotes(const std::string& path) {
    return SettingsChecker(path).Run();
}

void LogSettingsCheck(const std::string& path) noexcept {
    try {
        switch (ProbeSettingsFile(path)) {
            case SettingsFileState::Missing:
                Log(LogLevel::Info, "Settings check: no settings file at " + WhereLookedFor(path) +
                                        ", so every setting has its default");
                return;
            case SettingsFileState::Unreadable:
                Log(LogLevel::Info, "Settings check: " + WhereLookedFor(path) +
                                        " could not be read, so every setting has its default");
                return;
            case SettingsFileState::Readable:
                break;
        }
        const std::vector<std::string> notes = SettingsNotes(path);
        for (const std::string& note : notes) {
            Log(LogLevel::Info, note);
        }
        if (notes.empty()) {
            Log(LogLevel::Info, "Settings check: " + path + " is read as written");
        } else {
            Log(LogLevel::Info, "Settings check: " + std::to_string(notes.size()) +
                                    (notes.size() == 1 ? " note" : " notes") + " above on " + path +
                                    "; everything else is read as written");
        }
    } catch (const std::exception& e) {
        ReportStopped(e.what());
    } catch (...) {
        ReportStopped("unknown exception");
    }
}
