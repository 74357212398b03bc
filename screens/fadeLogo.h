#pragma once
// CfadeScreen: the logo fade that covers a change of state requested with a
// transition. The cover fades in, the logo zooms in with a swoosh and a thud,
// halos burst from the centre, and after a second the screen leaves; when
// its leave transition has ended the requested state comes in.
#include "engine/maths.h"
#include "screens/layoutScreen.h"

class CfadeScreen : public ClayoutScreen {
public:
    static constexpr float kShowTime = 1.0f;    // seconds before the screen leaves
    static constexpr float kFadeIn = 0.1f;      // the cover reaches full strength
    static constexpr float kCoverEnd = 1.1f;    // the cover starts to fade out
    static constexpr float kFadeOut = 0.1f;

    CfadeScreen();
    void enter() override;
    void update() override;
    void render() override;
    bool hasLeft() const override;

    // The cover's strength at a time since the screen was shown.
    static float coverAlpha(float t);

    float t = 0;   // seconds since shown
    bool leaving() const { return leaving_; }

private:
    bool onLoaded() override;
    void onEnter() override;

    static const CwidgetBinding kBindings[];
    Cwidget* logo_ = nullptr;
    Ccolour background_, shard1_, shard2_;
    bool leaving_ = false;
    bool thudPlayed_ = false;
};
