#pragma once
// The timed challenge screen ("dailyChallenge.txt", state DailyChallenge-L):
// the running daily or lightning challenge with its track, rules and time
// left, its board, the ships the challenge allows and a preview of the
// music-generated ship it is about. From here the player attempts it, picks
// another ship or fits modules to the chosen one.
#include <string>
#include <vector>

#include "screens/layoutScreen.h"

class CchallengeMgr;
class Cship;

class CdailyChallengeScreen : public ClayoutScreen {
public:
    CdailyChallengeScreen();

    // The main menu's hand-over: the ship that was current, made current
    // again when the player backs out; then the screen's state is asked for.
    void open(int shipIndexOnEntry);

    // Puts the running challenge's rules on the play session and the perks
    // (the game settings screen calls it when it starts an attempt).
    void applyRules();

    // Fills the board rows from the downloaded challenge board.
    void fillBoard();

    // The challenge shown, and the ship text of a class (0..10).
    CchallengeMgr* challenge() const { return challenge_; }
    static std::string shipClassText(int shipClass);
    Cship* previewShip() const { return preview_; }
    bool waitingForChallenge() const { return waitingChallenge_; }
    bool noShips() const { return noShips_; }
    // Seconds left by the service's clock.
    int64_t secondsLeft() const;

    void render() override;

private:
    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;

    void fillTexts();
    void fillShips();
    void makePreview();
    void removePreview();
    void chooseShip(Cwidget* item);
    void placeRowShips();
    bool attemptAllowed() const;

    static const CwidgetBinding kBindings[];
    Cwidget* title_ = nullptr;
    Cwidget* track_ = nullptr;
    Cwidget* artist_ = nullptr;
    Cwidget* timeRemaining_ = nullptr;
    Cwidget* timeRemainingTitle_ = nullptr;
    Cwidget* duration_ = nullptr;
    Cwidget* difficulty_ = nullptr;
    Cwidget* weaponRestriction_ = nullptr;
    Cwidget* extraLives_ = nullptr;
    Cwidget* shipClass_ = nullptr;
    Cwidget* shipPos_ = nullptr;
    Cwidget* shipManu_ = nullptr;
    Cwidget* shipName_ = nullptr;
    Cwidget* newChallengeNote_ = nullptr;
    Cmenu* menu_ = nullptr;
    Cmenu* shipMenu_ = nullptr;

    Cwidget* chosenItem_ = nullptr;
    CchallengeMgr* challenge_ = nullptr;
    Cship* preview_ = nullptr;
    std::string previewName_;
    std::vector<Cship*> rowShips_;   // beside the rows of the ship menu, in row order
    int shipIndexOnEntry_ = 0;
    int boardOffset_ = 0;
    float rowAngle_ = 0;
    bool previewMadeHere_ = false;
    bool waitingBoard_ = false;
    bool noShips_ = false;
    bool waitingChallenge_ = false;
    bool selectReadsChange_ = false;
};
