#include "app/ParametrageConnexion.h"

#include "app/Connexion.h"
#include "app/PaquetBase.h"
#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/Messages.h"

namespace vyk {

const QVector<ParametrageConnexion::TypeServeur> &ParametrageConnexion::typesServeur()
{
    static const QVector<TypeServeur> types = {
        {QString(), QString()},
        {QStringLiteral("PostGres"), POSTGRESQL},
        {QStringLiteral("Oracle"), ORACLE},
    };
    return types;
}

QString ParametrageConnexion::codeTypeServeur(const QString &typeBase)
{
    const QString code = codeTypeProfil(typeBase);
    if (code == POSTGRESQL) return POSTGRESQL;
    if (code.startsWith(ORACLE)) return ORACLE;
    return {};
}

QString ParametrageConnexion::filtreFichierBases()
{
    return QStringLiteral("Fichier de définition de bases de données (databases.properties)");
}

QString ParametrageConnexion::filtreFichier()
{
    return QStringLiteral("Base de données (*.mdb);;Import VYLEN (*.vyk)");
}

ParametrageConnexion::ParametrageConnexion(std::function<bool()> changementBase)
    : essayerCible([](const QString &base, const QString &type, const QString &serveur,
                      const QString &utilisateur, const QString &motDePasse, const QString &port) {
          return BaseDonnees::essayerBase(base, type, serveur, utilisateur, motDePasse, MODULE,
                                          port);
      }),
      m_changementBase(std::move(changementBase))
{
}

CompteRendu ParametrageConnexion::changementPossible(const QString &base, const QString &type)
{
    const bool fichierBureau = type == ACCESS;
    const QString raison = essayerCible(base, type, fichierBureau ? QString() : serveur.trimmed(),
                                        fichierBureau ? QString() : utilisateur.trimmed(),
                                        fichierBureau ? QString() : motDePasse,
                                        fichierBureau ? QString() : port.trimmed());
    if (!raison.isEmpty()) return echec(CIBLE_INACCESSIBLE.arg(base, raison));
    return {libererEcrans(), {}};
}

void ParametrageConnexion::charger()
{
    using namespace reglage;
    auto lire = [](const QString &nom) { return lireRegistre(nom, {}, true); };
    const QString typeBase = lireRegistre(TypeBase);
    if (typeBase == ACCESS) {
        fichier = lire(Base);
        typeServeur = codeTypeServeur(lireRegistre(TypeBaseSav));
        base = lire(BaseSav);
    } else {
        fichier = lire(BaseSav);
        base = lire(Base);
        typeServeur = codeTypeServeur(typeBase);
    }
    serveur = lire(ServeurBase);
    port = lire(PortServeurBase);
    utilisateur = lire(UserBase);
    motDePasse = lire(PassBase);
    m_baseCourante = lire(Base);
    // Read with its case: file names are case-sensitive here.
    m_cheminProfils = lire(FichierProfils);
    m_profils = lireFichierBases(m_cheminProfils);
}

QStringList ParametrageConnexion::nomsProfils() const
{
    QStringList noms;
    noms.reserve(m_profils.size());
    for (const ProfilConnexion &p : m_profils)
        noms << p.nom;
    return noms;
}

void ParametrageConnexion::choisirFichierBases(const QString &chemin)
{
    if (chemin.isEmpty()) return;
    ecrireRegistre(reglage::FichierProfils, chemin);
    m_cheminProfils = chemin;
    m_profils = lireFichierBases(chemin);
}

CompteRendu ParametrageConnexion::selectionnerProfil(const QString &nom)
{
    const ProfilConnexion *profil = trouverProfil(m_profils, nom);
    if (!profil) return echec(PROFIL_INCONNU);
    const ChoixProfil choix = resoudreProfil(*profil);
    if (choix.bureau) {
        fichier = choix.fichier;
        return changerFichier();
    }
    typeServeur = codeTypeServeur(choix.type);
    serveur = choix.serveur;
    port = choix.port;
    base = choix.base;
    utilisateur = choix.utilisateur;
    motDePasse = choix.motDePasse;
    return enregistrerServeur();
}

CompteRendu ParametrageConnexion::enregistrerServeur()
{
    if (serveur.trimmed().isEmpty() || base.trimmed().isEmpty() ||
        utilisateur.trimmed().isEmpty() || motDePasse.isEmpty() || typeServeur.isEmpty())
        return echec(CHAMPS_MANQUANTS);
    if (CompteRendu possible = changementPossible(base.trimmed(), typeServeur); !possible)
        return possible;
    using namespace reglage;
    ecrireRegistre(BaseSav, fichier);
    ecrireRegistre(TypeBaseSav, ACCESS);
    ecrireRegistre(Base, base.trimmed());
    ecrireRegistre(TypeBase, typeServeur);
    ecrireRegistre(ServeurBase, serveur.trimmed());
    ecrireRegistre(PortServeurBase, port.trimmed());
    ecrireRegistre(UserBase, utilisateur.trimmed());
    ecrireRegistre(PassBase, motDePasse);
    bd().enregistrerParametresServeur(typeServeur, serveur.trimmed(), base.trimmed(),
                                      utilisateur.trimmed(), motDePasse);
    return {m_changementBase(), {}};
}

CompteRendu ParametrageConnexion::changerFichier()
{
    if (fichier.trimmed().isEmpty()) return {};
    if (CompteRendu possible = changementPossible(fichier.trimmed(), ACCESS); !possible)
        return possible;
    using namespace reglage;
    ecrireRegistre(Base, fichier.trimmed());
    ecrireRegistre(TypeBase, ACCESS);
    ecrireRegistre(TypeBaseSav, typeServeur);
    ecrireRegistre(ServeurBase, serveur.trimmed());
    ecrireRegistre(PortServeurBase, port.trimmed());
    ecrireRegistre(BaseSav, base.trimmed());
    ecrireRegistre(UserBase, utilisateur.trimmed());
    ecrireRegistre(PassBase, motDePasse);
    return {m_changementBase(), {}};
}

CompteRendu ParametrageConnexion::choisirFichier(const QString &chemin)
{
    if (chemin.isEmpty()) return {};
    if (estFichierBase(chemin)) {
        fichier = chemin;
        return reussite();
    }
    QString erreur;
    const QString extrait = extrairePaquetBase(chemin, &erreur);
    if (extrait.isEmpty()) return echec(erreur);
    fichier = extrait;
    return reussite();
}

} // namespace vyk
