// The five analysis referentials as their list screens show them: fields, grid columns and
// texts, in one place.

#include "referentials/ModeleReferentielAnalyses.h"

namespace vyk {

namespace {

using G = NatureChamp;

const QString SOURCE_UNITES =
    QStringLiteral("SELECT Symbole, Code FROM Analyses_Unites ORDER BY Symbole");
const QString SOURCE_SUPPORTS =
    QStringLiteral("SELECT Nom, Code FROM Analyses_Supports ORDER BY Nom");
const QString SOURCE_FRACTIONS =
    QStringLiteral("SELECT Nom, Code FROM Analyses_Fractions ORDER BY Nom");

ChampReferentiel texte(const char *colonne, const char *libelle, int taille,
                       const char *entete = "")
{
    return {QString::fromUtf8(colonne),
            QString::fromUtf8(libelle),
            G::Texte,
            taille,
            QString::fromUtf8(entete),
            {},
            {}};
}
ChampReferentiel memo(const char *colonne, const char *libelle)
{
    return {QString::fromUtf8(colonne), QString::fromUtf8(libelle), G::Memo, 0, {}, {}, {}};
}
ChampReferentiel genre(const char *colonne, const char *libelle, G g, const char *entete = "")
{
    return {QString::fromUtf8(colonne),
            QString::fromUtf8(libelle),
            g,
            0,
            QString::fromUtf8(entete),
            {},
            {}};
}
ChampReferentiel liste(const char *colonne, const char *libelle, const QString &source,
                       const char *entete = "")
{
    return {QString::fromUtf8(colonne),
            QString::fromUtf8(libelle),
            G::Code,
            5,
            QString::fromUtf8(entete),
            source,
            {}};
}

ChampReferentiel statut()
{
    ChampReferentiel c = genre("Statut", "Statut", G::Code, "Statut");
    c.statut = true;
    return c;
}

// Fields every referential has, after its own.
QVector<ChampReferentiel> champsCommuns()
{
    return {genre("DateCreation", "Date de création", G::Date, "Date création"),
            genre("DateModification", "Date de modification", G::Date, "Date Modif"),
            texte("Auteur", "Auteur", 50)};
}

DescriptionReferentiel parametres()
{
    DescriptionReferentiel d{
        Referentiel::Parametre,
        QStringLiteral("ANALYSES_PARAMETRES"),
        QStringLiteral("Paramètres"),
        QStringLiteral("Liste_des_Parametres"),
        QStringLiteral("ListeParametres"),
        QStringLiteral("Renseignez le code du paramètre."),
        QStringLiteral("Enregistrement de la fiche du paramètre terminé."),
        QStringLiteral("Le paramètre a été supprimé."),
        QStringLiteral("Voulez vous supprimer le paramètre %1 ?"),
        QStringLiteral("Voulez vous purger tous les paramètres non utilisés ?"),
        QStringLiteral("L'opération a été annulée. Aucun paramètre n'a été supprimé"),
        QStringLiteral("Les paramètres ont été supprimés."),
        QStringLiteral("Purger les paramètres non utilisés"),
        {}};
    ChampReferentiel type = genre("Type", "Nature", G::Code, "Type");
    type.entrees = {{QStringLiteral("0"), QStringLiteral("Quantitatif")},
                    {QStringLiteral("1"), QStringLiteral("Qualitatif")}};
    type.taille = 1;
    d.champs = {
        texte("Code", "Code", 5, "Code"),
        texte("Nom", "Nom", 255, "Nom"),
        texte("LibelleCourt", "Libellé court", 10),
        texte("LibelleLong", "Libellé long", 25, "Libellé long"),
        texte("NomInternational", "Nom international", 255),
        statut(),
        type,
        texte("Nature", "Code Nature", 1),
        texte("codeCAS", "Code CAS", 20, "Code CAS"),
        texte("CodificationSubstanceChimique", "Codification substance chimique", 255),
        liste("UniteReference1", "Unité de référence 1", SOURCE_UNITES, "Unité réf. 1"),
        liste("UniteReference2", "Unité de référence 2", SOURCE_UNITES),
        liste("UniteReference3", "Unité de référence 3", SOURCE_UNITES),
        texte("codesInternes", "Codes internes (séparés par des virgules)", 255, "Codes internes"),
        liste("codeSupportDefault", "Support par défaut", SOURCE_SUPPORTS),
        liste("codeFraction", "Fraction par défaut", SOURCE_FRACTIONS),
        genre("Calcule", "Paramètre Calculé", G::OuiNon),
        texte("codeParametresCalcul", "Paramètres de calcul", 0),
        memo("Definition", "Définition"),
        memo("Reference", "Références"),
        memo("Commentaires", "Commentaires")};
    d.champs += champsCommuns();
    d.champs << genre("Actif", "Utilisé par des données (actif)", G::OuiNon, "Actif");
    return d;
}

DescriptionReferentiel unites()
{
    DescriptionReferentiel d{
        Referentiel::Unite,
        QStringLiteral("ANALYSES_UNITES"),
        QStringLiteral("Unités"),
        QStringLiteral("Liste_des_Unites"),
        QStringLiteral("ListeUnites"),
        QStringLiteral("Renseignez le code de l'unité."),
        QStringLiteral("Enregistrement de la fiche de l'unité terminé."),
        QStringLiteral("L'unité a été supprimée."),
        QStringLiteral("Voulez vous supprimer l'unité %1 ?"),
        QStringLiteral("Voulez vous purger toutes les unités non utilisées ?"),
        QStringLiteral("L'opération a été annulée. Aucune unité n'a été supprimée"),
        QStringLiteral("Les unités ont été supprimées."),
        QStringLiteral("Purger les unités non utilisées"),
        {}};
    d.champs = {texte("Code", "Code", 5, "Code"),
                texte("Symbole", "Symbole", 255, "Symbole"),
                texte("Nom", "Nom", 255, "Nom"),
                texte("NomInternational", "Nom international", 255),
                statut(),
                texte("codesInternes", "Codes internes (séparés par des points-virgules)", 0,
                      "Codes internes"),
                memo("Commentaires", "Commentaires")};
    d.champs += champsCommuns();
    d.champs << genre("Actif", "Utilisée par des données (active)", G::OuiNon, "Actif");
    return d;
}

DescriptionReferentiel methodes()
{
    DescriptionReferentiel d{
        Referentiel::Methode,
        QStringLiteral("METHODES"),
        QStringLiteral("Méthodes"),
        QStringLiteral("Liste_des_Methodes"),
        QStringLiteral("ListeMethodes"),
        QStringLiteral("Renseignez le code de la méthode."),
        QStringLiteral("Enregistrement de la fiche de la méthode terminé."),
        QStringLiteral("La méthode a été supprimée."),
        QStringLiteral("Voulez vous supprimer la méthode %1 ?"),
        QStringLiteral("Voulez vous purger toutes les méthodes non utilisées ?"),
        QStringLiteral("L'opération a été annulée. Aucune méthode n'a été supprimée"),
        QStringLiteral("Les méthodes ont été supprimées."),
        QStringLiteral("Purger les méthodes non utilisées"),
        {}};
    d.champs = {texte("Code", "Code", 5, "Code"),
                texte("Nom", "Nom", 255, "Nom"),
                texte("LibelleLong", "Libellé long", 25, "Libellé long"),
                texte("NomInternational", "Nom international", 255),
                statut(),
                memo("Reference", "Références"),
                memo("Commentaires", "Commentaires")};
    d.champs += champsCommuns();
    d.champs << genre("Actif", "Utilisée par des données (active)", G::OuiNon, "Actif");
    return d;
}

DescriptionReferentiel fractions()
{
    DescriptionReferentiel d{Referentiel::Fraction,
                             QStringLiteral("ANALYSES_FRACTIONS"),
                             QStringLiteral("Fractions analysées"),
                             QStringLiteral("Liste_des_Fractions"),
                             QStringLiteral("ListeFractions"),
                             QStringLiteral("Renseignez le code de la fraction."),
                             QStringLiteral("Enregistrement de la fiche de la fraction terminé."),
                             QStringLiteral("La fraction a été supprimée."),
                             QStringLiteral("Voulez vous supprimer la fraction %1 ?"),
                             {},
                             {},
                             {},
                             {},
                             {}};
    d.champs = {texte("Code", "Code", 5, "Code"),
                texte("Nom", "Nom", 255, "Nom"),
                texte("NomInternational", "Nom international", 255),
                statut(),
                texte("Nature", "Nature", 1),
                liste("CodeSupport", "Support", SOURCE_SUPPORTS, "Support"),
                memo("Commentaires", "Commentaires")};
    d.champs += champsCommuns();
    return d;
}

DescriptionReferentiel supports()
{
    DescriptionReferentiel d{Referentiel::Support,
                             QStringLiteral("ANALYSES_SUPPORTS"),
                             QStringLiteral("Supports"),
                             QStringLiteral("Liste_des_Supports"),
                             QStringLiteral("ListeSupports"),
                             QStringLiteral("Renseignez le code du support."),
                             QStringLiteral("Enregistrement de la fiche du support terminé."),
                             QStringLiteral("Le support a été supprimé."),
                             QStringLiteral("Voulez vous supprimer le support %1 ?"),
                             {},
                             {},
                             {},
                             {},
                             {}};
    d.champs = {texte("Code", "Code", 5, "Code"), texte("Nom", "Nom", 255, "Nom"),
                texte("NomInternational", "Nom international", 255), statut(),
                memo("Commentaires", "Commentaires")};
    d.champs += champsCommuns();
    return d;
}

} // namespace

const ChampReferentiel *DescriptionReferentiel::champ(const QString &colonne) const
{
    for (const ChampReferentiel &c : champs)
        if (c.colonne.compare(colonne, Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

const DescriptionReferentiel &descriptionReferentiel(Referentiel referentiel)
{
    static const DescriptionReferentiel d[] = {parametres(), unites(), methodes(), fractions(),
                                               supports()};
    return d[int(referentiel)];
}

} // namespace vyk
