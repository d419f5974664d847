#include "search/Selections.h"

#include "db/BaseDonnees.h"
#include "db/InstructionPreparee.h"
#include "db/Lot.h"
#include "db/Sql.h"

namespace vyk {

namespace {

// Column sizes of the two tables.
constexpr int TAILLE_CODE = 17;
constexpr int TAILLE_NOM = 255;
constexpr int TAILLE_UNITE = 5;

QString typeSql(int type)
{
    return QString::number(type);
}

// "typeListe=t AND code='c'", the key of a list in both tables.
QString cleListe(int type, const QString &code)
{
    return QStringLiteral("TypeListe=") + typeSql(type) + QStringLiteral(" AND code=") +
           sqlTexte(code);
}

QVector<TitreSelection> lireTitres(const QString &filtre)
{
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT DISTINCT T.typeListe, T.code, T.nom, T.codeParent, P.nom, "
                       "T.defaut FROM ANALYSES_PARAMETRES_SELECTIONS_TITRE T LEFT JOIN "
                       "ANALYSES_PARAMETRES_SELECTIONS_TITRE P ON (T.codeParent=P.code AND "
                       "T.typeListe=P.typeListe) WHERE ") +
        filtre + QStringLiteral(" ORDER BY T.typeListe, T.nom, T.code"));
    QVector<TitreSelection> titres;
    for (int i = 0; i < t.nbLignes(); ++i)
        titres.append({t.texte(i, 1), t.texte(i, 2), t(i, 0).toInt(), t.texte(i, 3), t.texte(i, 4),
                       t.texte(i, 5) == QLatin1String("X")});
    return titres;
}

QString trop(const QString &champ, int taille)
{
    return texteSelections::TROP_LONG.arg(champ).arg(taille);
}

// The first fault of the form or of a line, "" when none.
QString defautSelection(const FicheSelection &f, const QVector<LigneGrilleSelection> &lignes)
{
    if (libelleTypeListe(f.typeListe).isEmpty()) return texteSelections::TYPE_ABSENT;
    if (f.code.trimmed().isEmpty()) return texteSelections::CODE_ABSENT;
    if (f.nom.trimmed().isEmpty()) return texteSelections::LIBELLE_ABSENT;
    if (f.code.trimmed().size() > TAILLE_CODE)
        return trop(QStringLiteral("Le code de la sélection"), TAILLE_CODE);
    if (f.nom.trimmed().size() > TAILLE_NOM)
        return trop(QStringLiteral("Le libellé de la sélection"), TAILLE_NOM);
    const int taille = longueurCodeMembre(f.typeListe);
    int n = 0;
    for (const LigneGrilleSelection &l : lignes) {
        const QString membre = codeDeCellule(l.membre);
        if (membre.isEmpty()) continue;
        ++n;
        if (membre.size() > taille)
            return texteSelections::CODE_LIGNE_TROP_LONG.arg(membre).arg(n).arg(taille);
        const QString unite = codeDeCellule(l.unite);
        if (typeListeAvecUnite(f.typeListe) && unite.size() > TAILLE_UNITE)
            return texteSelections::CODE_LIGNE_TROP_LONG.arg(unite).arg(n).arg(TAILLE_UNITE);
    }
    const QString parent = f.codeParent.trimmed();
    if (parent.isEmpty()) return {};
    for (const TitreSelection &p : parentsPossibles(f.typeListe, f.code.trimmed()))
        if (p.code == parent) return {};
    return texteSelections::PARENT_INCONNU;
}

bool ecrireTitre(const FicheSelection &f, const QString &code)
{
    if (f.defaut && !bd().Execute(QStringLiteral("UPDATE ANALYSES_PARAMETRES_SELECTIONS_TITRE SET "
                                                 "defaut='' WHERE TypeListe=") +
                                  typeSql(f.typeListe)))
        return false;
    InstructionPreparee ajout = bd().preparer(
        QStringLiteral("INSERT INTO ANALYSES_PARAMETRES_SELECTIONS_TITRE (Code, Nom, TypeListe, "
                       "codeParent, defaut) VALUES (?, ?, ?, ?, ?)"));
    const QString parent = f.codeParent.trimmed();
    return ajout.executer({code, f.nom.trimmed(), f.typeListe,
                           parent.isEmpty() ? QVariant() : QVariant(parent),
                           f.defaut ? QStringLiteral("X") : QStringLiteral("")});
}

