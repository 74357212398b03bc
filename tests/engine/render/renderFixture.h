#pragma once
// A headless engine with the null renderer, and small image helpers.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "support/testEngine.h"

class CrenderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Count of recent log lines whose text is exactly text.
    int logCount(const std::string& text) const;

    CtestEngine eng;
    std::string tmp;
};

// Writes a w x h PNG filled with one colour.
bool writeSolidPng(const std::string& path, int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255);
std::vector<uint8_t> readFileBytes(const std::string& path);
