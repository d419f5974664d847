#include "app/Connexion.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/Messages.h"

namespace vyk {

ParametresConnexion ParametresConnexion::lire()
{
    ParametresConnexion p;
    p.base = lireRegistre(reglage::Base, {}, true);
    p.typeBase = lireRegistre(reglage::TypeBase);
    p.serveurBase = lireRegistre(reglage::ServeurBase, {}, true);
    p.portServeurBase = lireRegistre(reglage::PortServeurBase, {}, true);
    p.userBase = lireRegistre(reglage::UserBase, {}, true);
    p.passBase = lireRegistre(reglage::PassBase, {}, true);
    return p;
}

QString ParametresConnexion::libelleStatut() const
{
    return estServeur() ? serveurBase + u'/' + base : base;
}

OuvertureBase ouvertureParDefaut()
{
    return [](const QString &base, const QString &type, const QString &serveur,
              const QString &utilisateur, const QString &motDePasse, const QString &module,
              const QString &port) {
        return bd().ouvrirBase(base, type, serveur, utilisateur, motDePasse, module, port);
    };
}

QString messageEchecConnexion(const QString &base)
{
    return QStringLiteral("La connexion à la base de données (") + base +
           QStringLiteral(
               ") n'a pas fonctionné. Vérifiez le paramétrage dans l'administration du logiciel.");
}

CompteRendu connexionbase(ParametresConnexion &p, const OuvertureBase &ouvrir)
{
    if (p.typeBase.startsWith(ORACLE)) {
        const QString brut = lireRegistre(reglage::TypeBase, {}, true);
        if (brut.startsWith(ORACLE, Qt::CaseInsensitive)) p.typeBase = brut;
    }
    if (!ouvrir(p.base, p.typeBase, p.serveurBase, p.userBase, p.passBase, MODULE,
                p.portServeurBase)) {
        // A failed opening may leave nothing half open behind it.
        bd().fermerBase();
        return echec(messageEchecConnexion(p.base));
    }
    if (p.typeBase.left(6).compare(ORACLE, Qt::CaseInsensitive) == 0) p.typeBase = ORACLE;
    return reussite();
}

} // namespace vyk
