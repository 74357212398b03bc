#pragma once
// CshipEditorScreen ("shipEditor.txt", state ShipEditor): the player edits the
// current ship through the parameter menus (handling, guns, flares, engines,
// hull image, name and missions), sees it live, test-flies it, and publishes
// it to the workshop as a work in progress or as a final version. Leaving
// with changes asks whether to keep them; "Yes" reverts to the ship as it was
// when the editor was opened from the hangar.
//
// The parameter menus are the rows of one list ("ParamMenu"): the rows of the
// chosen group are listed, each row's item carries its table row as its value,
// and left/right (or a click on a row's arrows) step the row's selection.
//
// The hangar, the gallery, the party ship row, the unlock screen and the
// music-generated ship builder also use the menus without the screen: they
// point shipData at a ship, set the menus from it and read the balance.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/render/renderTypes.h"
#include "game/progress/shipEditParams.h"
#include "game/gameModes.h"
#include "screens/layoutScreen.h"
#include "screens/missionEditor.h"

struct CplayerShipData;
class CplayerShipDef;
class Cship;
struct CpilotControls;

class CshipEditorScreen : public ClayoutScreen {
public:
    static constexpr int kMaxImageSide = 256;
    static constexpr int kMaxNameChars = 30;
    static constexpr const char* kPreviewFile = "screenshot.png";
    static constexpr const char* kHelpPage = "https://quillmarshgames.com/zorbex/shipeditor";

    CshipEditorScreen();
    ~CshipEditorScreen() override;

    // Edit the player's ship at this index (the current ship when out of
    // range) and enter the editor. Leaving opens the hangar with
    // hangarBackState, so that its Back leads where the player came from.
    void open(int shipIndex, int hangarBackState);

    // Sets the menus from the ship that shipData designates. With symmetry,
    // basic mode is chosen when the ship's mirrored parts match.
    void syncMenusFromShip(bool symmetry);
    // The balance of the current selections, left in points.
    void updatePoints();
    // Writes the menus into the ship that shipData designates.
    void applyMenusToShip();
    // True when the hull image changed or a menu of more than one item
    // stands elsewhere than where it was last set.
    bool isDirty() const { return hullChanged_ || missionsChanged_ || menus.changedSinceSync(); }

    // Reads a PNG as the ship's new hull. Refused (with the warning) when a
    // side is over 256 pixels or the file can't be read; the ship keeps its image.
    bool loadHullImage(const std::string& path);
    // Reads the captured preview back and hands the ship to the workshop.
    void readPreviewImage();
    // Lays out the current group's rows.
    void showGroup();
    void setGroup(int group);

    int group() const { return group_; }
    bool hullChanged() const { return hullChanged_; }
    bool previewRunning() const { return captureTimer_ > 0 || capturePending_; }
    const std::vector<uint8_t>& previewBytes() const { return preview_; }
    Cship* liveShip() const { return live_; }
    CmissionEditor& missionEditor() { return missions_; }
    Cmenu* paramMenu() const { return paramMenu_; }
    // Where the live ship, its shots and its firing lines are drawn (pixels).
    Crect previewArea() const;
    // The row of the list that has the keys, or -1.
    int focusedRow() const;

    CplayerShipData* shipData = nullptr;
    CshipEditMenus menus;
    int32_t points = 0;
    bool basicMode = false;

private:
    enum Econfirm { CONFIRM_NONE, CONFIRM_LEAVE, CONFIRM_PUBLISH_FINAL };

    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;
    void render() override;

    CplayerShipDef* editedShip() const;
    void selectShip();
    void forgetLiveShip();
    void refreshLiveShip();
    void addButtons();
    void setModeButton();
    bool handleNameEntry();
    bool handleMissionTextEntry();
    CshipMission* currentMission(bool create);
    void applyMissionPage();
    bool handleConfirm();
    void stepTimers();
    void handleActionRows(Cwidget* pressed);
    void handleRowInput();
    void stepRow(int row, int step);
    void refreshRowText(int row);
    std::string rowItemText(int row) const;
    void publish(bool final);
    void ask(Econfirm which, const char* message, const char* message2);
    bool refusePublish();
    void startTestFlight();
    void leave();
    void toHangar();
    void revertAndLeave();
    void openFileDialog();
    void showFileDialog();
    void drawMarkers() const;
    void drawFiringAngles() const;
    void tintTabs();

    static const CwidgetBinding kBindings[];
    Cmenu* paramMenu_ = nullptr;
    Cwidget* menuTop_ = nullptr;
    Cwidget* menuBottom_ = nullptr;
    Cwidget* grabTop_ = nullptr;
    Cwidget* grabBottom_ = nullptr;
    Cwidget* wip_ = nullptr;
    Cwidget* editPoints_ = nullptr;
    Cwidget* shipName_ = nullptr;
    Cwidget* shipSpot_ = nullptr;
    Cwidget* previewArea_ = nullptr;
    Cwidget* tabBasic_ = nullptr;
    Cwidget* tabFiringAngles_ = nullptr;
    Cwidget* tabTurretPositions_ = nullptr;
    Cwidget* tabShipFlares_ = nullptr;
    Cwidget* tabEnginePositions_ = nullptr;
    Cwidget* tabEngineHue_ = nullptr;
    Cwidget* tabEngineRotationAndScale_ = nullptr;
    Cwidget* tabMissions_ = nullptr;
    std::array<Cwidget*, 8> tabs_{};

    int group_ = 0;
    CmissionEditor missions_;
    Cship* live_ = nullptr;
    std::unique_ptr<CpilotControls> controls_;   // the live ship fires straight ahead
    std::vector<uint8_t> liveBlock_;              // the data the live ship was made from
    bool previewHookSet_ = false;
    bool missionsChanged_ = false;
    int textEntryRow_ = -1;                       // the mission text being typed, or -1

    // Taken when the editor is opened from the hangar; a test flight keeps it.
    std::vector<uint8_t> backup_;
    std::vector<uint8_t> imageBackup_;
    std::string hullSpriteBackup_;
    float hullScaleBackup_ = 1;

    bool hullChanged_ = false;
    bool nameEntry_ = false;
    bool returning_ = false;
    int hangarBackState_ = GM_GALLERY;
    Econfirm confirm_ = CONFIRM_NONE;
    bool publishFinal_ = false;
    bool capturePending_ = false;
    bool publishing_ = false;
    float captureTimer_ = 0;
    float dialogTimer_ = 0;
    std::vector<uint8_t> preview_;
};
