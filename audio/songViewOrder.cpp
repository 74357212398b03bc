#include "audio/songViewOrder.h"

#include <cmath>
#include <cstdio>

#include "engine/sortList.h"

std::vector<int> trackOrder(const CsongGroup& group, int view, const std::function<bool(const std::string&)>& hasRecord) {
    std::vector<int> out;
    if (view == VIEW_RECENT) {
        for (size_t i = 0; i < group.size(); ++i)
            if (!hasRecord || hasRecord(group[i]->getKey())) out.push_back((int)i);
        return out;
    }
    CsortList sort;
    for (size_t i = 0; i < group.size(); ++i) {
        const CsongPackInfo* e = group[i];
        switch (view) {
            case VIEW_FILES:
                sort.addNumber(e->kind == SONG_DRIVE ? 0.0f : e->kind == SONG_FOLDER ? 1.0f : 2.0f, (int64_t)i);
                break;
            case VIEW_ALBUMS:
                sort.addNumber((float)e->tags.trackNumber, (int64_t)i);
                break;
            case VIEW_FAVOURITES:
                sort.addString(e->tags.artist, (int64_t)i);
                break;
            default:
                sort.addString(e->tags.album, (int64_t)i);
                break;
        }
    }
    if (view == VIEW_FILES || view == VIEW_ALBUMS)
        sort.sortNumbers(0);
    else
        sort.sortAlpha(0);
    for (size_t i = 0; i < sort.size(); ++i) out.push_back((int)sort.dataAt(i));
    return out;
}

const std::string& groupText(const CsongGroup& group, int view) {
    static const std::string none;
    if (group.empty()) return none;
    const CtrackTags& t = group[0]->tags;
    return view == VIEW_ALBUMS ? t.album : view == VIEW_ARTISTS ? t.artist : view == VIEW_GENRES ? t.genre : none;
}

std::vector<int> groupOrder(const std::vector<CsongGroup>& groups, int view) {
    CsortList sort;
    for (size_t i = 0; i < groups.size(); ++i) sort.addString(groupText(groups[i], view), (int64_t)i);
    sort.sortAlpha(1);
    std::vector<int> out;
    for (size_t i = 0; i < sort.size(); ++i) out.push_back((int)sort.dataAt(i));
    return out;
}

std::string trackLengthText(float seconds) {
    int t = std::isfinite(seconds) && seconds > 0 ? (int)std::floor(seconds) : 0;
    int h = t / 3600, m = (t - 3600 * h) / 60, s = t % 60;
    char text[32];
    if (h > 0)
        snprintf(text, sizeof text, "%02dh %02dm", h, m);
    else if (m > 0)
        snprintf(text, sizeof text, "%02d:%02d", m, s);
    else
        snprintf(text, sizeof text, "%01d", s);
    return text;
}

int letterJumpRow(const std::vector<std::string>& titles, char letter, const std::vector<bool>& skip) {
    unsigned char want = (unsigned char)(letter >= 'a' && letter <= 'z' ? letter - 32 : letter);
    for (size_t i = 0; i < titles.size(); ++i) {
        if (i < skip.size() && skip[i]) continue;
        if (titles[i].empty()) continue;
        unsigned char c = (unsigned char)titles[i][0];
        if (c >= 'a' && c <= 'z') c = (unsigned char)(c - 32);
        if (c >= want) return (int)i;
    }
    return -1;
}
