#include "engine/sortList.h"

#include <algorithm>

#include "engine/bString.h"

void CsortList::sortNumbers(int option) {
    if (option == 1)
        std::stable_sort(entries_.begin(), entries_.end(),
                         [](const Centry& a, const Centry& b) { return a.number > b.number; });
    else
        std::stable_sort(entries_.begin(), entries_.end(),
                         [](const Centry& a, const Centry& b) { return a.number < b.number; });
}

void CsortList::sortAlpha(int option) {
    if (option == 1)
        std::stable_sort(entries_.begin(), entries_.end(), [](const Centry& a, const Centry& b) {
            return toLowerAscii(a.text) < toLowerAscii(b.text);
        });
    else
        std::stable_sort(entries_.begin(), entries_.end(),
                         [](const Centry& a, const Centry& b) { return a.text < b.text; });
}
