#include "schema/Catalogue.h"

#include "db/BaseDonnees.h"
#include "db/Sql.h"
#include "schema/CatalogueDonnees.h"

#include <vector>

namespace vyk {

namespace {

using namespace typesCourts;

// Tables of the sibling modules, reduced to what this module reads: a new station copies the
// description and links of the groundwater station with the same code, the station cascade
// clears equipment placements, the rights of the groundwater module read its networks. Their
// own modules add the rest of their columns.
// clang-format off
constexpr DefinitionColonne PIEZOMETRES[] = {
    {"CodePiezometre", R}, {"CodeBSS", T, 17}, {"Nom", T, 70}, {"CodeNature", R}, {"DateCreation", D},
    {"DateFermeture", D}, {"X", R}, {"Y", R}, {"TypeProjection", R}, {"Altitude", R},
    {"Commentaires", M}, {"CodeCommune", R}, {"CodeContact", R}, {"Designation", T, 6},
    {"Localisation", M},
};
// clang-format on
constexpr DefinitionColonne LIEN_PIEZO_AQUIFERE[] = {{"CodePiezometre", R}, {"CodeAquifere", R}};
constexpr DefinitionColonne LIEN_PIEZO_ENTITE_HYDRO[] = {{"CodePiezometre", R},
                                                         {"CodeEntiteHydro", R}};
constexpr DefinitionColonne LIEN_PIEZO_LITHOLOGIES[] = {
    {"CodePiezometre", R},
    {"codeLithologie", C},
    {"Ordre", C},
    {"epaisseur", R},
};
constexpr DefinitionColonne LIEN_PIEZO_MASSE_EAU[] = {
    {"CodePiezometre", R}, {"Code_ME", T, 24}, {"Type", R}};
constexpr DefinitionColonne LIEN_PIEZO_RESEAUX[] = {
    {"CodePiezometre", R},
    {"CodeReseau", C},
    {"DateDebut", D},
    {"DateFin", D},
};
constexpr DefinitionColonne EVENEMENTS[] = {
    {"CodePiezometre", R}, {"Numero", C}, {"DateEvenement", D}};
constexpr DefinitionColonne MAT_CAPTEURS_SITUATIONS[] = {
    {"CodeCapteur", R}, {"codeSite", R}, {"TypeSite", C}, {"DateDebut", D}, {"DateFin", D},
};
constexpr DefinitionColonne MAT_CENTRALES_SITUATIONS[] = {
    {"CodeCentrale", R}, {"codeSite", R}, {"TypeSite", C}, {"DateDebut", D}, {"DateFin", D},
};

// clang-format off
constexpr DefinitionTable TABLES_VOISINES[] = {
    {"PIEZOMETRES", PIEZOMETRES},
    {"LIEN_PIEZO_AQUIFERE", LIEN_PIEZO_AQUIFERE},
    {"LIEN_PIEZO_ENTITE_HYDRO", LIEN_PIEZO_ENTITE_HYDRO},
    {"LIEN_PIEZO_LITHOLOGIES", LIEN_PIEZO_LITHOLOGIES},
    {"LIEN_PIEZO_MASSE_EAU", LIEN_PIEZO_MASSE_EAU},
    {"LIEN_PIEZO_RESEAUX", LIEN_PIEZO_RESEAUX},
    {"EVENEMENTS", EVENEMENTS},
    {"MAT_CAPTEURS_SITUATIONS", MAT_CAPTEURS_SITUATIONS},
    {"MAT_CENTRALES_SITUATIONS", MAT_CENTRALES_SITUATIONS},
};
// clang-format on

// clang-format off
constexpr DefinitionIndex INDEX[] = {
    {"ind_qualitometres", "qualitometres", "codeQualitometre"},
    {"ind_qualitometres2", "qualitometres", "codeBSS"},
    {"ind_prelevements", "prelevements", "numprelevement, codequalitometre"},
    {"ind_prelevements2", "prelevements", "codequalitometre, dateDebut"},
    {"ind_qualito_points", "qualitometres_points", "codequalitometre, identifiant, datedebut"},
    {"ind_qualito_points_op", "qualitometres_points_operations", "codequalitometre, codepoint, datedebut"},
    // Samples reach their operation by (station, operation): analyses, follow-up table, searches.
    {"ind_qualito_points_op2", "qualitometres_points_operations", "codequalitometre, codeoperation"},
    // Index results are replaced per operation (delete, next indice, insert).
    {"ind_qualito_op_resultats", "qualitometres_operations_resultats", "codequalitometre, codeoperation"},
    {"ind_analyses_parametres", "analyses_parametres", "code"},
    {"ind_analyses_unites", "analyses_unites", "code"},
    {"ind_intervenants", "intervenants", "codeintervenant"},
    {"ind_intervenants2", "intervenants", "siret"},
    {"ind_codes_sandre", "Codes_Sandre", "champ, code"},
    {"ind_communes", "communes", "codecommune"},
    {"ind_contacts", "contacts", "codecontact"},
    {"ind_masses_eaux", "masses_eaux", "type, code_me"},
    {"ind_evt_qualito", "evenements_qualito", "codequalitometre, numero"},
    // The station list and its views look up each station's links.
    {"ind_lien_qualito_reseaux", "lien_qualito_reseaux", "codequalitometre, datedebut"},
    {"ind_lien_qualito_intervenants", "lien_qualito_intervenants", "codequalitometre, typeintervenant"},
    {"ind_lien_qualito_masse_eau", "lien_qualito_masse_eau", "codequalitometre"},
    {"ind_lien_qualito_aquifere", "lien_qualito_aquifere", "codequalitometre"},
    {"ind_dossier", "PRELEVEMENTS_DOSSIERS", "ReferenceLabo, CodeLabo"},
    {"ind_journal", "journal", "dateEvt"},
    {"PK_CODES_SANDRE", "CODES_SANDRE", "Champ, Code", true},
    // Taxa are found by code for every record, list line and imported row.
    {"ind_taxons", "taxons", "codeTaxon"},
    // One taxon per code and one account per login, whatever two workstations do at once.
    {"ux_taxons_code", "taxons", "codeTaxon", true},
    {"ux_utilisateurs_login", "utilisateurs", "login", true},
    {"ind_piezometres", "piezometres", "codePiezometre"},
    {"ind_piezometres2", "piezometres", "codeBSS"},
    {"ind_evt", "evenements", "codepiezometre, numero"},
};
// clang-format on

} // namespace

std::span<const DefinitionTable> tablesVoisines()
{
    return TABLES_VOISINES;
}

std::span<const DefinitionTable> catalogueTables()
{
    static const std::vector<DefinitionTable> tables = [] {
        std::vector<DefinitionTable> t;
        for (const auto partie : {tablesQualite(), tablesReferentiels(), tablesVoisines()})
            t.insert(t.end(), partie.begin(), partie.end());
        return t;
    }();
    return tables;
}

const DefinitionTable *definitionTable(QStringView nom)
{
    for (const DefinitionTable &t : catalogueTables())
        if (nom.compare(QLatin1String(t.nom), Qt::CaseInsensitive) == 0) return &t;
    return nullptr;
}

int tailleTexte(QStringView table, QStringView colonne)
{
    const DefinitionTable *t = definitionTable(table);
    const DefinitionColonne *c = t ? t->colonne(colonne) : nullptr;
    return c && c->type == TypeNeutre::Texte ? c->taille : 0;
}

std::span<const DefinitionIndex> catalogueIndex()
{
    return INDEX;
}

QStringList DefinitionTable::nomsColonnes() const
{
    QStringList noms;
    for (const DefinitionColonne &c : colonnes)
        if (!c.obsolete) noms << QLatin1String(c.nom);
    return noms;
}

const DefinitionColonne *DefinitionTable::colonne(QStringView nomColonne) const
{
    for (const DefinitionColonne &c : colonnes)
        if (nomColonne.compare(QLatin1String(c.nom), Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

bool DefinitionTable::aColonneAuto() const
{
    for (const DefinitionColonne &c : colonnes)
        if (c.type == TypeNeutre::Auto) return true;
    return false;
}

QString motTypeBureau(TypeNeutre type, int taille)
{
    switch (type) {
    case TypeNeutre::Texte:
        return QStringLiteral("Text(") + QString::number(taille) + u')';
    case TypeNeutre::Court:
        return QStringLiteral("Short");
    case TypeNeutre::Long:
        return QStringLiteral("Long");
    case TypeNeutre::Reel:
        return QStringLiteral("Double");
    case TypeNeutre::DateHeure:
        return QStringLiteral("DateTime");
    case TypeNeutre::Memo:
        return QStringLiteral("Memo");
    case TypeNeutre::OuiNon:
        return QStringLiteral("YESNO");
    case TypeNeutre::Auto:
        return QStringLiteral("AUTOINCREMENT");
    }
    return {};
}

QString sqlColonne(const DefinitionColonne &colonne, bool avecNonNul)
{
    QString s = QLatin1String(colonne.nom) + u' ' + motTypeBureau(colonne.type, colonne.taille);
    if (avecNonNul && colonne.nonNul) s += QStringLiteral(" NOT NULL");
    return s;
}

QString sqlCreationTable(const DefinitionTable &table, const QString &nom)
{
    QString sql = QStringLiteral("CREATE TABLE ") +
                  (nom.isEmpty() ? QString::fromLatin1(table.nom) : nom) + QStringLiteral(" (");
    bool premiere = true;
    for (const DefinitionColonne &c : table.colonnes) {
        if (c.obsolete) continue;
        if (!premiere) sql += QStringLiteral(", ");
        premiere = false;
        sql += sqlColonne(c);
    }
    return sql + u')';
}

QString sqlAjoutColonne(const QString &table, const DefinitionColonne &colonne)
{
    // NOT NULL cannot be added to a table that already holds rows.
    return QStringLiteral("ALTER TABLE ") + table + QStringLiteral(" ADD COLUMN ") +
           sqlColonne(colonne, false);
}

QString sqlCreationIndex(const DefinitionIndex &index)
{
    return (index.unique ? QStringLiteral("CREATE UNIQUE INDEX ")
                         : QStringLiteral("CREATE INDEX ")) +
           QLatin1String(index.nom) + QStringLiteral(" ON ") + QLatin1String(index.table) +
           QStringLiteral(" (") + QLatin1String(index.colonnes) + u')';
}

QStringList sqlCreationCatalogue()
{
    QStringList sql;
    for (const DefinitionTable &t : catalogueTables())
        sql << sqlCreationTable(t);
    for (const DefinitionIndex &i : catalogueIndex())
        sql << sqlCreationIndex(i);
    return sql;
}

QString sqlCreationTableAnalyses(const QString &codeBSS, QString *erreur)
{
    const QString nom = identifiantTable(PREFIXE_ANALYSES, codeBSS, erreur);
    return nom.isEmpty() ? QString() : sqlCreationTable(definitionAnalyses(), nom);
}

QString sqlIndexTableAnalyses(const QString &codeBSS, QString *erreur)
{
    const QString table = identifiantTable(PREFIXE_ANALYSES, codeBSS, erreur);
    const QString index =
        table.isEmpty() ? QString() : identifiantTable(PREFIXE_INDEX_ANALYSES, codeBSS, erreur);
    if (index.isEmpty()) return {};
    return QStringLiteral("CREATE INDEX ") + index + QStringLiteral(" ON ") + table +
           QStringLiteral(" (codeQualitometre,numPrelevement,codeParametre,codeUnite)");
}

QString sqlCreationTableListeTaxons(const QString &codeQualitometre, QString *erreur)
{
    const QString nom = identifiantTable(PREFIXE_LISTE_TAXONS, codeQualitometre, erreur);
    return nom.isEmpty() ? QString() : sqlCreationTable(definitionListeTaxons(), nom);
}

QStringList sqlColonnesAjouteesListeTaxons(const QString &codeQualitometre)
{
    QStringList sql;
    const QString nom = identifiantTable(PREFIXE_LISTE_TAXONS, codeQualitometre);
    if (nom.isEmpty()) return sql;
    const auto colonnes = definitionListeTaxons().colonnes;
    for (size_t i = NB_COLONNES_INITIALES_LISTE; i < colonnes.size(); ++i)
        sql << QStringLiteral("Alter table ") + nom + QStringLiteral(" add column ") +
                   sqlColonne(colonnes[i]);
    return sql;
}

QString conditionCodeCommune(const QString &colonneNumerique, const QString &colonneTexte)
{
    // The desktop engine compares a number column with a text column as numbers already, and
    // can then use the index of the commune code.
    if (bd().typeBase() == ACCESS || bd().typeBase().isEmpty())
        return colonneNumerique + QStringLiteral(" = ") + colonneTexte;
    return colonneNumerique + QStringLiteral(" = iif(isnumeric(") + colonneTexte +
           QStringLiteral("), cdbl(") + colonneTexte + QStringLiteral("), null)");
}

} // namespace vyk
