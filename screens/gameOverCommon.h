#pragma once
// CgameOverScreen: what the game-over screens share. Each shows the result
// with a staggered pop-in, then after 1.5 s offers its buttons: OK (on to the
// rank-up), RetryTrack (straight back to the countdown), AddComment (text
// entry for the comment stored with a new best), EmailPrompt and ShareMoment.
// The e-mail options and the share screen come back here; the screen then
// keeps what it had (the new best, the typed comment) and shows its buttons
// at once.
#include <cstdint>
#include <string>

#include "screens/layoutScreen.h"

class CgameOverScreen : public ClayoutScreen {
public:
    static constexpr float kButtonTime = 1.5f;
    static constexpr int kMaxComment = 50;

    bool newBest() const { return newBest_; }
    int place() const { return place_; }
    const std::string& comment() const { return comment_; }
    float buttonTimer() const { return buttonTimer_; }

protected:
    CgameOverScreen(std::string layoutName, std::span<const CwidgetBinding> bindings, float returnTimer);

    void render() override;

    // The opening every game-over screen shares; true when coming back from
    // the share screen or the e-mail options.
    bool enterCommon();
    void popIn(Cwidget* w, float delay, float duration = 0.3f);
    // The button timer; true in the step it reaches 1.5 s.
    bool stepButtonTimer();
    bool buttonsShown() const { return buttonTimer_ >= kButtonTime; }
    void addShareButton();
    void addCommentButton();
    void addEmailButton();
    void addRetryAndOk();
    // The comment field: text entry over it, and the text when it ends.
    void startCommentEntry(Cwidget* field);
    // True while the entry holds the screen.
    bool stepCommentEntry(Cwidget* field);
    // Back to the countdown. A retry skips the rank-up, so the score is awarded here.
    void retry();
    // The share screen with the place and the comment (the party's without either).
    void openShare(int returnState, bool withPlace = true);
    void openEmail(int returnState);
    void showPlace(Cwidget* place, Cwidget* text, Cwidget* number, Cwidget* gameOver, float delay);
    void stepPlaceSparkles(Cwidget* place);
    void setSmile(Cwidget* smile, const char* sprite);
    int64_t score() const;

    std::string comment_;
    bool newBest_ = false;
    int place_ = -1;
    float buttonTimer_ = 0;
    float baseDelay_ = 1.0f;
    bool backFromShare_ = false;
    bool backFromEmail_ = false;
    bool entering_ = false;   // text entry runs for the comment

private:
    float returnTimer_;
};

// The game over of a Survival or BossRush game: its own best (the default or
// the custom ship's), stored at once when beaten, its board place, and the
// comment that goes with the best to its board.
class CgameOverModeScreen : public CgameOverScreen {
protected:
    CgameOverModeScreen(std::string layoutName, std::span<const CwidgetBinding> bindings, float returnTimer,
                        int returnState);

    // The best of this game type for the ship kind in use.
    virtual uint64_t& best() = 0;
    virtual int board() const = 0;
    // "Wave 3" or "Time 01:05".
    virtual std::string valueText() const = 0;

    void onEnter() override;
    void onUpdate() override;

    Cwidget* smile_ = nullptr;
    Cwidget* gameOver_ = nullptr;
    Cwidget* score_ = nullptr;
    Cwidget* scoreTitle_ = nullptr;
    Cwidget* newHighScore_ = nullptr;
    Cwidget* value_ = nullptr;
    Cwidget* valueTitle_ = nullptr;
    Cwidget* commentTitle_ = nullptr;
    Cwidget* commentField_ = nullptr;
    Cwidget* worldRecord_ = nullptr;
    Cwidget* worldRecordText_ = nullptr;
    Cwidget* worldRecordNumber_ = nullptr;
    Cwidget* moments_ = nullptr;

private:
    int returnState_;
};
