#include "search/ImportSelections.h"

#include "db/BaseDonnees.h"
#include "db/InstructionPreparee.h"
#include "db/Lot.h"
#include "db/Sql.h"
#include "quality/ImportSeuils.h"
#include "search/Selections.h"

#include <QHash>
#include <QSet>

namespace vyk {

namespace {

constexpr int TAILLE_CODE_LISTE = 17;
constexpr int TAILLE_LIBELLE = 255;
constexpr int TAILLE_UNITE = 5;

const QString SQL_TITRE_EXISTE = QStringLiteral(
    "SELECT count(*) FROM ANALYSES_PARAMETRES_SELECTIONS_TITRE WHERE TypeListe=? AND code=?");

bool lignePlausible(const LigneFichierSelection &l)
{
    const auto dans = [](const QString &t, int n, bool requis) {
        return t.size() <= n && (!requis || !t.isEmpty());
    };
    return dans(l.codeParametre, longueurCodeMembre(ListeParametres), true) &&
           dans(l.codeUnite, TAILLE_UNITE, false) && dans(l.codeGroupe, TAILLE_CODE_LISTE, true) &&
           dans(l.libelleGroupe, TAILLE_LIBELLE, false) &&
           dans(l.codeSousGroupe, TAILLE_CODE_LISTE, false) &&
           dans(l.libelleSousGroupe, TAILLE_LIBELLE, false);
}

// The list's rows are replaced; its title is updated when it exists so that a default mark
// survives a re-import.
class EcritureListes
{
  public:
    EcritureListes()
        : m_existe(bd().preparer(SQL_TITRE_EXISTE)),
          m_ajout(bd().preparer(QStringLiteral(
              "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS_TITRE (Code, Nom, TypeListe, "
              "codeParent, defaut) VALUES (?, ?, ?, ?, '')"))),
          m_maj(bd().preparer(QStringLiteral(
              "UPDATE ANALYSES_PARAMETRES_SELECTIONS_TITRE SET Nom=?, codeParent=? WHERE "
              "TypeListe=? AND code=?"))),
          m_vider(bd().preparer(QStringLiteral(
              "DELETE FROM ANALYSES_PARAMETRES_SELECTIONS WHERE TypeListe=? AND code=?"))),
          m_membre(bd().preparer(QStringLiteral(
              "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, CodeParametre, CodeUnite, "
              "TypeListe) VALUES (?, ?, ?, ?, ?)")))
    {
    }

    bool initialiser(const QString &code, const QString &nom, const QString &parent, int type)
    {
        Tableau t;
        if (!m_vider.executer({type, code}) || !m_existe.extraire(t, {type, code})) return false;
        const QVariant p = parent.isEmpty() ? QVariant() : QVariant(parent);
        const QString libelle = nom.isEmpty() ? code : nom;
        return t(0, 0).toInt() > 0 ? m_maj.executer({libelle, p, type, code})
                                   : m_ajout.executer({code, libelle, type, p});
    }
    bool ajouterMembre(const QString &code, int type, const QString &membre, const QString &unite)
    {
        int &n = m_positions[code];
        return m_membre.executer(
            {code, ++n, membre, unite.isNull() ? QVariant() : QVariant(unite), type});
    }
    bool supprimer(const QString &code, int type)
    {
        return m_vider.executer({type, code}) &&
               bd().Execute(QStringLiteral("DELETE FROM ANALYSES_PARAMETRES_SELECTIONS_TITRE "
                                           "WHERE TypeListe=") +
                            QString::number(type) + QStringLiteral(" AND code=") + sqlTexte(code));
    }

