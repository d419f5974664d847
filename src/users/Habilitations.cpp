#include "users/Habilitations.h"

#include "db/BaseDonnees.h"
#include "db/Session.h"
#include "db/Sql.h"

#include <QRegularExpression>

namespace vyk {

namespace {

// The rights of one module, without its prefix, with what they grant.
struct DroitModule
{
    const char *suffixe;
    const char *libelle;
};
// clang-format off
const DroitModule DROITS_MODULE[] = {
    {"ALL", "Toutes les stations du module"},
    {"FORBIDEN", "Aucun accès au module"},
    {"IMPORT", "Importations"},
    {"BANCARISATION", "Bancarisation des données importées"},
    {"EXPORT", "Exportations"},
    {"RAPPORT", "Rapports"},
    {"COURBES_REF", "Courbes de référence"},
    {"FICHE_MODIF", "Création et modification des fiches"},
    {"FICHE_SUPPR", "Suppression des fiches"},
    {"FICHE_EDITION", "Impression des fiches"},
    {"FICHE_EVENEMENT", "Evénements et interventions des stations"},
    {"DATA_CONSULT", "Consultation des mesures"},
    {"DATA_MODIF", "Modification des mesures"},
    {"VALIDATION", "Validation des mesures"},
    {"BULLETINS", "Bulletins"},
    {"DEMANDES", "Demandes de prélèvements"},
    {"RECHERCHES", "Recherches"},
    {"PRESELECTION", "Présélections"},
    {"SEUILS", "Seuils"},
    {"SITUATIONS", "Cartes de situation"},
    {"JOURNAUX", "Journaux"},
    {"SUPERPOSITION", "Superpositions"},
    {"RESEAUX", "Réseaux"},
};
// clang-format on

struct Module
{
    const char *prefixe;
    const char *groupe;
};
// clang-format off
const Module MODULES[] = {
    {"QUALITO_", "Qualité (VYK)"},
    {"PIEZO_", "Piézométrie"},
    {"PLUVIO_", "Pluviométrie"},
    {"HYDRO_", "Hydrométrie"},
};
// clang-format on

// clang-format off
const DroitModule DROITS_PROPRES_AUX_MODULES[] = {
    {"PIEZO_DATA_TRAVAIL", "Données de travail"},
    {"PIEZO_AEP", "Exploitation AEP"},
    {"PIEZO_JOURNAL", "Journal"},
    {"PLUVIO_JOURNAL", "Journal"},
    {"HYDRO_POMPAGES", "Pompages"},
    {"HYDRO_JOURNAL", "Journal"},
};
// clang-format on

// clang-format off
const DroitModule DROITS_COMMUNS[] = {
    {"ADMIN_USER", "Gestion des utilisateurs"},
    {"GESTION_MODELE_HYDRO", "Gestion des modèles hydrologiques"},
};
// clang-format on
// clang-format off
const DroitModule DROITS_CARTO[] = {
    {"CARTO_QUALITO", "Cartes de la qualité"},
    {"CARTO_QUALITO_SIT", "Cartes de situation de la qualité"},
    {"CARTO_QUALITO_HTML", "Cartes HTML de la qualité"},
    {"CARTO_PIEZO", "Cartes de la piézométrie"},
    {"CARTO_PIEZO_SIT", "Cartes de situation de la piézométrie"},
    {"CARTO_PIEZO_SIT_MOY", "Cartes de situation moyenne de la piézométrie"},
    {"CARTO_PIEZO_HTML", "Cartes HTML de la piézométrie"},
    {"CARTO_PLUVIO", "Cartes de la pluviométrie"},
    {"CARTO_PLUVIO_SIT", "Cartes de situation de la pluviométrie"},
    {"CARTO_PLUVIO_HTML", "Cartes HTML de la pluviométrie"},
    {"CARTO_HYDRO", "Cartes de l'hydrométrie"},
    {"CARTO_HYDRO_HTML", "Cartes HTML de l'hydrométrie"},
};
// clang-format on
// clang-format off
const DroitModule DROITS_MATERIEL[] = {
    {"MAT_CLES", "Clés"},
    {"MAT_DIVERS", "Matériel divers"},
    {"MAT_CENTRALES", "Centrales"},
    {"MAT_CAPTEURS", "Capteurs"},
    {"MAT_MODEMS", "Modems"},
    {"MAT_BATTERIES", "Batteries"},
    {"MAT_FOURNISSEURS", "Fournisseurs"},
};
// clang-format on

template <std::size_t N>
void ajouter(QVector<DefinitionHabilitation> &liste, const DroitModule (&droits)[N],
             const QString &groupe)
{
    for (const DroitModule &d : droits)
        liste.append({QString::fromLatin1(d.suffixe), QString::fromUtf8(d.libelle), groupe});
}

QVector<DefinitionHabilitation> construireCatalogue()
{
    QVector<DefinitionHabilitation> liste;
    for (const Module &m : MODULES) {
        const QString prefixe = QString::fromLatin1(m.prefixe);
        const QString groupe = QString::fromUtf8(m.groupe);
        for (const DroitModule &d : DROITS_MODULE)
            liste.append(
                {prefixe + QString::fromLatin1(d.suffixe), QString::fromUtf8(d.libelle), groupe});
        for (const DroitModule &d : DROITS_PROPRES_AUX_MODULES)
            if (QString::fromLatin1(d.suffixe).startsWith(prefixe))
                liste.append(
                    {QString::fromLatin1(d.suffixe), QString::fromUtf8(d.libelle), groupe});
    }
    ajouter(liste, DROITS_COMMUNS, QStringLiteral("Commun"));
    ajouter(liste, DROITS_CARTO, QStringLiteral("Cartographie"));
    ajouter(liste, DROITS_MATERIEL, QStringLiteral("Matériel"));
    return liste;
}

} // namespace

QString lireHabilitations(const QString &login)
{
    InstructionPreparee lecture =
        bd().preparer(QStringLiteral("SELECT habilitation FROM Utilisateurs_Habilitations WHERE "
                                     "login = ? ORDER BY habilitation"));
    Tableau t;
    QString texte = QStringLiteral(",");
    if (!lecture.extraire(t, {login})) return texte;
    for (int l = 0; l < t.nbLignes(); ++l) {
        // Fixed-width columns of some servers pad the text.
        const QString droit = t.texte(l, QStringLiteral("habilitation")).trimmed();
        if (!droit.isEmpty()) texte += droit + u',';
    }
    return texte;
}

void rechargerHabilitations()
{
    Session &s = session();
    if (!s.estConnecte() || !bd().estOuverte()) return;
    // A session opened outside the login (unattended runs) may meet a database without users.
    s.habilitations = bd().tableExiste(QStringLiteral("UTILISATEURS_HABILITATIONS"))
                          ? lireHabilitations(s.login)
                          : QStringLiteral(",");
}

bool possedeHabilitation(const QString &droit)
{
    Session &s = session();
    if (!s.estConnecte()) return false;
    // Built on the first test when the login did not read them.
    if (s.habilitations.isEmpty()) rechargerHabilitations();
    if (droit.contains(u'*')) {
        QString prefixe = droit;
        prefixe.remove(u'*');
        return s.habilitations.contains(u',' + prefixe);
    }
    return s.habilitations.contains(u',' + droit + u',');
}

bool estHabilite(const QString &droit)
{
    const Session &s = session();
    return (s.estConnecte() && s.administrateur) || possedeHabilitation(droit);
}

bool peutModifierReferentiels()
{
    const Session &s = session();
    return !s.estConnecte() || s.administrateur || s.editionReferentiels;
}

const QVector<DefinitionHabilitation> &catalogueHabilitations()
{
    static const QVector<DefinitionHabilitation> catalogue = construireCatalogue();
    return catalogue;
}

QVector<DefinitionHabilitation> habilitationsReseaux()
{
    QVector<DefinitionHabilitation> liste;
    if (!bd().estOuverte() || !bd().tableExiste(QStringLiteral("RESEAUX"))) return liste;
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT CodeReseau, Libelle FROM RESEAUX ORDER BY Libelle, CodeReseau"));
    for (int l = 0; l < t.nbLignes(); ++l) {
        const QString code = t.texte(l, QStringLiteral("CodeReseau"));
        if (code.isEmpty()) continue;
        const QString libelle = t.texte(l, QStringLiteral("Libelle")).trimmed();
        liste.append(
            {droit::QUALITO_NETWORK_ + code,
             QStringLiteral("Stations du réseau : ") + (libelle.isEmpty() ? code : libelle),
             QStringLiteral("Réseaux (qualité)")});
    }
    return liste;
}

bool estHabilitationConnue(const QString &droit)
{
    static const QRegularExpression reseau(
        QStringLiteral("^(QUALITO|PIEZO|PLUVIO|HYDRO)_NETWORK_[0-9]+$"));
    if (reseau.match(droit).hasMatch()) return true;
    for (const DefinitionHabilitation &d : catalogueHabilitations())
        if (d.code == droit) return true;
    return false;
}

} // namespace vyk
