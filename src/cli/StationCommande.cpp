#include "cli/Cli.h"

#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "db/Session.h"
#include "db/Sql.h"
#include "users/AccesStations.h"

namespace vyk::cli {

bool stationCommande(Contexte &ctx, const QString &station, StationCommande &trouvee)
{
    // The station by its public code, or by its number.
    Tableau s = bd().extraire(
        QStringLiteral("SELECT CodeQualitometre, CodeBSS FROM QUALITOMETRES WHERE CodeBSS=") +
        sqlTexte(station));
    if (s.estVide() && estNombre(station))
        s = bd().extraire(
            QStringLiteral(
                "SELECT CodeQualitometre, CodeBSS FROM QUALITOMETRES WHERE CodeQualitometre=") +
            sqlNombre(enNombre(station).valeur));
    if (s.estVide()) {
        ctx.echec(QStringLiteral("Le qualitomètre « %1 » n'existe pas.").arg(extrait(station)));
        return false;
    }
    trouvee.numero = s.valeur(0, QStringLiteral("CodeQualitometre")).toLongLong();
    if (ctx.aOption(QStringLiteral("login")) && estAccesRestreint() &&
        !stationAccordee(trouvee.numero)) {
        ctx.echec(QStringLiteral("L'utilisateur %1 n'a pas accès au qualitomètre « %2 ».")
                      .arg(session().login, extrait(station)));
        return false;
    }
    trouvee.codeBSS = s.texte(0, QStringLiteral("CodeBSS")).trimmed();
    return true;
}

} // namespace vyk::cli
