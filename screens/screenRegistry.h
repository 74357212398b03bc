#pragma once
// The game's screens: the registry makes every screen and overlay and binds
// each to its slot of the game (the table in screens/screenRegistry.cpp), and
// code reaches a screen by its type:
//
//   screens::get<CsignInScreen>()->mode()
//
// A state without a row shows the stand-in (screens/placeholder.h).
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

#include "game/screenSlot.h"

class Cgame;
class Clayout;

// Joins the calls that the game's services make into screens (a won
// challenge's reward, ...); run once by makeScreens.
void connectScreens(Cgame& game);

class CscreenRegistry : public CscreenSet {
public:
    struct Centry {
        std::type_index type;
        std::shared_ptr<void> object;
        CscreenSlot* screen = nullptr;
        CoverlaySlot* overlay = nullptr;
        Clayout* layout = nullptr;   // null for a screen without a layout
        ChudSlot* hud = nullptr;
    };

    void add(Centry entry) { entries_.push_back(std::move(entry)); }
    // The first screen of that type, or null.
    void* find(std::type_index type) const;
    const std::vector<Centry>& entries() const { return entries_; }

private:
    std::vector<Centry> entries_;
};

namespace screens {
// The current game's screens; null without a game.
CscreenRegistry* registry();

// The current game's screen of type T, or null.
template <class T>
T* get() {
    CscreenRegistry* r = registry();
    return r ? static_cast<T*>(r->find(typeid(T))) : nullptr;
}

// "layout: name" for every binding-table name of a registered screen that
// its layout lacks; screens not loaded yet are loaded first. Empty when
// every screen binds completely.
std::vector<std::string> checkBindings();
}  // namespace screens
