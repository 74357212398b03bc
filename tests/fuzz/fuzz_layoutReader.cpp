// Layout files: widgets, templates, menus, styles and every number in them.
#include "engine/ui/layoutReader.h"
#include "engine/ui/screen.h"
#include "engine/ui/uiMgr.h"
#include "fuzzEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzEngine();
    std::string text = fuzzText(data, size);   // the reader wants the ending zero
    CuiMgr ui;
    Cscreen screen;
    screen.name = "fuzz";
    ClayoutReader reader(ui, "fuzz", &screen);
    if (reader.read(text.c_str())) screen.layout();
    return 0;
}
