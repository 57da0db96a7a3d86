// Shared setup of the shell tests: a headless main window with the shell's
// graphics, and small builders of input scripts and game folders.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "shell/draw.h"
#include "shell/shell.h"

// The shell's program-wide state as at the start of a run.
inline void ResetShellState() {
    QuitFlag = 0;
    FrameReady = 0;
    InputEvent = 0;
    PreviousInput = 0;
    MouseX = 0;
    MouseY = 0;
    TextColour = ScreenInk;
}

// A headless main window with BackBuffer, fonts and (missing) pictures.
class HeadlessShell : public ::testing::Test {
protected:
    void SetUp() override {
        HeadlessReset();
        ResetShellState();
        ASSERT_TRUE(PlatformRegisterWindowClass("test", MainWindowProc));
        ASSERT_TRUE(PlatformCreateMainWindow(0, 0, ScreenWidth, ScreenHeight));
        MakeGraphics();
        ASSERT_NE(BackBuffer, nullptr);
        PlatformSelectFont(BackBuffer, LargeFont);
    }
    void TearDown() override {
        ReleaseGraphics();
        HeadlessReset();
    }
};

// ---------------------------------------------------------------- scripts

inline std::string Key(const char* key) {
    return std::string("down ") + key + "\nframes 1\nup " + key + "\nframes 1\n";
}
inline std::string MoveTo(int x, int y) { return "move " + std::to_string(x) + " " + std::to_string(y) + "\n"; }
inline std::string Click(int x, int y, const char* button = "lbutton") {
    return MoveTo(x, y) + Key(button);
}

// ---------------------------------------------------------------- files

inline void MakeFolder(const std::string& path) {
    for (size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1))
        mkdir(path.substr(0, at).c_str(), 0755);
    mkdir(path.c_str(), 0755);
}

inline void WriteBytes(const std::string& path, const void* data, size_t bytes) {
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    ASSERT_EQ(fwrite(data, 1, bytes, file), bytes);
    fclose(file);
}

inline std::vector<char> ReadBytes(const std::string& path) {
    std::vector<char> bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return bytes;
    char chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    fclose(file);
    return bytes;
}

inline bool FileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// A 24-bit bottom-up BMP of width x height in one colour.
inline void WriteBmp(const std::string& path, int width, int height, uint8_t red, uint8_t green, uint8_t blue) {
    const int rowBytes = (width * 3 + 3) & ~3;
    std::vector<uint8_t> file(54 + (size_t)rowBytes * height, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + i] = (uint8_t)(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, (uint32_t)file.size());
    put32(10, 54);
    put32(14, 40);
    put32(18, (uint32_t)width);
    put32(22, (uint32_t)height);
    file[26] = 1;
    file[28] = 24;
    put32(34, (uint32_t)(rowBytes * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &file[54 + (size_t)y * rowBytes + (size_t)x * 3];
            p[0] = blue;
            p[1] = green;
            p[2] = red;
        }
    WriteBytes(path, file.data(), file.size());
}

// Compares a rectangle of two surfaces pixel by pixel.
inline bool SameRegion(SurfaceHandle a, SurfaceHandle b, int x, int y, int width, int height) {
    for (int row = y; row < y + height; ++row)
        for (int column = x; column < x + width; ++column)
            if (HeadlessReadPixel(a, column, row) != HeadlessReadPixel(b, column, row)) return false;
    return true;
}
