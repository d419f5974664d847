#include "app/Demarrage.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/Journal.h"
#include "db/Messages.h"
#include "db/Session.h"

namespace vyk {

Demarrage::Demarrage()
{
    // The GUI wires the users module here; unwired, nobody gets in.
    authentifier = [](const QString &, const QString &, bool) { return false; };
    // The GUI wires the schema check and upgrade here (the schema module sits beside this one).
    verifierVersionBase = [](const QString &) { return true; };
    ouvrir = ouvertureParDefaut();
}

QString Demarrage::version()
{
    return QStringLiteral(VYK_VERSION);
}

QString Demarrage::libelleVersion()
{
    return QStringLiteral("Version ") + version();
}

bool Demarrage::chargement()
{
    definirNiveauJournal(niveauJournalDe(lireRegistre(reglage::LogLevel)));
    m_options = lireOptions();
    const bool changement = m_parametres.changementBaseEnCours;
    m_parametres = ParametresConnexion::lire();
    m_parametres.changementBaseEnCours = changement;
    return connexionbase();
}

bool Demarrage::connexionbase()
{
    // The database being opened shows while it opens, and under its error message.
    if (afficherStatut) afficherStatut(libelleStatut());
    const CompteRendu ouverture = vyk::connexionbase(m_parametres, ouvrir);
    m_refus = ouverture.texte;
    return ouverture.ok;
}

bool Demarrage::estConnecte() const
{
    return bd().estOuverte();
}

QString Demarrage::dernierUtilisateur() const
{
    return lireRegistre(reglage::LastUser, {}, true);
}

bool Demarrage::connexionAutomatique() const
{
    return lireRegistre(reglage::ConnexionAutomatic) == QLatin1String("OUI");
}

Demarrage::Identification Demarrage::identifier(const QString &login, const QString &motDePasse,
                                                bool connexionAuto, bool automatique)
{
    m_refus.clear();
    if (!estConnecte() || !authentifier(login, motDePasse, automatique))
        return Identification::Refusee;
    ecrireRegistre(reglage::ConnexionAutomatic,
                   connexionAuto ? QStringLiteral("OUI") : QStringLiteral("NON"));
    ecrireRegistre(reglage::LastUser, login.trimmed());
    if (afficherStatut) afficherStatut(VERIFICATION);
    const bool baseOk = verifierVersionBase(version());
    if (afficherStatut) afficherStatut(libelleStatut());
    if (!baseOk) {
        const QString raison = raisonRefusBase ? raisonRefusBase() : QString();
        const QString texte = BASE_REFUSEE + (raison.isEmpty() ? QString() : u'\n' + raison);
        journaliserErreur(QStringLiteral("Connexion refusée"),
                          login.trimmed() + QStringLiteral(" : ") + texte);
        session().vider();
        m_refus = texte;
        return Identification::BaseRefusee;
    }
    return Identification::Ouverte;
}

QString Demarrage::questionFermeture(const QString &titre)
{
    return QStringLiteral("Etes vous sûr de vouloir quitter ") + titre + QStringLiteral(" ?");
}

void Demarrage::deconnecterSession()
{
    if (bd().estOuverte()) journaliserInfo(QStringLiteral("Logout"));
}

bool Demarrage::demanderFermeture(const QString &titre, const Confirmation &confirmer)
{
    if (m_parametres.changementBaseEnCours) return true;
    if (!confirmer(questionFermeture(titre))) return false;
    deconnecterSession();
    return true;
}

bool Demarrage::dechargement()
{
    bd().fermerBase();
    session().vider();
    const bool fin = !m_parametres.changementBaseEnCours;
    m_parametres.changementBaseEnCours = false;
    return fin;
}

void Demarrage::changementUtilisateur()
{
    deconnecterSession();
    m_parametres.changementBaseEnCours = true;
}

bool Demarrage::changementBase(bool ecranIdentificationCharge)
{
    m_refus.clear();
    ecrireRegistre(reglage::ConnexionAutomatic, QStringLiteral("NON"));
    const bool changement = m_parametres.changementBaseEnCours;
    m_parametres = ParametresConnexion::lire();
    m_parametres.changementBaseEnCours = changement;
    // Leaving the main window's database: its user logs out there, while it is still open.
    if (!ecranIdentificationCharge && session().estConnecte()) deconnecterSession();
    bd().fermerBase();
    if (ecranIdentificationCharge) return connexionbase();
    m_parametres.changementBaseEnCours = true;
    return false;
}

} // namespace vyk
