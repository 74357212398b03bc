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

// A reader of the input as a text, and one of it as a text file of our own
// data folder, read with that folder as the data folder.
template <class F>
CfuzzReader text(F read) {
    return [read](const uint8_t* p, size_t n) { read(fuzzText(p, n).c_str()); };
}
template <class F>
CfuzzReader file(const char* name, F read) {
    return [name, read](const uint8_t* p, size_t n) {
        std::string root = ownDataRoot(), realRoot = gEngine->dataRoot;
        if (root.empty() || !fuzzWriteFile(root + "textFiles/" + name, p, n)) return;
        gEngine->dataRoot = root;
        read();
        gEngine->dataRoot = realRoot;
    };
}
}  // namespace

std::vector<CfuzzReader> fuzzReaders() {
    return {
        text([](const char* t) {
            CstringTable strings;
            strings.loadFromText(t);
            strings.loadFromText(t, true);
        }),
        text([](const char* t) { CcolourTable().loadFromText(t); }),
        text([](const char* t) {
            CspriteMgr sprites;
            static Ctexture sheet;   // never drawn
            sheet.width = 512;
            sheet.height = 256;
            sprites.createSprite("sheet.png", &sheet);
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
}
