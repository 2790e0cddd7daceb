#include "main/knownprograms.h"

const std::array<const char *, 108> KnownPrograms{
    "CC02E", "CC03E", "CC04E", "J202P", "J204P", "J210P", "J216P", "J218P", "J220P", "J222P", //
    "J292P", "J242P", "J245P", "J250P", "J260E", "J280E", "J282E", "J284E", "J286E", "J290P", //
    "J295P", "J296P", "J302P", "J311E", "J312E", "J310P", "J312P", "J314P", "J316P", "J317P", //
    "J320P", "J321P", "J322P", "J324P", "J326P", "J328P", "J330P", "J332P", "J334P", "J336P", //
    "J337P", "J340P", "J350P", "J352P", "J360P", "J364P", "J366P", "J368P", "J370P", "J380P", //
    "J390P", "J395P", "J396P", "J397E", "J401E", "J402E", "J403E", "J404E", "J406E", "J405P", //
    "J420P", "J421P", "J432P", "J440P", "J462P", "J468P", "J470P", "J483P", "J485P", "J488P", //
    "J489P", "J490P", "J492P", "J493P", "J494P", "J510P", "J512P", "J514P", "J515P", "J602P", //
    "JX20E", "SA01E", "SA02E", "SA04E", "SA06E", "SA07E", "SA09P", "SA11E", "SA14E", "SA15E", //
    "SA16E", "SA17E", "SA13E", "SA11P", "SA25E", "SA27E", "SA30E", "SA40E", "SA41E", "SB01B", //
    "SB03P", "SB35P", "SB36P", "SX31E", "SX33E", "SX35E", "SX40P", "J900E",
};

int KnownProgramIndex(const QString &progId)
{
    for (std::size_t i = 0; i < KnownPrograms.size(); ++i) {
        if (progId == QLatin1String(KnownPrograms[i]))
            return static_cast<int>(i);
    }
    return -1;
}
