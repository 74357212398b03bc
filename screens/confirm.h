#pragma once
// The confirm screen ("confirm.txt"), in two uses:
//
// CconfirmStateScreen, the Confirm state: a message and a list of choices,
// each choice naming the game state to go to. open() fills it and asks for
// the state.
//
// CconfirmScreen, the confirm overlay over the current screen. Its users
// follow one order: reset(), optionally a title, messages and allowBack,
// addMenuItem() once per choice, enter(). While it shows, the game steps
// nothing else; the caller polls chosen on its own update and reads value
// and backedOut.
#include <string>
#include <vector>

#include "screens/layoutScreen.h"

class CconfirmStateScreen : public ClayoutScreen {
public:
    struct Cchoice {
        std::string text;
        int gameMode;
    };

    CconfirmStateScreen();
    void open(const std::string& message, const std::vector<Cchoice>& choices);

    // Empties the menu and both messages.
    void setMessages();
    void setMessage(const std::string& text);
    Cwidget* addItem(const std::string& text, int gameMode);

    Cmenu* menu() const { return menu_; }

private:
    void onEnter() override;
    void onUpdate() override;

    static const CwidgetBinding kBindings[];
    Cmenu* menu_ = nullptr;
    Cwidget* message_ = nullptr;
    Cwidget* message2_ = nullptr;
    Cwidget* title_ = nullptr;
};

class CconfirmScreen : public ClayoutOverlay {
public:
    CconfirmScreen();
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

    Cmenu* menu() const { return menu_; }

    // The answer: the chosen item's value, or the safe choice's when the
    // player backed out.
    float value = 0;
    // The choice that loses nothing ("No", "Not now"): focused on entry and
    // the answer to Back. Back is also taken without one when allowBack.
    int safeValue = 0;
    bool allowBack = false;
    bool chosen = false;
    bool backedOut = false;

private:
    void close();
    int safeItem() const;

    static const CwidgetBinding kBindings[];
    Cmenu* menu_ = nullptr;
    Cwidget* title_ = nullptr;
    Cwidget* message_ = nullptr;
    Cwidget* message2_ = nullptr;
    bool showing_ = false;
};
