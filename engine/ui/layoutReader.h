#pragma once
// ClayoutReader: reads one layout file (see docs/layouts.md) into a screen,
// templates and styles.
#include <cstdint>
#include <string>
#include <vector>

class CuiMgr;
class Cscreen;
class Cwidget;
class Cmenu;
class Ctable;
struct Ccolour;

class ClayoutReader {
public:
    ClayoutReader(CuiMgr& ui, const std::string& fileName, Cscreen* screen)
        : ui_(ui), file_(fileName), screen_(screen) {}
    bool read(const char* text);

private:
    bool next(std::string& tok);
    // The next token when it is on the current line (lists such as Groups).
    bool nextOnLine(std::string& tok);
    void readGroups(std::vector<std::string>& groups, const std::string& owner);
    bool readWidgetBody(Cwidget& w, const char* endWord);
    bool readGadget(Cwidget& w, int kind, const std::string& name, const char* endWord);
    bool readMenu(Cmenu& m, const char* endWord);
    bool readColumn(Ctable& t);
    bool readBackground(const std::string& name);
    bool readShadow(const std::string& name);
    bool readColour(Ccolour& c);
    // Numbers of the file; one out of its field's range is a problem naming
    // the line, and reads as 0.
    double numberIn(double lo, double hi);
    float number();
    int intNumber();
    int64_t bigNumber();
    int lineNumber() const;
    static constexpr double kMaxFloat = 3.0e38;
    static constexpr double kMaxExactInteger = 9007199254740992.0;   // 2^53
    void problem(const std::string& what);
    std::string translate(const std::string& tag);

    CuiMgr& ui_;
    std::string file_;
    Cscreen* screen_;
    const char* cursor_ = nullptr;
    const char* text_ = nullptr;
};
