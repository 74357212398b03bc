#pragma once
// CstartUpScreen: the StartUp state. Once the player has passed the title it
// loads the login, gets an auth token, reads the game configuration, loads
// the better of the local and cloud saves, asks for the player's statistics
// and messages, and enters the main menu. One step per update; every network
// or disk step runs as a task that is started here and then polled.
//
// With the web service off the token, configuration, statistics and message
// phases are skipped: 0, 1, 4, (5), 8.
#include <cstdint>
#include <string>

#include "screens/signIn.h"

class CstartUpScreen : public CscreenSlot {
public:
    enum Ephase {
        PHASE_STARTING = 0,
        PHASE_LOAD_LOGIN = 1,
        PHASE_TOKEN = 2,
        PHASE_CONFIG = 3,
        PHASE_LOCAL_SAVE = 4,
        PHASE_CLOUD_SAVE = 5,
        PHASE_STATS = 6,
        PHASE_MESSAGES = 7,
        PHASE_FINISHED = 8,
    };
    static constexpr int kMaxTokenFailures = 3;

    void enter() override;
    void update() override;
    void render() override;

    // Back to the first phase with nothing pending (the title screen does
    // this on its own entry).
    void reset();
    // The phase's text as shown (translated).
    std::string phaseText() const;
    // Compares the configuration's version with the game's. False when the
    // service has a newer game: the Confirm state tells the player, and its
    // OK ends the game.
    bool checkConfigVersion();
    // The number of a version text "vX.YZ" (100 X + 10 Y + Z). False when the
    // text does not have that shape.
    static bool readVersionNumber(const std::string& text, int& number);

    bool finished = false;
    int32_t phase = PHASE_STARTING;
    bool statsPending = false;
    int32_t tokenFailures = 0;     // in this run; kept across entries
    uint8_t saveCloudFlag = 1;     // the game save's cloud flag when the sequence began
    int64_t localXp = 0;           // XP of the local save, against the cloud's

    // Sign-in has ended with an account: its login is stored, and start-up runs again.
    void signInFinished(const CsignInResult& result);
    const CsignInResult& signInResult() const { return signIn_; }

private:
    void handleSaveResult(bool taskOk);
    // Tells the player (message textTag) that an unreadable file was kept under this name.
    void tellKeptAside(const char* textTag, const std::string& keptAs);
    void savedGameLoaded(bool keptLocal);
    void finish();
    void runPhase();

    bool localLoaded_ = false;     // a local save is held while the cloud one loads
    CsignInResult signIn_;
    bool saveLoginOnToken_ = false;
};
