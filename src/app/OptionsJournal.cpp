#include "app/OptionsJournal.h"

#include "app/Registre.h"
#include "db/Journal.h"
#include "db/Outils.h"

#include <cmath>

namespace vyk {

int chargerNiveauJournal()
{
    const Nombre n = enNombre(lireRegistre(QStringLiteral("LogLevel")));
    const int niveau =
        n.estNombre() && n.valeur >= 0 && n.valeur <= 4 ? int(std::lround(n.valeur)) : 0;
    definirNiveauJournal(niveau);
    return niveau;
}

void changerNiveauJournal(int niveau)
{
    definirNiveauJournal(niveau);
    ecrireRegistre(QStringLiteral("LogLevel"), QString::number(niveau));
}

} // namespace vyk
