// best_games.cpp: entering games into the table of the best, its lines, and its file.
#include "game/best_games.h"

#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace {

// A table is a few hundred bytes; a larger file is not ours to rewrite.
constexpr size_t kMaxFileSize = 1 << 20;
constexpr uint32_t kMaxLevel = 15;

// Decimal digits only, at most `maxDigits` of them, at most `max`.
bool ParseNumber(std::string_view text, size_t maxDigits, uint64_t max, uint64_t& value) {
    if (text.empty() || text.size() > maxDigits) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return value <= max;
}

bool IsDate(std::string_view d) {
    if (d.size() != 10 || d[4] != '-' || d[7] != '-') return false;
    uint64_t year = 0, month = 0, day = 0;
    return ParseNumber(d.substr(0, 4), 4, 9999, year) &&
           ParseNumber(d.substr(5, 2), 2, 12, month) && month >= 1 &&
           ParseNumber(d.substr(8, 2), 2, 31, day) && day >= 1;
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

} // namespace

std::optional<BestMark> BestTable::Enter(const BestEntry& entry) {
    if (entry.score <= 0) return std::nullopt;
    // Below every entry of an equal or higher score: the older stays above.
    const auto at = std::find_if(m_entries.begin(), m_entries.end(),
                                 [&](const BestEntry& e) { return e.score < entry.score; });
    const auto place = static_cast<size_t>(at - m_entries.begin());
    if (place >= kSize) return std::nullopt;
    const int ofItsKind = static_cast<int>(std::count(m_entries.begin(), at, entry));
    m_entries.insert(at, entry);
    if (m_entries.size() > kSize) m_entries.resize(kSize);
    return BestMark{entry, ofItsKind, place};
}

std::optional<size_t> BestTable::Find(const BestMark& mark) const {
    int seen = 0;
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i] == mark.entry && seen++ == mark.ofItsKind) return i;
    return std::nullopt;
}

bool BestTable::ParseLine(std::string_view line, BestEntry& entry) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::vector<std::string_view> words = Words(line);
    uint64_t score = 0, level = 0;
    if (words.size() != 3 ||
        !ParseNumber(words[0], 10, std::numeric_limits<int32_t>::max(), score) || score == 0 ||
        !IsDate(words[1]) || !ParseNumber(words[2], 2, kMaxLevel, level))
        return false;
    entry = {static_cast<int32_t>(score), std::string(words[1]), static_cast<uint32_t>(level)};
    return true;
}

BestTable BestTable::Parse(std::string_view text) {
    BestTable table;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        BestEntry entry;
        if (ParseLine(text.substr(start, end - start), entry)) table.m_entries.push_back(entry);
        start = end + 1;
    }
    // A file put out of order by hand is read in order; among equal scores the earlier line
    // counts as the older game.
    std::stable_sort(table.m_entries.begin(), table.m_entries.end(),
                     [](const BestEntry& a, const BestEntry& b) { return a.score > b.score; });
    if (table.m_entries.size() > kSize) table.m_entries.resize(kSize);
    return table;
}

std::string BestTable::Text() const {
    std::string text;
    for (const BestEntry& e : m_entries)
        text += std::to_string(e.score) + " " + e.date + " " + std::to_string(e.level) + "\n";
    return text;
}

std::string BestGamesFile::DefaultPath() {
    return platform::UserFolder("XDG_DATA_HOME", ".local/share") + "/ranqua/scores";
}

bool BestGamesFile::Read(BestTable& table, std::string* reason) const {
    std::string text;
    switch (platform::ReadSmallFile(m_path, text, kMaxFileSize)) {
    case platform::ReadResult::kOk:
        table = BestTable::Parse(text);
        return true;
    case platform::ReadResult::kMissing:
        table = BestTable();
        return true;
    case platform::ReadResult::kTooLarge:
        if (reason) *reason = std::strerror(EFBIG);
        return false;
    case platform::ReadResult::kUnreadable:
        break;
    }
    if (reason) *reason = std::strerror(errno);
    return false;
}

bool BestGamesFile::Record(const BestEntry& entry, std::optional<BestMark>& mark,
                           std::string* reason) const {
    mark.reset();
    std::optional<BestMark> entered;
    int error = 0;
    const bool ok = platform::UpdateFileLocked(
        m_path, kMaxFileSize,
        [&](std::string& text) {
            BestTable table = BestTable::Parse(text);
            entered = table.Enter(entry);
            if (!entered) return false;
            text = table.Text();
            return true;
        },
        &error);
    if (!ok) {
        if (reason) *reason = std::strerror(error);
        return false;
    }
    mark = entered;
    return true;
}