bool ecrireMembres(const FicheSelection &f, const QString &code,
                   const QVector<LigneGrilleSelection> &lignes)
{
    InstructionPreparee ajout = bd().preparer(
        QStringLiteral("INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, "
                       "CodeParametre, CodeUnite, TypeListe) VALUES (?, ?, ?, ?, ?)"));
    int n = 0;
    for (const LigneGrilleSelection &l : lignes) {
        const QString membre = codeDeCellule(l.membre);
        if (membre.isEmpty()) continue;
        const QString unite = typeListeAvecUnite(f.typeListe) ? codeDeCellule(l.unite) : QString();
        // An absent unit is stored empty, as the lists have always held it.
        const QString stockee = unite.isEmpty() ? QStringLiteral("") : unite;
        if (!ajout.executer({code, ++n, membre, stockee, f.typeListe})) return false;
    }
    return true;
}

bool supprimerListe(int type, const QString &code)
{
    return bd().Execute(QStringLiteral("DELETE FROM ANALYSES_PARAMETRES_SELECTIONS WHERE ") +
                        cleListe(type, code)) &&
           bd().Execute(QStringLiteral("DELETE FROM ANALYSES_PARAMETRES_SELECTIONS_TITRE WHERE ") +
                        cleListe(type, code));
}

bool traiterSousListes(int type, const QString &code, bool supprimer)
{
    const QString sousListes = QStringLiteral(" WHERE TypeListe=") + typeSql(type) +
                               QStringLiteral(" AND codeParent=") + sqlTexte(code);
    if (!supprimer)
        return bd().Execute(
            QStringLiteral("UPDATE ANALYSES_PARAMETRES_SELECTIONS_TITRE SET codeParent=null") +
            sousListes);
    return bd().Execute(QStringLiteral("DELETE FROM ANALYSES_PARAMETRES_SELECTIONS WHERE "
                                       "TypeListe=") +
                        typeSql(type) +
                        QStringLiteral(" AND code in (SELECT code FROM "
                                       "ANALYSES_PARAMETRES_SELECTIONS_TITRE") +
                        sousListes + u')') &&
           bd().Execute(QStringLiteral("DELETE FROM ANALYSES_PARAMETRES_SELECTIONS_TITRE") +
                        sousListes);
}

} // namespace

QString libelleTypeListe(int type)
{
    static const QString libelles[NB_TYPES_LISTE] = {
        QStringLiteral("Paramètres physico-chimiques"), QStringLiteral("Taxons"),
        QStringLiteral("Indices"), QStringLiteral("Paramètres environnementaux"),
        QStringLiteral("Etats")};
    return type >= 0 && type < NB_TYPES_LISTE ? libelles[type] : QString();
}

bool typeListeAvecUnite(int type)
{
    return type == ListeParametres || type == ListeIndices;
}

int longueurCodeMembre(int type)
{
    // Parameters are coded on 5 characters, taxa and states on the column's 6.
    return type == ListeTaxons || type == ListeEtats ? 6 : 5;
}

QVector<MembreSelection> membresSelection(const QString &code, int typeListe)
{
    return membresSelections({code}, typeListe);
}

QStringList codesAvecSousListes(const QString &code, int typeListe)
{
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT code FROM ANALYSES_PARAMETRES_SELECTIONS_TITRE WHERE TypeListe=") +
        typeSql(typeListe) + QStringLiteral(" AND codeParent=") + sqlTexte(code) +
        QStringLiteral(" ORDER BY code"));
    QStringList codes{code};
    for (int i = 0; i < t.nbLignes(); ++i)
        codes << t.texte(i, 0);
    return codes;
}

QVector<MembreSelection> membresSelections(const QStringList &codes, int typeListe)
{
    InstructionPreparee lecture = bd().preparer(
        QStringLiteral("SELECT num, codeParametre, codeUnite FROM ANALYSES_PARAMETRES_SELECTIONS "
                       "WHERE TypeListe=? AND code=? ORDER BY num ASC"));
    QVector<MembreSelection> membres;
    for (const QString &code : codes) {
        Tableau t;
        if (!lecture.extraire(t, {typeListe, code})) continue;
        for (int i = 0; i < t.nbLignes(); ++i)
            membres.append({t(i, 0).toInt(), t.texte(i, 1), t.texte(i, 2)});
    }
    return membres;
}

QVector<TitreSelection> titresSelections(bool physicoChimie, bool hydrobiologie)
{
    QStringList types;
    if (physicoChimie) types << QStringLiteral("T.typeListe=0");
    if (hydrobiologie) types << QStringLiteral("T.typeListe=1 or T.typeListe=2");
    types << QStringLiteral("T.typeListe=3") << QStringLiteral("T.typeListe=4");
    return lireTitres(u'(' + types.join(QStringLiteral(" or ")) + u')');
}

std::optional<TitreSelection> titreSelection(const QString &code, int typeListe)
{
    const QVector<TitreSelection> t =
        lireTitres(QStringLiteral("T.typeListe=") + typeSql(typeListe) +
                   QStringLiteral(" AND T.code=") + sqlTexte(code));
    if (t.isEmpty()) return std::nullopt;
    return t.first();
}

