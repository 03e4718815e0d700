#include "style/recyclelist.h"

#include <algorithm>
#include <array>
#include <vector>

void sortRecycleList(RecycleTable &list) {
    std::array<bool, 256> seen{};
    std::vector<quint8> firsts;
    std::vector<quint8> repeats;
    for (const quint8 v : list) {
        if (seen[v])
            repeats.push_back(v);
        else
            firsts.push_back(v);
        seen[v] = true;
    }
    std::sort(firsts.begin(), firsts.end());
    std::size_t at = 0;
    for (const quint8 v : firsts)
        list[at++] = v;
    for (const quint8 v : repeats)
        list[at++] = v;
}