  private:
    InstructionPreparee m_existe, m_ajout, m_maj, m_vider, m_membre;
    QHash<QString, int> m_positions;
};

// Pass 1: the titles of the groups, then of the sub-groups under their group.
bool initialiserListes(EcritureListes &e, const QVector<LigneFichierSelection> &lignes,
                       int &nbListes)
{
    QSet<QString> groupes, sousGroupes;
    for (const LigneFichierSelection &l : lignes) {
        if (!lignePlausible(l) || groupes.contains(l.codeGroupe)) continue;
        groupes.insert(l.codeGroupe);
        if (!e.initialiser(l.codeGroupe, l.libelleGroupe, {}, ListeParametres)) return false;
        ++nbListes;
    }
    for (const LigneFichierSelection &l : lignes) {
        if (!lignePlausible(l) || l.codeSousGroupe.isEmpty() ||
            groupes.contains(l.codeSousGroupe) || sousGroupes.contains(l.codeSousGroupe))
            continue;
        sousGroupes.insert(l.codeSousGroupe);
        if (!e.initialiser(l.codeSousGroupe, l.libelleSousGroupe, l.codeGroupe, ListeParametres))
            return false;
        ++nbListes;
    }
    return true;
}

// Parameters and units named by parameter lists (physico-chemical, index and environmental:
// taxa and states are coded otherwise) are shown; the parameters missing from the referential
// are created, named by their code.
bool mettreAJourReferentiel()
{
    const QString membres = QStringLiteral("FROM ANALYSES_PARAMETRES_SELECTIONS S WHERE "
                                           "S.TypeListe in (0,2,3)");
    return bd().Execute(QStringLiteral("UPDATE ANALYSES_PARAMETRES SET actif='1' WHERE code in "
                                       "(SELECT S.codeParametre ") +
                        membres + u')') &&
           bd().Execute(QStringLiteral("UPDATE ANALYSES_UNITES SET actif='1' WHERE code in "
                                       "(SELECT S.codeUnite ") +
                        membres + u')') &&
           bd().Execute(QStringLiteral("INSERT INTO ANALYSES_PARAMETRES (code, nom, nature, type, "
                                       "actif) SELECT DISTINCT S.codeParametre, S.codeParametre, "
                                       "'0', '0', '1' ") +
                        membres +
                        QStringLiteral(" AND S.codeParametre<>'' AND NOT EXISTS (SELECT 1 FROM "
                                       "ANALYSES_PARAMETRES P WHERE P.code=S.codeParametre)"));
}

enum class Suite
{
    Continuer,
    Arreter,
    ToutAnnuler
};

Suite apresEchec(const ReponsesImportSelections &r, qsizetype ligne)
{
    if (r.continuer(texteImportSelections::ligneImpossible(ligne))) return Suite::Continuer;
    return r.toutAnnuler(texteImportSelections::ANNULER_TOUT) ? Suite::ToutAnnuler : Suite::Arreter;
}

// Pass 2: one row per line, in its sub-group when it has one. False when the run is undone.
bool ajouterLignes(EcritureListes &e, const QVector<LigneFichierSelection> &lignes,
                   Progression &progression, const ReponsesImportSelections &reponses,
                   BilanImportSelections &bilan)
{
    for (qsizetype i = 0; i < lignes.size(); ++i) {
        if (progression.annule()) return false;
        progression.position(i, lignes.size());
        const LigneFichierSelection &l = lignes[i];
        const QString liste = l.codeSousGroupe.isEmpty() ? l.codeGroupe : l.codeSousGroupe;
        if (lignePlausible(l) &&
            e.ajouterMembre(liste, ListeParametres, l.codeParametre, l.codeUnite)) {
            ++bilan.lignes;
            continue;
        }
        bilan.echecs << l.ligne;
        const Suite suite = apresEchec(reponses, l.ligne);
        if (suite == Suite::ToutAnnuler) return false;
        if (suite == Suite::Arreter) break;
    }
    return true;
}

} // namespace

QStringList entetesFichierSelections()
{
    return {QStringLiteral("Code parametre"),      QStringLiteral("Code unité"),
            QStringLiteral("Code sélection"),      QStringLiteral("Libellé sélection"),
            QStringLiteral("Code sous sélection"), QStringLiteral("Libellé sous sélection")};
}

QStringList LigneFichierSelection::champs() const
{
    return {codeParametre, codeUnite, codeGroupe, libelleGroupe, codeSousGroupe, libelleSousGroupe};
}

bool lireFichierSelections(const QString &chemin, QVector<LigneFichierSelection> &lignes,
                           QString &erreur)
{
    lignes.clear();
    QVector<EnregistrementCsv> enregistrements;
    if (!lireEnregistrements(chemin, enregistrements, erreur)) return false;
    bool premiere = true;
    for (const EnregistrementCsv &e : std::as_const(enregistrements)) {
        if (enregistrementVide(e.champs)) continue;
        const auto c = [&](int i) { return e.champs.value(i).trimmed(); };
        const bool entete =
            premiere && c(0).startsWith(QLatin1String("code param"), Qt::CaseInsensitive);
        premiere = false;
        if (entete) continue;
        LigneFichierSelection l{e.ligne, c(0), c(1), c(2), c(3), c(4), c(5)};
        if (l.codeUnite.isEmpty()) l.codeUnite = QStringLiteral("");
        lignes << l;
    }
    if (lignes.isEmpty()) {
        erreur = texteImportSelections::FICHIER_VIDE;
        return false;
    }
    return true;
}

QStringList unitesInconnuesSelections(const QVector<LigneFichierSelection> &lignes)
{
    QStringList codes;
    for (const LigneFichierSelection &l : lignes)
        if (!l.codeUnite.isEmpty() && !codes.contains(l.codeUnite)) codes << l.codeUnite;
    return unitesAbsentes(codes);
}

BilanImportSelections importerSelections(const QVector<LigneFichierSelection> &lignes,
                                         Progression &progression,
                                         const ReponsesImportSelections &reponses)
{
    BilanImportSelections bilan;
    progression.message(texteImportSelections::VERIF_GROUPES);
    progression.message(texteImportSelections::VERIF_SOUS_GROUPES);
    if (const QStringList u = unitesInconnuesSelections(lignes); !u.isEmpty()) {
        bilan.annule = true;
        bilan.compteRendu = abandon(
            texteImportSelections::UNITES_INCONNUES + u.join(QStringLiteral(", ")), GENRE_WARNING);
        return bilan;
    }
    Transaction transaction;
    EcritureListes ecriture;
    progression.message(texteImportSelections::INITIALISATION);
    bool ok = initialiserListes(ecriture, lignes, bilan.listes) &&
              ajouterLignes(ecriture, lignes, progression, reponses, bilan);
    if (ok) {
        progression.message(texteImportSelections::MISE_A_JOUR);
        ok = mettreAJourReferentiel();
    }
    if (!ok || !transaction.valider()) {
        transaction.annuler();
        bilan = {0, 0, bilan.echecs, true, abandon(texteImportSelections::ANNULE, GENRE_AIDE)};
        return bilan;
    }
    bilan.compteRendu = reussite(texteImportSelections::BILAN.arg(bilan.lignes).arg(bilan.listes));
    return bilan;
}

const QVector<ListeParDefaut> &listesParDefaut()
{
    // The members of the first five lists are the national definitions of these alteration
    // groups; the other lists are installed with their title only, for the users to fill. A
    // null unit is written NULL, an empty one as "".
    static const QVector<ListeParDefaut> listes = {
        {QStringLiteral("MOOX"),
         QStringLiteral("MOOX - Matières organiques et oxydables"),
         ListeParametres,
         {{"1311", "175"},
          {"1312", ""},
          {"1313", "175"},
          {"1314", "175"},
          {"1841", "163"},
          {"2035", "133"},
          {"1335", "169"},
          {"1319", "168"}}},
        {QStringLiteral("AZOT"),
         QStringLiteral("AZOT - Matières azotées hors nitrates"),
         ListeParametres,
         {{"1319", "168"}, {"1335", "169"}, {"1339", "171"}}},
        {QStringLiteral("EPRV"),
         QStringLiteral("EPRV - Effets des proliférations végétales"),
         ListeParametres,
         {{"1439", "133"}, {"1066", QString()}, {"1312", ""}, {"1302", ""}, {"2030", "175"}}},
        {QStringLiteral("NITR"),
         QStringLiteral("NITR - Nitrates"),
         ListeParametres,
         {{"1340", "173"}}},
        {QStringLiteral("PHOS"),
         QStringLiteral("PHOS - Matières phosphorées"),
         ListeParametres,
         {{"1350", "177"}, {"1433", "176"}}},
        {QStringLiteral("PEST_EAU_B"),
         QStringLiteral("PEO - Pesticides sur eau brute"),
         ListeParametres,
         {}},
        {QStringLiteral("PEST_SED"),
         QStringLiteral("PEST - Pesticides sur sédiments"),
         ListeParametres,
         {}},
        {QStringLiteral("PEST_MES"),
         QStringLiteral("PEMES - Pesticides sur MES"),
         ListeParametres,
         {}},
        {QStringLiteral("SEQ-SOUT"),
         QStringLiteral("SEQEAU - Eaux souterraines"),
         ListeParametres,
         {}},
        {QStringLiteral("SEQ-DOUCE"), QStringLiteral("SEQEAU - Eaux douce"), ListeParametres, {}},
        {QStringLiteral("XPT90-388"), QStringLiteral("Norme XPT90-388"), ListeTaxons, {}},
    };
    return listes;
}

namespace {

// Whether the built-in list must be written; EPRV lists written before parameter 1066 joined
// it are rewritten whole.
bool aInstaller(EcritureListes &e, const ListeParDefaut &l, bool &ok)
{
    if (l.code == QLatin1String("EPRV")) {
        const long avec1066 =
            bd().valeur(QStringLiteral("SELECT count(*) FROM ANALYSES_PARAMETRES_SELECTIONS "
                                       "WHERE TypeListe=0 AND code='EPRV' AND "
                                       "codeParametre='1066'"))
                .toLongLong();
        if (avec1066 > 0) return false;
        ok = e.supprimer(l.code, l.typeListe);
        return true;
    }
    InstructionPreparee existe = bd().preparer(SQL_TITRE_EXISTE);
    Tableau t;
    ok = existe.extraire(t, {l.typeListe, l.code});
    return ok && t(0, 0).toInt() == 0;
}

bool activerMembres()
{
    const QString actifAbsent = QStringLiteral(" WHERE (actif='0' or actif is null) AND ");
    return bd().Execute(QStringLiteral("UPDATE ANALYSES_PARAMETRES SET actif='1'") + actifAbsent +
                        QStringLiteral("code in (SELECT codeParametre FROM "
                                       "ANALYSES_PARAMETRES_SELECTIONS WHERE TypeListe in "
                                       "(0,2,3))")) &&
           bd().Execute(QStringLiteral("UPDATE ANALYSES_UNITES SET actif='1'") + actifAbsent +
                        QStringLiteral("code in (SELECT codeUnite FROM "
                                       "ANALYSES_PARAMETRES_SELECTIONS WHERE TypeListe in "
                                       "(0,2,3))")) &&
           bd().Execute(QStringLiteral("UPDATE TAXONS SET actif='1'") + actifAbsent +
                        QStringLiteral("codeTaxon in (SELECT codeParametre FROM "
                                       "ANALYSES_PARAMETRES_SELECTIONS WHERE TypeListe=1 AND "
                                       "code='XPT90-388')"));
}

} // namespace

int installerListesParDefaut(Progression &progression)
{
    progression.message(texteImportSelections::INTEGRATION);
    Transaction transaction;
    EcritureListes ecriture;
    const QVector<ListeParDefaut> &listes = listesParDefaut();
    int ecrites = 0;
    bool ok = true;
    for (qsizetype i = 0; ok && i < listes.size(); ++i) {
        progression.position(i, listes.size());
        const ListeParDefaut &l = listes[i];
        if (!aInstaller(ecriture, l, ok) || !ok) continue;
        ok = ecriture.initialiser(l.code, l.nom, {}, l.typeListe);
        for (const auto &[membre, unite] : l.membres)
            ok = ok && ecriture.ajouterMembre(l.code, l.typeListe, membre, unite);
        ecrites += ok ? 1 : 0;
    }
    ok = ok && activerMembres();
    if (!ok || !transaction.valider()) {
        transaction.annuler();
        return -1;
    }
    return ecrites;
}

} // namespace vyk
