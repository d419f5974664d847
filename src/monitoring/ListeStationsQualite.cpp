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

#include <optional>

namespace vyk {

namespace {

// Columns of the standard query, found once by name.
struct ColonnesRequete
{
    int code, identifiant, nom, commune, dept, altitude, gestionnaire, agence, fermeture, codeME,
        masseEau, creation, dceDebut, dceFin, dce, aquifere, her, typeFr, reseau, bassin,
        typeStation, bassin2, bassin3, bassin4;
    explicit ColonnesRequete(const Ligne &l)
    {
        const std::pair<int *, const char *> noms[] = {{&code, "code"},
                                                       {&identifiant, "codeBSS"},
                                                       {&nom, "nom"},
                                                       {&commune, "commune"},
                                                       {&dept, "dept"},
                                                       {&altitude, "altitude"},
                                                       {&gestionnaire, "Gestionnaire"},
                                                       {&agence, "Agence"},
                                                       {&fermeture, "fermeture"},
                                                       {&codeME, "codeME"},
                                                       {&masseEau, "masseEau"},
                                                       {&creation, "creation"},
                                                       {&dceDebut, "dceDebut"},
                                                       {&dceFin, "dceFin"},
                                                       {&dce, "dce"},
                                                       {&aquifere, "aquifere"},
                                                       {&her, "her"},
                                                       {&typeFr, "typeFr"},
                                                       {&reseau, "reseau"},
                                                       {&bassin, "bassin"},
                                                       {&typeStation, "typeStation"},
                                                       {&bassin2, "bassin2"},
                                                       {&bassin3, "bassin3"},
                                                       {&bassin4, "bassin4"}};
        for (const auto &[index, nomColonne] : noms)
            *index = l.colonne(QString::fromLatin1(nomColonne));
    }
};

constexpr int ESSAIS = 3;

QString texteDateListe(const QVariant &v)
{
    return texteDate(v.toDateTime());
}

// One row of the standard query, its cells as the list shows them; a column the query lacks
// reads as empty.
QStringList ligneStandard(const Ligne &l, const ColonnesRequete &c)
{
    const auto texte = [&l](int colonne) { return colonne < 0 ? QString() : l.texte(colonne); };
    const auto nul = [&l](int colonne) { return colonne < 0 || l.estNul(colonne); };
    const auto date = [&](int colonne) {
        return nul(colonne) ? QString() : texteDate(l.date(colonne));
    };
    const QString type = texte(c.typeStation).trimmed();
    return {texte(c.code),
            texte(c.identifiant),
            texte(c.dept),
            texte(c.commune),
            texte(c.nom),
            texte(c.aquifere),
            texte(c.altitude),
            QString::number(l.numero() + 1),
            nul(c.dceDebut) && nul(c.dceFin)
                ? QString()
                : date(c.dceDebut) + QStringLiteral(" - ") + date(c.dceFin),
            texte(c.gestionnaire),
            texte(c.agence),
            nul(c.dce) ? QString() : QStringLiteral("X"),
            texte(c.codeME),
            texte(c.masseEau),
            date(c.creation),
            date(c.fermeture),
            texte(c.her),
            texte(c.typeFr),
            texte(c.reseau),
            texte(c.bassin),
            type,
            libelleListeTypeStation(type),
            texte(c.bassin2),
            texte(c.bassin3),
            texte(c.bassin4)};
}

// The standard list, read row by row; false (the list empty) when the query failed.
bool lireListeStandard(const QString &sql, ListeStations &liste)
{
    liste = {};
    liste.titres = titresListeQualitometres();
    std::optional<ColonnesRequete> colonnes;
    if (bd().parcourirEnBloc(sql, [&](const Ligne &l) {
            if (l.premiere()) colonnes.emplace(l);
            liste.lignes << ligneStandard(l, *colonnes);
            liste.codes << liste.lignes.back()[COLONNE_CODE];
            return true;
        }))
        return true;
    liste.lignes.clear();
    liste.codes.clear();
    return false;
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
        QStringLiteral("SELECT DISTINCT Qualitometres.CodeQualitometre AS code, ") +
        sqlCodeAffiche() +
        QStringLiteral(" as codeBSS, Qualitometres.Nom AS nom, COMMUNES.Nom AS commune, "
                       "COMMUNES.NumDept AS dept, Qualitometres.Altitude AS altitude, "
                       "LIEN_Qualitometre_GESTIONNAIRE.Nom AS Gestionnaire, "
                       "LIEN_Qualitometre_AGENCE.Nom AS Agence, "
                       "Qualitometres.DateFermeture AS fermeture, ") +
        (codeEuropeen ? QStringLiteral("MASSES_EAUX.Code_Europeen")
                      : QStringLiteral("MASSES_EAUX.code_ME")) +
        QStringLiteral(" AS codeME, MASSES_EAUX.Libelle AS masseEau, Qualitometres.DateCreation "
                       "AS creation, QUALITO_DCE.dateDebut AS dceDebut, QUALITO_DCE.datefin AS "
                       "dceFin, QUALITO_DCE.CodeQualitometre AS dce, AQUIFERES.Libelle AS "
                       "aquifere, Qualitometres.her_niveau1 AS her, Qualitometres.type_fr AS "
                       "typeFr, QUALITO_RESEAU_PRINCIPAL.Libelle AS reseau, bassins_versants.nom "
                       "AS bassin, qualitometres.typeStation AS typeStation, "
                       "bassins_versants2.nom AS bassin2, bassins_versants3.nom AS bassin3, "
                       "bassins_versants4.nom AS bassin4, qualitometres.riviere AS riviere "
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
    ListeStations liste;
    for (int essai = 0; essai < ESSAIS; ++essai)
        if (lireListeStandard(sql, liste)) return liste;
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
