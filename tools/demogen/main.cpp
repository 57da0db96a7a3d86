// rosterdemo-gen <folder> [seed]: writes a demo game folder and lists what it
// wrote.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "demo_game.h"

static int Usage() {
    fprintf(stderr, "usage: rosterdemo-gen <folder> [seed]\n");
    return 2;
}

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3 || !argv[1][0]) return Usage();
    unsigned seed = 1;
    if (argc == 3) {
        char* end = nullptr;
        unsigned long value = strtoul(argv[2], &end, 10);
        if (!argv[2][0] || *end || argv[2][0] == '-' || value > 0xFFFFFFFFul) return Usage();
        seed = (unsigned)value;
    }
    if (!WriteDemoGame(argv[1], seed)) return 1;

    std::vector<std::string> lines;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(argv[1], error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (!it->is_regular_file(error)) continue;
        std::string path = std::filesystem::relative(it->path(), argv[1], error).generic_string();
        lines.push_back(path + " " + std::to_string(it->file_size(error)));
    }
    std::sort(lines.begin(), lines.end());
    printf("wrote %zu files under %s (seed %u):\n", lines.size(), argv[1], seed);
    for (const std::string& line : lines) printf("  %s\n", line.c_str());
    return 0;
}
