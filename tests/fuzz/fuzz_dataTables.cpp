// The data folder's text tables read by their own readers: a modded data
// folder is outside input too. The first byte picks the table.
#include <filesystem>

#include "audio/gameSfx.h"
#include "audio/musicPlayer.h"
#include "audio/sfxPackMgr.h"
#include "audio/songInfoMgr.h"
#include "engine/colourTable.h"
#include "engine/render/font.h"
#include "engine/render/particles.h"
#include "engine/render/props.h"
#include "engine/render/sprite.h"
#include "engine/stringTable.h"
#include "fuzzEngine.h"
#include "game/enemies/shipDef.h"
#include "game/progress/achievementDefs.h"
#include "game/progress/playerShipMgr.h"
#include "game/progress/shipModule.h"
#include "screens/creditsList.h"
#include "services/platformSteam.h"

namespace fs = std::filesystem;

namespace {
// A data folder of our own: the real one's folders linked in, and a text
// files folder the inputs are written to for the readers that only read files.
std::string ownDataRoot() {
    static const std::string root = [] {
        char folder[] = "/tmp/zx_fuzz_data_XXXXXX";
        if (!mkdtemp(folder)) return std::string();
        std::string r = std::string(folder) + "/";
        std::error_code ec;
        fs::create_directories(r + "textFiles", ec);
        for (const auto& e : fs::directory_iterator(gEngine->dataRoot, ec))
            if (e.path().filename() != "textFiles") fs::create_symlink(e.path(), r + e.path().filename().string(), ec);
        return r;
    }();
    return root;
}

// Writes the bytes as a text file of our own data folder and runs read with
// that folder as the data folder.
template <class F>
void readAsDataFile(const char* name, const uint8_t* data, size_t size, F&& read) {
    std::string root = ownDataRoot();
    if (root.empty() || !fuzzWriteFile(root + "textFiles/" + name, data, size)) return;
    std::string realRoot = gEngine->dataRoot;
    gEngine->dataRoot = root;
    read();
    gEngine->dataRoot = realRoot;
}

// A sheet to cut sprites from; never drawn.
Ctexture& sheetTexture() {
    static Ctexture t = [] {
        Ctexture x;
        x.name = "fuzz sheet";
        x.width = 512;
        x.height = 256;
        return x;
    }();
    return t;
}
}  // namespace

// A reader of the input as a text.
template <class F>
CfuzzReader text(F read) {
    return [read](const uint8_t* p, size_t n) { read(fuzzText(p, n).c_str()); };
}
// A reader of the input as the data folder's file name (for readers of files only).
template <class F>
CfuzzReader file(const char* name, F read) {
    return [name, read](const uint8_t* p, size_t n) { readAsDataFile(name, p, n, read); };
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<CfuzzReader> readers = {
        text([](const char* t) {
            CstringTable strings;
            strings.loadFromText(t);
            strings.loadFromText(t, true);
        }),
        text([](const char* t) { CcolourTable().loadFromText(t); }),
        text([](const char* t) {
            CspriteMgr sprites;
            sprites.createSprite("sheet.png", &sheetTexture());
            sprites.loadSheetsFromText(t);
        }),
        text([](const char* t) { CfontMgr().loadFromText(t); }),
        text([](const char* t) {
            static CparticleSystem particles;
            particles.loadDefsFromText(t);
        }),
        text([](const char* t) { CpropMgr().loadFromText(t); }),
        text([](const char* t) { CachievementDefs().loadFromText(t); }),
        text([](const char* t) { CplayerShipMgr().loadBuiltInFromText(t); }),
        text([](const char* t) {
            std::vector<CshipDef> defs;
            parseShipDefs(t, defs, "fuzz");
        }),
        text([](const char* t) { CshipModuleTable().loadFromText(t); }),
        file("music.txt", [] {
            static CsongInfoMgr library;
            CmusicPlayer player;
            player.init(nullptr, &library);
            player.addBuiltInTracks();
        }),
        file("sounds.txt", [] { CgameSfx().init(nullptr, "textFiles/sounds.txt"); }),
        file("sounds.txt", [] { CsfxPackMgr().init(nullptr, "textFiles/sounds.txt"); }),
        text([](const char* t) { CplatformSteam().parseIAPPrices(t); }),
        text([](const char* t) {
            static CstringTable strings = [] {
                CstringTable s;
                s.load("stringsGameEnglish.txt");
                return s;
            }();
            credits::parse(t, strings);
        }),
    };
    return fuzzPick(data, size, readers);
}
