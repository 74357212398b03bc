#pragma once
// Cpopups: short-lived message widgets made from the "popup" templates and
// handed to the spot-effect queue.
#include <cstdint>
#include <string>

class Cpopups {
public:
    void showMessage(const std::string& text);
    void showAchievementProgress(const std::string& title, float progress, const std::string& sprite);
    void showAchievementAwarded(const std::string& title, const std::string& sprite);
    void showIncomingMass(int64_t mass);
    void showIncomingMassSnake(int64_t mass);
    void showTitleBanner();

private:
    void showMass(const char* firstLineTag, int64_t mass);
};
