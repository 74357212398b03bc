#pragma once
// The layouts of the UI tests, kept beside them in tests/engine/ui/layouts.
#include <dirent.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/ui/uiMgr.h"

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
