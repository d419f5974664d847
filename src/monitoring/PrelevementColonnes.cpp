// The columns of the sample card: its fields and its four grids, described once.

#include "monitoring/Prelevement.h"

#include "schema/Catalogue.h"

namespace vyk {

namespace {

using G = NatureChamp;

const QString INTERVENANTS =
    QStringLiteral("SELECT Nom, codeIntervenant FROM Intervenants ORDER BY Nom ASC");
const QString METHODES =
    QStringLiteral("SELECT Nom, code FROM Methodes WHERE Actif='1' ORDER BY Nom ASC");
const QString SUPPORTS = QStringLiteral("SELECT Nom, code FROM Analyses_Supports ORDER BY Nom ASC");
const QString FRACTIONS =
    QStringLiteral("SELECT Nom, code FROM Analyses_Fractions ORDER BY Nom ASC");
const QString UNITES =
    QStringLiteral("SELECT Symbole, Code FROM Analyses_Unites WHERE Actif='1' ORDER BY Nom asc");
const QString PARAMETRES =
    QStringLiteral("SELECT Nom, Code FROM Analyses_Parametres ORDER BY Nom ASC");
const QString FINALITES =
    QStringLiteral("SELECT Libelle, Code FROM Finalites ORDER BY Libelle ASC");

ColonneGrille c(const char *colonne, const char *titre, G nature, int taille = 0,
                const QString &liste = {}, bool detail = false)
{
    ColonneGrille r;
    r.colonne = QString::fromUtf8(colonne);
    r.libelle = QString::fromUtf8(titre);
    r.nature = nature;
    r.taille = taille;
    r.liste = liste;
    r.detail = detail;
    return r;
}

QVector<ColonneGrille> completees(QVector<ColonneGrille> colonnes, const DefinitionTable *table)
{
    completerColonnes(colonnes, table, false);
    return colonnes;
}

} // namespace

const QVector<ColonneGrille> &champsPrelevement()
{
    static const QVector<ColonneGrille> r = completees(
        {
            c("DateDebut", "Date", G::Date),
            c("HeureDebut", "Heure", G::Heure),
            c("codeOperation", "Opération", G::Nombre),
            c("CodeProducteurPrincipal", "Producteur", G::Code, 0, INTERVENANTS),
            c("ReferenceProducteurPrincipal", "Référence producteur", G::Texte, 100),
            c("CodeLaboPrincipal", "Laboratoire", G::Code, 0, INTERVENANTS),
            c("NumLaboPrincipal", "Numéro d'analyse du laboratoire", G::Texte, 20),
            c("ReferenceLaboPrincipal", "Référence laboratoire", G::Texte, 100),
            c("Accreditation", "Accréditation", G::OuiNon),
            c("CodeLieuPrincipal", "Lieu d'analyse", G::Code, 1, QStringLiteral("ANALYSES.LIEU")),
            c("CodeDifficultePrincipal", "Difficulté", G::Code, 1,
              QStringLiteral("ANALYSES.DIFFICULTE")),
            c("CodeSupportPrincipal", "Support", G::Code, 3, SUPPORTS),
            c("CodeFractionPrincipal", "Fraction", G::Code, 3, FRACTIONS),
            c("CodeMethodeFractionPrincipal", "Méthode de fractionnement", G::Code, 5, METHODES),
            c("Representativite", "Représentativité", G::Code, 0,
              QStringLiteral("ANALYSES.REPRESENTATIVITE")),
            c("CodeResponsablePrincipal", "Responsable", G::Nombre),
            c("Operateur", "Opérateur", G::Texte, 150),
            c("NiveauSoutirage", "Niveau de soutirage", G::Texte, 5),
            c("DebitSoutirage", "Débit de soutirage", G::Texte, 5),
            c("VolumePompe", "Volume pompé", G::Texte, 5),
            c("VolumePurge", "Volume de purge", G::Texte, 5),
            c("NiveauPiezoAvantPrelevement", "Niveau piézométrique avant prélèvement", G::Texte, 5),
            c("profImmersionPompe", "Profondeur d'immersion de la pompe", G::Texte, 50),
            c("tempsPurge", "Temps de purge", G::Texte, 50),
            c("profDebut", "Profondeur de début", G::Nombre),
            c("profFin", "Profondeur de fin", G::Nombre),
            c("Commentaire", "Commentaire", G::Texte),
            c("InterpretationLabo", "Interprétation du laboratoire", G::Texte),
        },
        definitionTable(u"PRELEVEMENTS"));
    return r;
}

const QVector<ColonneGrille> &colonnesFinalites()
{
    static const QVector<ColonneGrille> r =
        completees({c("CodeFinalite", "Finalité", G::Code, 10, FINALITES)},
                   definitionTable(u"PRELEVEMENTS_FINALITES"));
    return r;
}

const QVector<ColonneGrille> &colonnesDossiers()
{
    static const QVector<ColonneGrille> r = completees(
        {
            c("ReferenceProducteur", "Référence producteur", G::Texte, 100),
            c("NumDossier", "Numéro", G::Nombre),
            c("CodeProducteur", "Producteur", G::Code, 0, INTERVENANTS),
            c("CodeLabo", "Laboratoire", G::Code, 0, INTERVENANTS),
            c("ReferenceLabo", "Référence laboratoire", G::Texte, 100),
            c("CodeOperation", "Opération", G::Texte, 5),
            c("Interpreation", "Interprétation", G::Texte),
        },
        definitionTable(u"PRELEVEMENTS_DOSSIERS"));
    return r;
}

const QVector<ColonneGrille> &colonnesEchantillons()
{
    static const QVector<ColonneGrille> r = completees(
        {
            c("Reference", "Référence", G::Texte, 17),
            c("NumEchantillon", "Numéro", G::Nombre),
            c("DateDebut", "Date", G::Date),
            c("HeureDebut", "Heure", G::Heure),
            c("CodeProducteur", "Producteur", G::Code, 0, INTERVENANTS),
            c("MethodePrelevement", "Méthode de prélèvement", G::Code, 5, METHODES),
            c("MethodeConservation", "Méthode de conservation", G::Code, 5, METHODES),
            c("methodeTransport", "Méthode de transport", G::Nombre),
            c("aspect", "Aspect", G::Texte, 255),
            c("temperatureArrivee", "Température à l'arrivée", G::Nombre),
            c("ReferenceLabo", "Référence laboratoire", G::Texte, 17),
            c("Commentaire", "Commentaire", G::Texte),
        },
        definitionTable(u"PRELEVEMENTS_ECHANTILLONS"));
    return r;
}

const QVector<ColonneGrille> &colonnesAnalyses()
{
    static const QVector<ColonneGrille> r = completees(
        {
            c("CodeParametre", "Paramètre", G::Code, 5, PARAMETRES),
            c("Resultat", "Résultat", G::Nombre),
            c("CodeUnite", "Unité", G::Code, 5, UNITES),
            c("CodeQualification", "Qualification", G::Code, 1,
              QStringLiteral("ANALYSES.QUALIFICATION")),
            c("CodeResponsable", "Responsable validation", G::Nombre),
            c("DateAnalyse", "Date", G::Date),
            c("HeureAnalyse", "Heure", G::Heure),
            c("CodeRemarque", "Remarque", G::Code, 2, QStringLiteral("ANALYSES.CODEREMARQUE")),
            c("CodeLieu", "in Situ", G::Code, 1, QStringLiteral("ANALYSES.LIEU")),
            c("CodeDifficulte", "Difficulté", G::Code, 1, QStringLiteral("ANALYSES.DIFFICULTE")),
            c("CommentaireAnalyse", "Commentaire analyse", G::Texte),
            c("CommentaireResultat", "Commentaire résultat", G::Texte),
            c("ResultatRef", "Résultat réf", G::Nombre, 0, {}, true),
            c("StatutMesure", "Satut", G::Code, 1, QStringLiteral("ANALYSES.STATUT"), true),
            c("CodeProducteur", "Producteur", G::Code, 0, INTERVENANTS, true),
            c("ReferenceProducteur", "Ref producteur", G::Texte, 100, {}, true),
            c("CodeLabo", "Laboratoire", G::Code, 0, INTERVENANTS, true),
            c("Accreditation", "Accréditation", G::Code, 1,
              QStringLiteral("ANALYSES.ACCREDITATION"), true),
            c("NumLabo", "Num labo", G::Texte, 20, {}, true),
            c("ReferenceLabo", "Réf labo", G::Texte, 100, {}, true),
            c("IncertitudeAnalytique", "Incertitude", G::Nombre, 0, {}, true),
            c("LimiteQuantification", "LQ", G::Nombre, 0, {}, true),
            c("LimiteDetection", "LD", G::Nombre, 0, {}, true),
            c("SeuilSaturation", "Seuil saturation", G::Nombre, 0, {}, true),
            c("VolumeFiltre", "Volume filtré", G::Nombre, 0, {}, true),
            c("NumDossier", "Dossier", G::Texte, 5, {}, true),
            c("NumEchantillon", "Echantillon", G::Nombre, 0, {}, true),
            c("MethodeExtraction", "Méthode extraction", G::Code, 5, METHODES, true),
            c("RendementExtraction", "rendement extraction", G::Nombre, 0, {}, true),
            c("CodeSupport", "Support", G::Code, 5, SUPPORTS, true),
            c("CodeMethode", "Méthode analyse", G::Code, 5, METHODES, true),
            c("CodeFraction", "Fraction", G::Code, 5, FRACTIONS, true),
            c("CodeMethodeFraction", "Méthode fractionnemennt", G::Code, 5, METHODES, true),
            c("CodeSolvant", "Solvant", G::Texte, 5, {}, true),
            c("NumOperation", "Opération", G::Texte, 5, {}, true),
            c("profDebut", "Prof début", G::Nombre, 0, {}, true),
            c("profFin", "Prof Fin", G::Nombre, 0, {}, true),
        },
        &definitionAnalyses());
    return r;
}

EntreesCodees entreesColonne(const ColonneGrille &colonne)
{
    return colonne.nature == G::Code ? entreesListeCodee(colonne.liste) : EntreesCodees();
}

QString codeCellule(const QString &texte)
{
    return codeSaisi(texte);
}

int indexColonne(const QVector<ColonneGrille> &colonnes, const QString &colonne)
{
    for (int i = 0; i < colonnes.size(); ++i)
        if (colonnes[i].colonne.compare(colonne, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

} // namespace vyk
