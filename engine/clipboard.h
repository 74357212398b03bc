#pragma once
#include <string>

std::string getClipboardText();
bool setClipboardText(const std::string& text);
void clearClipboard();
