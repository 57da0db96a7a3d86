#include "fixture.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

PersonFileSet FixtureDefaults;
PersonFileSet FixtureUser;

static void SetName(char* cell, const char* text, char filler) {
    size_t length = strlen(text);
    memset(cell, filler, NameCellBytes);
    memcpy(cell, text, length + 1);
}

static int DefaultBirthYear(int p) {
    if (p == 0 || p == 20) return 0;
    if (p == 21) return -5;
    if (p == 12 || p == 1399 || p == 1400) return 1560;
    return p % 7 == 3 ? 0 : 1500 + p % 60;
}

void MakeFixture() {
    for (int p = 0; p < PersonRows; ++p) {
        for (int k = 0; k < PersonFields; ++k) {
            FixtureDefaults.Persons[p][k] = p * 1000 + k + 1;
            FixtureUser.Persons[p][k] = -(p * 1000 + k + 1);
        }
        FixtureDefaults.Persons[p][BirthYear] = DefaultBirthYear(p);
        FixtureUser.Persons[p][BirthYear] = p > 0 && p < UserPersonEnd ? 1400 + p % 60 : 0;
        for (int k = 0; k < PersonSkillSlots; ++k) {
            FixtureDefaults.Skills[p][k] = p * 100 + k + 1;
            FixtureUser.Skills[p][k] = -(p * 100 + k + 1);
        }
        for (int k = 0; k < PersonItemSlots; ++k) {
            FixtureDefaults.Items[p][k] = 500000 + p * 100 + k;
            FixtureUser.Items[p][k] = -(500000 + p * 100 + k);
        }
        for (int b = 0; b < PersonRows; ++b) {
            FixtureDefaults.Affinity[p][b] = p * 4096 + b + 1;
            FixtureUser.Affinity[p][b] = -(p * 4096 + b + 1);
        }
        char text[NameCellBytes];
        snprintf(text, sizeof text, "D%d", p);
        SetName(FixtureDefaults.Surnames[p], text, 'd');
        snprintf(text, sizeof text, "Dg%d", p * 37);
        SetName(FixtureDefaults.GivenNames[p], text, 'd');
        snprintf(text, sizeof text, "UserSurname%d", p);
        SetName(FixtureUser.Surnames[p], text, 'u');
        snprintf(text, sizeof text, "U%d", p);
        SetName(FixtureUser.GivenNames[p], text, 'u');
    }
    SetName(FixtureDefaults.Surnames[12], "佐々木", 'd');
    SetName(FixtureUser.Surnames[12], "長宗我部元親", 'u');
    SetName(FixtureDefaults.GivenNames[13], "", 'd');
    memset(FixtureDefaults.Surnames[1399], 'A', NameCellBytes);
}

std::string TableImage(const PersonFileSet& set, int file) {
    const char* table = reinterpret_cast<const char*>(&set) + PersonFiles[file].Offset;
    return std::string(table, PersonFiles[file].Bytes);
}

GameFolder FixtureFolder() {
    MakeFixture();
    GameFolder folder;
    for (int file = 0; file < PersonFileCount; ++file) {
        folder.Defaults[file] = TableImage(FixtureDefaults, file);
        folder.User[file] = TableImage(FixtureUser, file);
    }
    return folder;
}

static void WriteWholeFile(const std::string& path, const std::string& bytes) {
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

void WriteGameFolder(const std::string& folder, const GameFolder& content) {
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    std::filesystem::create_directories(folder + "/defa", error);
    std::filesystem::create_directories(folder + "/data", error);
    for (int file = 0; file < PersonFileCount; ++file) {
        char name[32];
        snprintf(name, sizeof name, "data%02d.dat", file);
        if (!content.DefaultMissing[file]) WriteWholeFile(folder + "/defa/" + name, content.Defaults[file]);
        if (!content.UserMissing[file]) WriteWholeFile(folder + "/data/" + name, content.User[file]);
    }
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (error) break;
        std::string relative = it->path().string().substr(folder.size());
        files[relative] = it->is_regular_file(error) ? ReadWholeFile(it->path().string()) : "<folder>";
    }
    return files;
}

static std::string Padded(const std::string& image, size_t bytes) {
    std::string padded = image.substr(0, bytes);
    padded.resize(bytes, '\0');
    return padded;
}

std::string CheckRefreshed(int file, const std::string& defaultPersons, const std::string& defaults,
                           const std::string& before, const std::string& after) {
    const size_t tableBytes = PersonFiles[file].Bytes;
    const size_t rowBytes = tableBytes / PersonRows;
    if (after.size() != tableBytes)
        return "size " + std::to_string(after.size()) + " instead of " + std::to_string(tableBytes);
    const std::string persons = Padded(defaultPersons, PersonFiles[0].Bytes);
    const std::string from = Padded(defaults, tableBytes);
    const std::string old = Padded(before, tableBytes);
    for (int p = 0; p < PersonRows; ++p) {
        int32_t birthYear;
        memcpy(&birthYear, persons.data() + (p * PersonFields + BirthYear) * 4, 4);
        const size_t row = p * rowBytes;
        size_t refreshed = 0;
        if (p < GamePersonSlots && birthYear > 0) {
            switch (file) {
                case 0: refreshed = PersonFieldsInUse * 4; break;
                case 3: refreshed = PersonSkillSlotsInUse * 4; break;
                case 4: refreshed = PersonItemSlotsInUse * 4; break;
                case 5: refreshed = GamePersonSlots * 4; break;
                default:  // a name: up to and including its terminator, at most the cell
                    refreshed = strnlen(from.data() + row, NameCellBytes);
                    if (refreshed < NameCellBytes) ++refreshed;
            }
        }
        if (memcmp(after.data() + row, from.data() + row, refreshed) != 0)
            return "row " + std::to_string(p) + ": refreshed part differs from the default";
        if (memcmp(after.data() + row + refreshed, old.data() + row + refreshed, rowBytes - refreshed) != 0)
            return "row " + std::to_string(p) + ": kept part differs from the user's";
    }
    return "";
}

std::string Lines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) text += std::string(line) + "\n";
    return text;
}
