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

// Columns of the standard query, found once by name.
struct ColonnesRequete
{
    int code, identifiant, nom, commune, dept, altitude, gestionnaire, agence, fermeture, codeME,
        masseEau, creation, dceDebut, dceFin, dce, aquifere, her, typeFr, reseau, bassin,
        typeStation, bassin2, bassin3, bassin4;
    explicit ColonnesRequete(const Tableau &t)
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
            *index = t.indexColonne(QLatin1String(nomColonne));
    }
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
    if (n == 0) return liste;
    const ColonnesRequete c(t);
    // A column the query lacks reads as empty.
    static const QVariant nul;
    const auto valeur = [&t](int l, int colonne) -> const QVariant & {
        return colonne < 0 ? nul : t(l, colonne);
    };
    const auto texte = [&](int l, int colonne) { return texteValeur(valeur(l, colonne)); };
    for (int l = 0; l < n; ++l) {
        const QString code = texte(l, c.code);
        const QString type = texte(l, c.typeStation).trimmed();
        liste.codes << code;
        liste.lignes << QStringList{code,
                                    texte(l, c.identifiant),
                                    texte(l, c.dept),
                                    texte(l, c.commune),
                                    texte(l, c.nom),
                                    texte(l, c.aquifere),
                                    texte(l, c.altitude),
                                    QString::number(l + 1),
                                    dureeChronique(valeur(l, c.dceDebut), valeur(l, c.dceFin)),
                                    texte(l, c.gestionnaire),
                                    texte(l, c.agence),
                                    valeur(l, c.dce).isNull() ? QString() : QStringLiteral("X"),
                                    texte(l, c.codeME),
                                    texte(l, c.masseEau),
                                    texteDateListe(valeur(l, c.creation)),
                                    texteDateListe(valeur(l, c.fermeture)),
                                    texte(l, c.her),
                                    texte(l, c.typeFr),
                                    texte(l, c.reseau),
                                    texte(l, c.bassin),
                                    type,
                                    libelleListeTypeStation(type),
                                    texte(l, c.bassin2),
                                    texte(l, c.bassin3),
                                    texte(l, c.bassin4)};
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
