#pragma once
// The layouts of the UI tests, kept beside them in tests/engine/ui/layouts.
#include <fstream>
#include <sstream>
#include <string>

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
