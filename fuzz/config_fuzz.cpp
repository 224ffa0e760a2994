// config_fuzz.cpp: libFuzzer target: any bytes as lines of the settings file and as a whole
// file that is read, rewritten and read again.
#include "platform/config_file.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <strings.h>
#include <vector>

using platform::ConfigFile;

namespace {

void Require(bool ok) {
    if (!ok) std::abort();
}

std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The line is the value's, readable or not: a write replaces it.
bool IsValueLine(const std::string& line, const char* name) {
    const std::string_view n = ConfigFile::NameOf(line);
    return n.size() == std::string_view(name).size() && strncasecmp(n.data(), name, n.size()) == 0;
}

std::vector<std::string> Without(const std::vector<std::string>& lines, const char* name) {
    std::vector<std::string> kept;
    for (const std::string& l : lines)
        if (!IsValueLine(l, name)) kept.push_back(l);
    return kept;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A folder of this process's own, on a memory file system when there is one (every run syncs
// a file); made and removed by each run, so nothing is left behind however the fuzzer ends.
const std::string& Folder() {
    static const std::string folder =
        std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/ranqua-config-fuzz-" +
        std::to_string(getpid());
    return folder;
}

size_t Entries(const std::string& folder) {
    size_t n = 0;
    if (DIR* d = opendir(folder.c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') ++n;
        closedir(d);
    }
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // A parsed line written back from its parts parses to the same parts.
    for (const std::string& line : Lines(text)) {
        std::string n, v;
        if (!ConfigFile::ParseLine(line, n, v)) continue;
        std::string n2, v2;
        Require(ConfigFile::ParseLine(n + "=\"" + ConfigFile::Escape(v) + "\"", n2, v2));
        Require(n2 == n && v2 == v);
    }

    // The input as the file: a new value goes in, every other line stays.
    const std::string path = Folder() + "/Ranqua.conf";
    mkdir(Folder().c_str(), 0700);
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    const ConfigFile file(path);
    // An editor's byte-order mark before the first line is not kept.
    std::string_view body = text;
    if (body.starts_with("\xEF\xBB\xBF")) body.remove_prefix(3);
    const std::vector<std::string> before = Lines(body);
    const auto musicBefore = file.Read("PlayMusic");
    const std::string value(text.substr(0, 64));
    Require(file.Write("Game", value));
    Require(file.Read("Game") == value);
    Require(file.Read("PlayMusic") == musicBefore);
    const std::vector<std::string> after = Lines(ReadAll(path));
    Require(Without(after, "Game") == Without(before, "Game"));
    Require(after.size() - Without(after, "Game").size() == 1);
    Require(Entries(Folder()) == 1); // no temporary file left
    unlink(path.c_str());
    rmdir(Folder().c_str());
    return 0;
}
