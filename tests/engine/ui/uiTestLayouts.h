#pragma once
// The layouts of the UI tests, kept beside them in tests/engine/ui/layouts.
#include <dirent.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/ui/uiMgr.h"
#include "support/testEngine.h"

inline std::string testLayoutFolder() { return ZX_UI_TEST_LAYOUTS; }

// A screen from one of those layouts, named after its file; null when it fails.
inline Cscreen* loadTestLayout(const std::string& fileName) {
    std::ifstream in(testLayoutFolder() + fileName);
    if (!in) return nullptr;
    std::stringstream text;
    text << in.rdbuf();
    return gUi->loadScreenFromText(fileName, text.str().c_str());
}

// The layout files (".txt") of a folder, by name.
inline std::vector<std::string> layoutFiles(const std::string& folder) {
    std::vector<std::string> files;
    if (DIR* d = opendir(folder.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n.size() > 4 && n.substr(n.size() - 4) == ".txt") files.push_back(n);
        }
        closedir(d);
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A screen of those layouts stepped with the input a test gives, from the
// keyboard (or a pad) and the pointer.
struct CuiScreenFixture {
    CtestEngine eng;
    Cscreen* screen = nullptr;
    Cmenu* menu = nullptr;
    CuiScreenFixture(const std::string& layout, const std::string& menuName) {
        gEngine->setScreenSize(1280, 720);
        screen = loadTestLayout(layout);
        if (screen) menu = screen->findMenu(menuName);
    }
    void step(const CuiInput& in = CuiInput()) {
        gUi->beginStep(in, 1.0f / 60.0f);
        screen->update();
    }
    void idle(int n) {
        for (int i = 0; i < n; ++i) step();
    }
    void press(bool CuiInput::*flag, int device = DEVICE_KEYBOARD_MOUSE) {
        CuiInput in;
        in.device = device;
        in.*flag = true;
        step(in);
    }
    void act(int action, int device = DEVICE_KEYBOARD_MOUSE) {
        CuiInput in;
        in.device = device;
        in.setAction(action);
        step(in);
    }
    // The pointer pressed and released over a point, moved there, or the wheel turned there.
    void click(float x, float y, bool CuiInput::*what = nullptr, float wheel = 0) {
        CuiInput in;
        in.pointerX = x;
        in.pointerY = y;
        in.wheel = wheel;
        if (what) in.*what = true;
        else in.pointerPressed = in.pointerReleased = wheel == 0;
        step(in);
    }
};
