#pragma once
// Number, time and path formatting shared by the screens.
#include <cstdint>
#include <ctime>
#include <string>

class CstringTable;

// How numbers, places, dates and play times read in one language. The game
// sets it from the language's table each time the language changes; until
// then it reads as English.
struct CnumberStyle {
    std::string groupSeparator = ",";
    // Ordinal forms: "%s" stands for the grouped number. `first` is for 1
    // alone, end1..end3 for numbers ending in 1..3 (but not 11..13).
    std::string ordinalFirst = "%sst", ordinalEnd1 = "%sst", ordinalEnd2 = "%snd", ordinalEnd3 = "%srd",
                ordinalOther = "%sth";
    // Month names as written in a date, January first.
    std::string months[12] = {"January", "February", "March",     "April",   "May",      "June",
                              "July",    "August",   "September", "October", "November", "December"};
    // Fields: {day}, {dayOrdinal}, {month}, {monthNumber}, {year}.
    std::string date = "{dayOrdinal} {month} {year}";
    // Play times of an hour and more; fields {h}, {m}, {s}, each two digits.
    std::string hoursMinutesSeconds = "{h}h {m}m {s}s";

    // The style a language table gives; a tag it lacks keeps the English form.
    static CnumberStyle fromTable(const CstringTable& table);
};
void setNumberStyle(const CnumberStyle& style);
const CnumberStyle& numberStyle();

// Thousands groups, in one of five rotating buffers: use the result at once.
const char* formatThousands(int value);
const char* formatThousands64(int64_t value);
// 1st, 2nd, 3rd, 4th, 11th..13th, 111th in English; negative numbers keep their "-".
const char* ordinalText(int value);
// "%02d:%02d", or hours, minutes and seconds from one hour on.
const char* formatTime(int seconds);
// "21st November 2026" in English, from a time stamp in seconds (local time).
std::string monthYearText(int64_t timeStamp);

// Paths are UTF-8 inside this program; the wide names are kept for callers.
const char* toWideTemp(const std::string& text);
std::string folderOfPathW(const std::string& path);
