#pragma once

#include <array>

// The car script names of the models 0 to 86, indexed by a car record's `model`; the car script
// text names each car's physics block after them.
inline constexpr std::array<const char *, 87> ScriptNames = {
    "ALFA",      "ALLARD",    "AMDB4",     "APC",      "BANKVAN",  "BMW",       "BOXCAR",   "BOXTRUCK",
    "BUG",       "CAR9",      "BUICK",     "BUS",      "COPCAR",   "DART",      "EDSEL",    "CAR15",
    "FIAT",      "FIRETRUK",  "GRAHAM",    "GT24640",  "CAR20",    "GTRUCK",    "GUNJEEP",  "HOTDOG",
    "HOTDOG_D1", "HOTDOG_D2", "HOTDOG_D3", "ICECREAM", "ISETLIMO", "ISETTA",    "JEEP",     "JEFFREY",
    "LIMO",      "LIMO2",     "MEDICAR",   "MERC",     "MESSER",   "MIURA",     "MONSTER",  "MORGAN",
    "MORRIS",    "PICKUP",    "RTYPE",     "CAR43",    "SPIDER",   "SPRITE",    "STINGRAY", "STRATOS",
    "STRATOSB",  "STRIPETB",  "STYPE",     "STYPECAB", "SWATVAN",  "T2000GT",   "TANK",     "TANKER",
    "TAXI",      "TBIRD",     "TOWTRUCK",  "TRAIN",    "TRAINCAB", "TRAINFB",   "TRANCEAM", "TRUKCAB1",
    "TRUKCAB2",  "TRUKCONT",  "TRUKTRNS",  "TVVAN",    "VAN",      "VESPA",     "VTYPE",    "WBTWIN",
    "WRECK0",    "WRECK1",    "WRECK2",    "WRECK3",   "WRECK4",   "WRECK5",    "WRECK6",   "WRECK7",
    "WRECK8",    "WRECK9",    "XK120",     "ZCX5",     "EDSELFBI", "HOTDOG_D4", "KRSNABUS"};
