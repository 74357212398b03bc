#include "engine/clipboard.h"

#include <SDL.h>

std::string getClipboardText() {
    char* t = SDL_GetClipboardText();
    std::string r = t ? t : "";
    SDL_free(t);
    return r;
}

bool setClipboardText(const std::string& text) { return SDL_SetClipboardText(text.c_str()) == 0; }

void clearClipboard() { SDL_SetClipboardText(""); }
