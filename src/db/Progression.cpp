#include "db/Progression.h"

namespace vyk {

Progression &progressionNulle()
{
    static Progression nulle;
    return nulle;
}

} // namespace vyk
