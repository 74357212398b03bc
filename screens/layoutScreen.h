#pragma once
// Screens built from a layout file.
//
// Clayout owns the Cscreen read from the layout and fills the owner's widget
// and menu members from one binding table. ClayoutScreen is the screen of a
// game state built on it: load, the common enter opening, the per-step
// update, render and the leave transition, with hooks for what a screen does
// beyond that. ClayoutOverlay is the same for an overlay.
//
//   class CmyScreen : public ClayoutScreen {
//   public:
//       CmyScreen();
//   private:
//       void onEnter() override;    // the screen's own bar buttons, menu items
//       void onUpdate() override;   // presses
//       static const CwidgetBinding kBindings[];
//       Cwidget* ok_ = nullptr;
//   };
//   const CwidgetBinding CmyScreen::kBindings[] = {{&CmyScreen::ok_, "OK"}};
//   CmyScreen::CmyScreen() : ClayoutScreen("myScreen.txt", kBindings) {}
#include <span>
#include <string>
#include <vector>

#include "game/screenSlot.h"

class Cscreen;
class Cmenu;
class Cwidget;
class Clayout;

// One row of a binding table: a Cwidget* or Cmenu* member of a class built
// on Clayout, and the name of the widget or menu in its layout.
struct CwidgetBinding {
    template <class T>
    CwidgetBinding(Cwidget* T::*member, const char* layoutName)
        : widget(static_cast<Cwidget* Clayout::*>(member)), name(layoutName) {}
    template <class T>
    CwidgetBinding(Cmenu* T::*member, const char* layoutName)
        : menu(static_cast<Cmenu* Clayout::*>(member)), name(layoutName) {}

    Cwidget* Clayout::*widget = nullptr;
    Cmenu* Clayout::*menu = nullptr;
    const char* name;
};

class Clayout {
public:
    virtual ~Clayout() = default;
    Clayout(const Clayout&) = delete;
    Clayout& operator=(const Clayout&) = delete;

    const std::string& layoutName() const { return layoutName_; }
    Cscreen* screen() const { return screen_; }
    // The names of the binding table that the loaded layout lacks; every
    // name when no layout is loaded.
    std::vector<std::string> missingBindings() const;

protected:
    Clayout(std::string layoutName, std::span<const CwidgetBinding> bindings);

    // Reads the layout and fills the table's members. Every missing name is
    // named in one log line; false when the file can't be read or a name is
    // missing.
    bool loadLayout();
    // A screen with two forms of its layout picks one before it loads.
    void setLayoutName(std::string name) { layoutName_ = std::move(name); }
    // The widgets and the button bar fade out; layoutLeft() once they have.
    void leaveLayout();
    bool layoutLeft() const;

    Cscreen* screen_ = nullptr;

private:
    std::string layoutName_;
    std::span<const CwidgetBinding> bindings_;
};

class ClayoutScreen : public CscreenSlot, public Clayout {
public:
    // How the screen goes when another state is asked for without the fade.
    enum Eleave { LEAVE_FADING, LEAVE_AT_ONCE };

    // The layout and the bindings, then onLoaded().
    bool load() override;
    // The layout's opening (the bar emptied, highlights reset, the swoosh),
    // then onEnter().
    void enter() override;
    // The layout's step, then onUpdate() unless the screen is leaving.
    void update() override;
    void render() override;
    void startLeave() override;
    bool hasLeft() const override;
    // Once the layout's opening effects have run.
    bool ready() const override;

protected:
    ClayoutScreen(std::string layoutName, std::span<const CwidgetBinding> bindings = {}, Eleave leave = LEAVE_FADING);

    virtual bool onLoaded() { return true; }
    virtual void onEnter() {}
    virtual void onUpdate() {}

private:
    Eleave leave_;
};

class ClayoutOverlay : public CoverlaySlot, public Clayout {
public:
    bool load() override { return loadLayout(); }

protected:
    using Clayout::Clayout;
    // Darkens what is underneath, then draws the layout.
    void renderOver(float darkness);
};
