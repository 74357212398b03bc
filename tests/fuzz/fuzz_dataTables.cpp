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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzEngine();
    if (size < 1) return 0;
    std::string text = fuzzText(data + 1, size - 1);
    switch (data[0] % 15) {
        case 0: {
            CstringTable strings;
            strings.loadFromText(text.c_str());
            strings.loadFromText(text.c_str(), true);
            break;
        }
        case 1: {
            CcolourTable colours;
            colours.loadFromText(text.c_str());
            break;
        }
        case 2: {
            CspriteMgr sprites;
            sprites.createSprite("sheet.png", &sheetTexture());
            sprites.loadSheetsFromText(text.c_str());
            break;
        }
        case 3: {
            CfontMgr fonts;
            fonts.loadFromText(text.c_str());
            break;
        }
        case 4: {
            static CparticleSystem particles;
            particles.loadDefsFromText(text.c_str());
            break;
        }
        case 5: {
            CpropMgr props;
            props.loadFromText(text.c_str());
            break;
        }
        case 6: {
            CachievementDefs ach;
            ach.loadFromText(text.c_str());
            break;
        }
        case 7: {
            CplayerShipMgr ships;
            ships.loadBuiltInFromText(text.c_str());
            break;
        }
        case 8: {
            std::vector<CshipDef> defs;
            parseShipDefs(text.c_str(), defs, "fuzz");
            break;
        }
        case 9: {
            CshipModuleTable modules;
            modules.loadFromText(text.c_str());
            break;
        }
        case 10: {
            // The music and sound tables are read from their files only.
            static CsongInfoMgr library;
            readAsDataFile("music.txt", data + 1, size - 1, [] {
                CmusicPlayer player;
                player.init(nullptr, &library);
                player.addBuiltInTracks();
            });
            break;
        }
        case 11: {
            readAsDataFile("sounds.txt", data + 1, size - 1, [] {
                CgameSfx sfx;
                sfx.init(nullptr, "textFiles/sounds.txt");
            });
            break;
        }
        case 12: {
            readAsDataFile("sounds.txt", data + 1, size - 1, [] {
                CsfxPackMgr packs;
                packs.init(nullptr, "textFiles/sounds.txt");
            });
            break;
        }
        case 13: {
            CplatformSteam steam;
            steam.parseIAPPrices(text.c_str());
            break;
        }
        default: {
            static CstringTable strings = [] {
                CstringTable t;
                t.load("stringsGameEnglish.txt");
                return t;
            }();
            credits::parse(text.c_str(), strings);
            break;
        }
    }
    return 0;
}
