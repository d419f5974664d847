#include "monitoring/ListeStationsQualite.h"

#include "app/Options.h"
#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/Journal.h"
#include "db/Lot.h"
#include "db/Outils.h"
#include "db/Session.h"
#include "db/Sql.h"
#include "monitoring/Qualitometre.h"
#include "schema/Catalogue.h"
#include "users/AccesStations.h"

namespace vyk {

namespace {

// Columns of the standard query, by position.
enum ColonneRequete
{
    RCode,
    RIdentifiant,
    RNom,
    RCommune,
    RDept,
    RAltitude,
    RGestionnaire,
    RAgence,
    RFermeture,
    RCodeME,
    RMasseEau,
    RCreation,
    RDceDebut,
    RDceFin,
    RDce,
    RAquifere,
    RHer,
    RTypeFr,
    RReseau,
    RBassin,
    RTypeStation,
    RBassin2,
    RBassin3,
    RBassin4,
    RRiviere
};

constexpr int ESSAIS = 3;

QString texteDateListe(const QVariant &v)
{
    return texteDate(v.toDateTime());
}

QString dureeChronique(const QVariant &debut, const QVariant &fin)
{
    if (debut.isNull() && fin.isNull()) return {};
    return texteDateListe(debut) + QStringLiteral(" - ") + texteDateListe(fin);
}

ListeStations listeStandard(const Tableau &t)
{
    ListeStations liste;
    liste.titres = titresListeQualitometres();
    const int n = t.nbLignes();
    liste.lignes.reserve(n);
    liste.codes.reserve(n);
    for (int l = 0; l < n; ++l) {
        const QString code = texteValeur(t(l, RCode));
        const QString type = t.texte(l, RTypeStation).trimmed();
        liste.codes << code;
        liste.lignes << QStringList{code,
                                    t.texte(l, RIdentifiant),
                                    t.texte(l, RDept),
                                    t.texte(l, RCommune),
                                    t.texte(l, RNom),
                                    t.texte(l, RAquifere),
                                    texteValeur(t(l, RAltitude)),
                                    QString::number(l + 1),
                                    dureeChronique(t(l, RDceDebut), t(l, RDceFin)),
                                    t.texte(l, RGestionnaire),
                                    t.texte(l, RAgence),
                                    t(l, RDce).isNull() ? QString() : QStringLiteral("X"),
                                    t.texte(l, RCodeME),
                                    t.texte(l, RMasseEau),
                                    texteDateListe(t(l, RCreation)),
                                    texteDateListe(t(l, RFermeture)),
                                    texteValeur(t(l, RHer)),
                                    texteValeur(t(l, RTypeFr)),
                                    t.texte(l, RReseau),
                                    t.texte(l, RBassin),
                                    type,
                                    libelleListeTypeStation(type),
                                    t.texte(l, RBassin2),
                                    t.texte(l, RBassin3),
                                    t.texte(l, RBassin4)};
    }
    return liste;
}

// The site's own list: its columns as they are.
ListeStations listeFiltre(const Tableau &t)
{
    ListeStations liste;
    liste.depuisFiltre = true;
    liste.titres = t.colonnes();
    const int colonneCode = t.indexColonne(QStringLiteral("CodeQualitometre"));
    for (int l = 0; l < t.nbLignes(); ++l) {
        QStringList ligne;
        for (int c = 0; c < t.nbColonnes(); ++c)
            ligne << (t.type(c) == TypeValeur::DateHeure ? texteDateListe(t(l, c))
                                                         : texteValeur(t(l, c)));
        liste.lignes << ligne;
        liste.codes << (colonneCode >= 0 ? texteValeur(t(l, colonneCode)) : QString());
    }
    return liste;
}

QString conditionUtilisateur(const QString &colonne)
{
    // An unattended run has no user to limit: it sees every station.
    return session().estConnecte() ? conditionAccesStations(colonne) : QString();
}

} // namespace

const QStringList &titresListeQualitometres()
{
    static const QStringList titres = {QStringLiteral("Num"),
                                       QStringLiteral("Identifiant"),
                                       QStringLiteral("Dépt"),
                                       QStringLiteral("Commune"),
                                       QStringLiteral("Nom station"),
                                       QStringLiteral("Aquifère"),
                                       QStringLiteral("Altitude"),
                                       QStringLiteral("Num"),
                                       QStringLiteral("Durée chronique"),
                                       QStringLiteral("Gestionnaire"),
                                       QStringLiteral("Agence de l'eau"),
                                       QStringLiteral("DCE"),
                                       QStringLiteral("Code ME"),
                                       QStringLiteral("Masse d'eau"),
                                       QStringLiteral("Création"),
                                       QStringLiteral("Fermeture"),
                                       QStringLiteral("HER"),
                                       QStringLiteral("Type_fr"),
                                       QStringLiteral("Réseau"),
                                       QStringLiteral("Bassin versant"),
                                       QStringLiteral("code type station"),
                                       QStringLiteral("Type station"),
                                       QStringLiteral("Bassin versant NV2"),
                                       QStringLiteral("Bassin versant NV3"),
                                       QStringLiteral("Bassin versant NV4")};
    return titres;
}

QString requeteListeQualitometres(bool codeEuropeen, const QString &conditionAcces)
{
    QString sql =
        QStringLiteral("SELECT DISTINCT Qualitometres.CodeQualitometre, ") + sqlCodeAffiche() +
        QStringLiteral(" as codeBSS, Qualitometres.Nom, COMMUNES.Nom, COMMUNES.NumDept, "
                       "Qualitometres.Altitude, "
                       "LIEN_Qualitometre_GESTIONNAIRE.Nom AS Gestionnaire, "
                       "LIEN_Qualitometre_AGENCE.Nom AS Agence, "
                       "Qualitometres.DateFermeture, ") +
        (codeEuropeen ? QStringLiteral("MASSES_EAUX.Code_Europeen")
                      : QStringLiteral("MASSES_EAUX.code_ME")) +
        QStringLiteral(", MASSES_EAUX.Libelle, Qualitometres.DateCreation, QUALITO_DCE.dateDebut, "
                       "QUALITO_DCE.datefin, "
                       "QUALITO_DCE.CodeQualitometre, AQUIFERES.Libelle, "
                       "Qualitometres.her_niveau1, Qualitometres.type_fr, "
                       "QUALITO_RESEAU_PRINCIPAL.Libelle, bassins_versants.nom, "
                       "qualitometres.typeStation, bassins_versants2.nom, "
                       "bassins_versants3.nom, bassins_versants4.nom, qualitometres.riviere "
                       "FROM Qualitometres LEFT JOIN COMMUNES ON ") +
        conditionCodeCommune(QStringLiteral("Qualitometres.CodeCommune"),
                             QStringLiteral("COMMUNES.CodeCommune")) +
        QStringLiteral(
            " LEFT JOIN LIEN_QUALITO_AQUIFERE ON LIEN_QUALITO_AQUIFERE.CodeQualitometre = "
            "Qualitometres.CodeQualitometre"
            " LEFT JOIN AQUIFERES ON AQUIFERES.CodeAquifere = LIEN_QUALITO_AQUIFERE.CodeAquifere"
            " LEFT JOIN LIEN_Qualitometre_GESTIONNAIRE ON "
            "LIEN_Qualitometre_GESTIONNAIRE.CodeQualitometre = Qualitometres.CodeQualitometre"
            " LEFT JOIN LIEN_Qualitometre_AGENCE ON LIEN_Qualitometre_AGENCE.CodeQualitometre = "
            "Qualitometres.CodeQualitometre"
            " LEFT JOIN LIEN_QUALITO_MASSE_EAU ON LIEN_QUALITO_MASSE_EAU.CodeQualitometre = "
            "Qualitometres.CodeQualitometre"
            " LEFT JOIN MASSES_EAUX ON MASSES_EAUX.Code_ME = LIEN_QUALITO_MASSE_EAU.Code_ME"
            " LEFT JOIN QUALITO_DCE ON QUALITO_DCE.CodeQualitometre = "
            "Qualitometres.CodeQualitometre"
            " LEFT JOIN QUALITO_RESEAU_PRINCIPAL ON QUALITO_RESEAU_PRINCIPAL.CodeQualitometre = "
            "Qualitometres.CodeQualitometre"
            " LEFT JOIN bassins_versants ON bassins_versants.codeBV = "
            "Qualitometres.codeBassinVersant"
            " LEFT JOIN bassins_versants bassins_versants2 ON bassins_versants2.codeBV = "
            "Qualitometres.codeBassinVersant2"
            " LEFT JOIN bassins_versants bassins_versants3 ON bassins_versants3.codeBV = "
            "Qualitometres.codeBassinVersant3"
            " LEFT JOIN bassins_versants bassins_versants4 ON bassins_versants4.codeBV = "
            "Qualitometres.codeBassinVersant4");
    if (!conditionAcces.isEmpty()) sql += QStringLiteral(" WHERE ") + conditionAcces;
    return sql + QStringLiteral(" ORDER BY Qualitometres.CodeQualitometre");
}

ListeStations chargerListeQualitometres()
{
    return chargerListeQualitometres(reglageActif(reglage::CodeMasseEauEuropeen));
}

ListeStations chargerListeQualitometres(bool codeEuropeen)
{
    const QString condition =
        conditionUtilisateur(QStringLiteral("Qualitometres.CodeQualitometre"));
    long nb = 0;
    Tableau t;
    // A restricted user sees only their stations through the site's list too; a site's list
    // without the station column cannot be limited, so they get the standard list instead.
    if (bd().tableExiste(QStringLiteral("QUALITOMETRES_FILTRE")) &&
        (condition.isEmpty() || bd().colonneExiste(QStringLiteral("QUALITOMETRES_FILTRE"),
                                                   QStringLiteral("CodeQualitometre")))) {
        QString sql = QStringLiteral("SELECT * from QUALITOMETRES_FILTRE");
        if (!condition.isEmpty())
            sql += QStringLiteral(" WHERE ") +
                   conditionUtilisateur(QStringLiteral("QUALITOMETRES_FILTRE.CodeQualitometre"));
        if (bd().ExtraireRecords(sql, nb, t)) return listeFiltre(t);
    }
    const QString sql = requeteListeQualitometres(codeEuropeen, condition);
    for (int essai = 0; essai < ESSAIS; ++essai)
        if (bd().ExtraireRecords(sql, nb, t)) return listeStandard(t);
    // The views or tables the list needs are broken: the next start upgrades the schema again.
    journaliserErreur(texteListe::JOURNAL_ECHEC, bd().derniereErreur());
    bd().Execute(
        QStringLiteral("DELETE FROM PARAMETRES WHERE module='VYLEN' and identifiant='version'"));
    ListeStations vide;
    vide.titres = titresListeQualitometres();
    vide.echec = true;
    return vide;
}

bool ligneCorrespond(const QStringList &ligne, const QString &filtre)
{
    const QString f = filtre.trimmed();
    if (f.isEmpty()) return true;
    for (const QString &cellule : ligne)
        if (cellule.contains(f, Qt::CaseInsensitive)) return true;
    return false;
}

QString texteCompte(int affichees, int total)
{
    return texteListe::COMPTE.arg(affichees).arg(total);
}

QVector<double> lireLargeursColonnes(const QString &utilisateur)
{
    QVector<double> largeurs;
    InstructionPreparee lecture =
        bd().preparer(QStringLiteral("SELECT indiceColonne, largeur FROM PARAMETRES_LISTE_QUALITO "
                                     "WHERE Utilisateur=? ORDER BY indiceColonne ASC"));
    Tableau t;
    if (!lecture.extraire(t, {utilisateur})) return largeurs;
    for (int l = 0; l < t.nbLignes(); ++l) {
        const int indice = t.valeur(l, QStringLiteral("indiceColonne")).toInt();
        if (indice < 0 || indice > 1000) continue;
        if (largeurs.size() <= indice) largeurs.resize(indice + 1, -1);
        const QVariant &largeur = t.valeur(l, QStringLiteral("largeur"));
        largeurs[indice] = largeur.isNull() ? -1 : largeur.toDouble();
    }
    return largeurs;
}

bool enregistrerLargeursColonnes(const QString &utilisateur, const QVector<double> &largeurs)
{
    Transaction transaction;
    InstructionPreparee suppression =
        bd().preparer(QStringLiteral("DELETE FROM PARAMETRES_LISTE_QUALITO WHERE Utilisateur=?"));
    if (!suppression.executer({utilisateur})) return false;
    InstructionPreparee ajout =
        bd().preparer(QStringLiteral("INSERT INTO PARAMETRES_LISTE_QUALITO (utilisateur, "
                                     "indiceColonne, largeur) VALUES (?, ?, ?)"));
    for (int c = 0; c < largeurs.size(); ++c)
        if (!ajout.executer({utilisateur, c, largeurs[c]})) return false;
    return transaction.valider();
}

int lireColonneTri()
{
    bool ok = false;
    const int c = lireRegistre(reglage::Colonne_Tri_Qualito).toInt(&ok);
    return ok && c >= 0 ? c : -1;
}

void ecrireColonneTri(int colonne)
{
    ecrireRegistre(reglage::Colonne_Tri_Qualito,
                   colonne < 0 ? QString() : QString::number(colonne));
}

QString listeSelectionDefaut(const QString &login)
{
    InstructionPreparee lecture = bd().preparer(
        QStringLiteral("SELECT codeListe FROM Utilisateurs_Listes WHERE Defaut='O' AND (loginmaj "
                       "is null or loginmaj=?) AND Module=? ORDER BY codeListe"));
    Tableau t;
    if (!lecture.extraire(t, {login, MODULE_QUALITE}) || t.estVide()) return {};
    return t.texte(0, QStringLiteral("codeListe"));
}

QVector<ListeSelection> listesSelection(const QString &login)
{
    QVector<ListeSelection> r;
    InstructionPreparee lecture = bd().preparer(
        QStringLiteral("SELECT codeListe, LibelleListe FROM Utilisateurs_Listes WHERE (loginmaj is "
                       "null or loginmaj=?) AND Module=? ORDER BY LibelleListe"));
    Tableau t;
    if (!lecture.extraire(t, {login, MODULE_QUALITE})) return r;
    for (int l = 0; l < t.nbLignes(); ++l)
        r.append(
            {t.texte(l, QStringLiteral("codeListe")), t.texte(l, QStringLiteral("LibelleListe"))});
    return r;
}

} // namespace vyk
