// best_games.h: the table of the ten best finished games, and the file that keeps it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct BestEntry {
    int32_t score = 0;
    std::string date; // local, YYYY-MM-DD
    uint32_t level = 0;
    bool operator==(const BestEntry&) const = default;
};

// Which entry of a table a game became. A later game equal to it in every field goes below it,
// and no other game reorders equal entries, so the n-th of its kind stays the n-th for as long
// as it stays in the table.
struct BestMark {
    BestEntry entry;
    int ofItsKind = 0; // equal entries above it
    size_t place = 0;  // where it entered, 0 = first
};

// The ten best finished games, best first; of equal scores the older stays above.
class BestTable {
public:
    static constexpr size_t kSize = 10;

    // Enters a finished game when its score is above 0 and, with the table full, beats the
    // tenth (the tenth then leaves). Nothing when it does not enter.
    std::optional<BestMark> Enter(const BestEntry& entry);
    // Where the marked game stands now; nothing once it has left the table.
    std::optional<size_t> Find(const BestMark& mark) const;

    const std::vector<BestEntry>& Entries() const { return m_entries; }

    // One entry a line, "SCORE YYYY-MM-DD LEVEL", best first. Lines that do not parse are
    // skipped; the rest are put in order (the earlier line above among equal scores) and the
    // best ten kept.
    static BestTable Parse(std::string_view text);
    std::string Text() const;
    [[nodiscard]] static bool ParseLine(std::string_view line, BestEntry& entry);

private:
    std::vector<BestEntry> m_entries;
};

// The table's file, ${XDG_DATA_HOME:-~/.local/share}/ranqua/scores, shared by every game the
// player runs.
class BestGamesFile {
public:
    static std::string DefaultPath();
    explicit BestGamesFile(std::string path = DefaultPath()) : m_path(std::move(path)) {}

    // The table the file holds (empty when there is no file yet). False, with the system's
    // words for why in `reason`, when the file is there but cannot be read.
    [[nodiscard]] bool Read(BestTable& table, std::string* reason = nullptr) const;
    // Enters a finished game into the table as the file holds it now, and rewrites the file when
    // it entered, holding the file's lock throughout so that games finishing at once keep each
    // other's entries. `mark` gets which entry it became, or nothing. False (the old file left
    // as it was, `reason` saying why) when the file could not be read or written.
    [[nodiscard]] bool Record(const BestEntry& entry, std::optional<BestMark>& mark,
                              std::string* reason = nullptr) const;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};
