// The fields of the station card: its form's pages, each field's caption and kind, and the size
// of the column that holds it.

#include "monitoring/EditionQualitometre.h"

#include "db/Dialecte.h"
#include "schema/Catalogue.h"

namespace vyk {

namespace {

// A field of a page: its column, caption and, when the column does not tell it, its kind.
struct ChampPage
{
    const char *colonne;
    const char *libelle;
    NatureChamp nature = NatureChamp::Texte;
};

constexpr NatureChamp CODE = NatureChamp::Code;
constexpr NatureChamp CASE = NatureChamp::OuiNon;
constexpr NatureChamp DATE = NatureChamp::Date;

// clang-format off
const ChampPage IDENTIFICATION[] = {
    {"typeStation", "Type de station", CODE}, {"NumeroBSS", "Code BSS"},
    {"Designation", "Désignation"}, {"Identifiant", "Identifiant"}, {"Nom", "Nom"},
    {"CodeNature", "Nature", CODE}, {"Type_qualitometre", "Type de qualitomètre", CODE},
    {"TypePointEau", "Type de point d'eau", CODE}, {"DateCreation", "Date de création", DATE},
    {"DateFermeture", "Date de fermeture", DATE},
    {"codeQualitoInter", "Identifiant international"}, {"Finalite", "Finalité"},
    {"codeEtat", "État", CODE}, {"codeQualite", "Qualité", CODE},
    {"codeRepresentativite", "Représentativité", CODE}, {"CodeContact", "Contact", CODE},
    {"confidentiel", "Confidentiel", CASE}, {"Commentaires", "Commentaires"},
};
const ChampPage LOCALISATION[] = {
    {"X", "X"}, {"Y", "Y"}, {"TypeProjection", "Projection", CODE}, {"Altitude", "Altitude"},
    {"codeCommune", "Commune", CODE}, {"codePays", "Pays", CODE}, {"adresse", "Adresse"},
    {"Localisation", "Localisation"}, {"carteIGN", "Carte IGN"},
    {"carteGeologique", "Carte géologique"}, {"parcelle", "Parcelle"}, {"section", "Section"},
    {"codeBassinVersant", "Bassin versant", CODE},
    {"codeBassinVersant2", "Bassin versant NV2", CODE},
    {"codeBassinVersant3", "Bassin versant NV3", CODE},
    {"codeBassinVersant4", "Bassin versant NV4", CODE},
};
const ChampPage HYDROGEOLOGIE[] = {
    {"Prof_Debut", "Profondeur de début"}, {"Prof_Fin", "Profondeur de fin"},
    {"Prof_Recommandee", "Profondeur recommandée"}, {"modeGisement", "Mode de gisement", CODE},
    {"CodeEntiteHydro", "Entité hydrogéologique", CODE}, {"CodeAquifere", "Aquifère", CODE},
    {"Code_ME", "Masse d'eau", CODE},
};
const ChampPage SURFACE[] = {
    {"riviere", "Rivière"}, {"pk", "Point kilométrique"}, {"pente", "Pente"},
    {"niveauTypologiqueTheo", "Niveau typologique théorique"}, {"canal", "Canal", CASE},
    {"BassinVersant_Superficie", "Superficie du bassin versant"},
    {"her_niveau1", "HER niveau 1", CODE}, {"her_niveau2", "HER niveau 2", CODE},
    {"code_hydro", "Code hydrographique", CODE}, {"rang_strahler", "Rang de Strahler", CODE},
    {"valeur_strahler", "Valeur de Strahler"}, {"type_fr", "Type FR"},
    {"codePiscicole", "Contexte piscicole", CODE},
};
// clang-format on

// The column that holds a field: the station's code for the BSS number and the identifier, the
// geographic information for the maps and the parcel.
const DefinitionColonne *colonneStockee(const QString &champ)
{
    if (champ == champFiche::NumeroBSS || champ == champFiche::Identifiant)
        return definitionTable(u"QUALITOMETRES")->colonne(u"CodeBSS");
    if (const DefinitionColonne *c = definitionTable(u"QUALITOMETRES")->colonne(champ)) return c;
    return definitionTable(u"QUALITOMETRES_INFO_GEO")->colonne(champ);
}

ChampDecrit decrire(const ChampPage &p)
{
    ChampDecrit c;
    c.colonne = QString::fromLatin1(p.colonne);
    c.libelle = QString::fromUtf8(p.libelle);
    c.nature = p.nature;
    c.liste = EditionQualitometre::champCodes(c.colonne);
    // The station's code names it; the type decides which of the two is shown.
    c.obligatoire = c.colonne == champFiche::NumeroBSS || c.colonne == champFiche::Identifiant ||
                    c.colonne == QLatin1String("typeStation");
    const DefinitionColonne *stockee = colonneStockee(c.colonne);
    if (!stockee) return c;
    c.numerique = estNumerique(stockee->type);
    if (c.nature == NatureChamp::Texte && c.numerique) c.nature = NatureChamp::Nombre;
    if (c.nature == NatureChamp::Texte) c.taille = stockee->taille;
    return c;
}

template <std::size_t N> PageFiche page(const char *titre, const ChampPage (&champs)[N])
{
    PageFiche p{QString::fromUtf8(titre), {}};
    for (const ChampPage &c : champs)
        p.champs << decrire(c);
    return p;
}

} // namespace

const QVector<PageFiche> &pagesFiche()
{
    static const QVector<PageFiche> pages = {
        page("Identification", IDENTIFICATION), page("Localisation", LOCALISATION),
        page("Hydrogéologie", HYDROGEOLOGIE), page("Eaux de surface", SURFACE)};
    return pages;
}

const ChampDecrit *champDecritFiche(const QString &champ)
{
    for (const PageFiche &p : pagesFiche())
        for (const ChampDecrit &c : p.champs)
            if (c.colonne.compare(champ, Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

} // namespace vyk
