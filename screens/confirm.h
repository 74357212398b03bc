#pragma once
// The confirm screen ("confirm.txt"), in two uses:
//
// CconfirmStateScreen, the Confirm state: a message and a list of choices,
// each choice naming the game state to go to. The caller empties it with
// setMessages(), sets "Message", adds items (value = the state) and requests
// the state.
//
// CconfirmScreen, the confirm overlay over the current screen. Its users
// follow one order: reset(), optionally a title, messages and allowBack,
// addMenuItem() once per choice, enter(). While it shows, the game steps
// nothing else; the caller polls chosen on its own update and reads value
// and backedOut.
#include <string>

#include "game/screenSlot.h"

class Cscreen;
class Cmenu;
class Cwidget;

class CconfirmStateScreen : public CscreenSlot {
public:
    bool load() override;
    void enter() override;
    void update() override;
    void render() override;
    void startLeave() override;
    bool hasLeft() const override;

    // Empties the menu and both messages.
    void setMessages();
    void setMessage(const std::string& text);
    Cwidget* addItem(const std::string& text, int gameMode);

    Cscreen* screen() const { return screen_; }
    Cmenu* menu() const { return menu_; }

private:
    Cscreen* screen_ = nullptr;
    Cmenu* menu_ = nullptr;
};

class CconfirmScreen : public CoverlaySlot {
public:
    bool load();
    // Empties the menu, puts back the default title and clears every flag.
    void reset();
    void setTitle(const char* text);
    void setMessage(const char* text);    // null: empty
    void setMessage2(const char* text);   // null: empty
    Cwidget* addMenuItem(const std::string& text, int value);
    // Brings the overlay up with its own button bar.
    void enter();

    bool showing() const override { return showing_; }
    void update() override;
    void render() override;

    Cscreen* screen() const { return screen_; }
    Cmenu* menu() const { return menu_; }

    // The answer: the chosen item's value, or 0 when the player backed out
    // (which only an overlay that allows it accepts).
    float value = 0;
    bool allowBack = false;
    bool chosen = false;
    bool backedOut = false;

private:
    void close();
    Cscreen* screen_ = nullptr;
    Cmenu* menu_ = nullptr;
    bool showing_ = false;
};