std::optional<TitreSelection> selectionParDefaut(int typeListe)
{
    const QVector<TitreSelection> t = lireTitres(
        QStringLiteral("T.typeListe=") + typeSql(typeListe) + QStringLiteral(" AND T.defaut='X'"));
    if (t.isEmpty()) return std::nullopt;
    return t.first();
}

QVector<TitreSelection> parentsPossibles(int typeListe, const QString &code)
{
    return lireTitres(QStringLiteral("T.typeListe=") + typeSql(typeListe) +
                      QStringLiteral(" AND T.code<>") + sqlTexte(code) +
                      QStringLiteral(" AND (T.codeParent is null OR T.codeParent='')"));
}

namespace {

EntreesCodees entrees(const QString &sql)
{
    const Tableau t = bd().extraire(sql);
    EntreesCodees e;
    for (int i = 0; i < t.nbLignes(); ++i)
        e.append({t.texte(i, 1), t.texte(i, 0), 0});
    return e;
}

QString parametresDuType(const QString &types, bool sansCodification)
{
    return QStringLiteral("SELECT Nom, Code FROM ANALYSES_PARAMETRES WHERE actif='1' AND (Type is "
                          "null or Type in (") +
           types + QStringLiteral("))") +
           (sansCodification ? QStringLiteral(" AND (CodificationSubstanceChimique is null or "
                                              "CodificationSubstanceChimique='')")
                             : QString()) +
           QStringLiteral(" ORDER BY Nom ASC");
}

} // namespace

EntreesCodees choixMembres(int typeListe)
{
    switch (typeListe) {
    case ListeParametres:
        return entrees(parametresDuType(QStringLiteral("'','1','0','2'"), false));
    case ListeTaxons:
        return entrees(QStringLiteral("SELECT NomLatin, CodeTaxon FROM Taxons WHERE actif='1' and "
                                      "codeTaxon is not null ORDER BY NomLatin asc"));
    case ListeIndices:
        return entrees(parametresDuType(QStringLiteral("'','4'"), true));
    case ListeEnvironnement:
        return entrees(parametresDuType(QStringLiteral("'','3'"), true));
    case ListeEtats:
        return entrees(QStringLiteral("SELECT Libelle, CodeEtat FROM ETATS ORDER BY Libelle ASC"));
    default:
        return {};
    }
}

EntreesCodees choixUnites()
{
    return entrees(QStringLiteral("SELECT Nom, Code FROM Analyses_Unites WHERE actif='1' ORDER BY "
                                  "Nom asc"));
}

QString codeDeCellule(const QString &texte)
{
    const qsizetype ouvrant = texte.lastIndexOf(u'[');
    if (ouvrant < 0) return texte.trimmed();
    const qsizetype fermant = texte.indexOf(u']', ouvrant);
    return texte.mid(ouvrant + 1, fermant < 0 ? -1 : fermant - ouvrant - 1).trimmed();
}

CompteRendu enregistrerSelection(const FicheSelection &fiche,
                                 const QVector<LigneGrilleSelection> &lignes)
{
    if (const QString m = defautSelection(fiche, lignes); !m.isEmpty()) return echec(m);
    const QString code = fiche.code.trimmed();
    Transaction transaction;
    const bool ok = supprimerListe(fiche.typeListe, code) && ecrireTitre(fiche, code) &&
                    ecrireMembres(fiche, code, lignes);
    return conclureTransaction(
        transaction, ok, [](const QString &e) { return texteSelections::ECHEC.arg(e); },
        texteSelections::ENREGISTREE);
}

CompteRendu supprimerSelection(int typeListe, const QString &code, const Confirmation &confirmer)
{
    if (!confirmer(texteSelections::CONFIRMER_SUPPRESSION)) return {};
    const long nbSousListes =
        bd().valeur(QStringLiteral("SELECT count(*) FROM ANALYSES_PARAMETRES_SELECTIONS_TITRE "
                                   "WHERE TypeListe=") +
                    typeSql(typeListe) + QStringLiteral(" AND codeParent=") + sqlTexte(code))
            .toLongLong();
    const bool avecSousListes =
        nbSousListes > 0 && confirmer(texteSelections::SUPPRIMER_SOUS_LISTES);
    Transaction transaction;
    const bool ok = supprimerListe(typeListe, code) &&
                    (nbSousListes == 0 || traiterSousListes(typeListe, code, avecSousListes));
    return conclureTransaction(
        transaction, ok, [](const QString &e) { return texteSelections::ECHEC_SUPPRESSION.arg(e); },
        texteSelections::SUPPRIMEE);
}

} // namespace vyk
