#pragma once
// CshareMomentScreen ("shareMoment.txt"), state ShareMoment: after a game,
// one of its automatic screenshots full-size with the result laid over it.
// The player pages through the shots and shares the composed picture as a
// tweet with the image, as a Steam screenshot, or as a PNG file in a folder
// of their choice. One share at a time: the buttons stay hidden until it has
// ended, so that the picture holds none of them, and Back waits for it.
#include <string>
#include <vector>

#include "engine/render/renderTypes.h"
#include "platform/steam/steamCallback.h"
#include "screens/layoutScreen.h"

class CgameSession;
class Ctexture;
class Cwidget;

class CshareMomentScreen : public ClayoutScreen {
public:
    static constexpr const char* kStorePage = "https://www.quillmarshgames.com/zorbex";
    static constexpr float kMargin = 40.0f;          // screen pixels around the picture
    static constexpr float kFrameThickness = 6.0f;
    static constexpr float kSteamWait = 5.0f;        // seconds Steam has to report the screenshot
    static constexpr int kMaxFileNumber = 9999;

    CshareMomentScreen();
    ~CshareMomentScreen() override;

    // Opens the screen after a game. worldRecordRank is the player's place on
    // the track's world board as it stands now (0 the first), -1 for none; the
    // caller passes -1 too when its own rules hide the record (party games
    // hide it here). comment is the line shown over the result (empty: none).
    // Back returns to returnState.
    void open(int returnState, int worldRecordRank = -1, const std::string& comment = {});

    // The line of the played game: game type and its progress, or the track and difficulty.
    static std::string titleText(const CgameSession& s, const std::string& trackLabel);
    static std::string tweetText(const CgameSession& s);
    // The first name not yet taken in folder for the played track; empty when
    // none is free.
    static std::string fileNameFor(const std::string& folder, const CgameSession& s);

    void render() override;

    size_t shotCount() const { return shots_.size(); }
    size_t shotIndex() const { return index_; }
    Crect pictureRect() const { return picture_; }
    bool sharing() const { return pending_ != SHARE_NONE || dialogTimer_ > 0; }
    const std::string& fileName() const { return fileName_; }

private:
    enum Eshare { SHARE_NONE, SHARE_FILE, SHARE_STEAM, SHARE_TWEET };
    enum Ecapture { CAPTURE_NONE, CAPTURE_WAITING, CAPTURE_MADE, CAPTURE_FAILED };

    void onEnter() override;
    void onUpdate() override;
    static const CwidgetBinding kBindings[];

    void fillTexts();
    void findShots();
    const Ctexture* shotTexture() const;
    void layoutShot();
    void setUiShown(bool shown);
    void showPage(int step);
    void startFileShare();
    void chooseFolderAndSave();
    void startSteamShare();
    void startTweet();
    void stepFileShare();
    void stepSteamShare();
    void stepTweet();
    bool requestCapture(bool tweetImage);
    void succeed(const char* popupTag);
    void fail(const std::string& message);
    void endShare();
    void leave();
    void onScreenshotReady(ScreenshotReady_t* ready);

    Cwidget* worldRecord_ = nullptr;
    Cwidget* worldRecordText_ = nullptr;
    Cwidget* worldRecordNumber_ = nullptr;
    Cwidget* score_ = nullptr;
    Cwidget* scoreTitle_ = nullptr;
    Cwidget* songTitle_ = nullptr;
    Cwidget* highScoreComment_ = nullptr;
    Cwidget* playerName_ = nullptr;
    Cwidget* momentPos_ = nullptr;
    Cwidget* error_ = nullptr;
    Cwidget* tweet_ = nullptr;
    Cwidget* twitterLogo_ = nullptr;
    Cwidget* steam_ = nullptr;
    Cwidget* steamLogo_ = nullptr;
    Cwidget* saveFile_ = nullptr;
    Cwidget* saveFileLogo_ = nullptr;
    Cwidget* shareNext_ = nullptr;
    Cwidget* sharePrev_ = nullptr;
    Cwidget* back_ = nullptr;

    // Inputs.
    int returnState_ = 3;
    int worldRecordRank_ = -1;
    std::string comment_;

    std::vector<size_t> shots_;   // the automatic screenshots that hold a picture
    size_t index_ = 0;
    float scale_ = 1.0f;
    Crect picture_;
    int laidOutWidth_ = 0, laidOutHeight_ = 0;

    Eshare pending_ = SHARE_NONE;
    float timer_ = 0;
    float dialogTimer_ = 0;
    bool stepDone_ = false;
    bool backAfterShare_ = false;
    Ecapture capture_ = CAPTURE_NONE;
    int steamResult_ = -1;   // -1 waiting, else 0 failed, 1 taken
    std::string fileName_;

    CsteamCallback<CshareMomentScreen, ScreenshotReady_t> screenshotReady_{this,
                                                                          &CshareMomentScreen::onScreenshotReady};
};
