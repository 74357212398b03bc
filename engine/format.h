#pragma once
// Number, time and path formatting shared by the screens.
#include <cstdint>
#include <ctime>
#include <string>

// Comma thousands groups, in one of five rotating buffers: use the result at once.
const char* formatThousands(int value);
const char* formatThousands64(int64_t value);
// 1st, 2nd, 3rd, 4th, 11th..13th, 111th; negative numbers keep their "-".
const char* ordinalText(int value);
// "%02d:%02d", or "%02dh %02dm %02ds" from one hour on.
const char* formatTime(int seconds);
// "21st November 2026" from a time stamp in seconds (local time).
std::string monthYearText(int64_t timeStamp);

// Paths are UTF-8 inside this program; the wide names are kept for callers.
const char* toWideTemp(const std::string& text);
std::string folderOfPathW(const std::string& path);
