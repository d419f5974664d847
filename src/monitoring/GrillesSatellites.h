#pragma once

// The satellite grids of the station card (GrilleEditable keyed by the station's code) and their
// save buttons: refused while the station has no code, lines checked grid by grid, the station's
// rows replaced, all or nothing.

#include "db/CompteRendu.h"
#include "monitoring/GrilleEditable.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace vyk {

// The rules a save button may add to the pattern.
enum class RegleSauvegarde
{
    Aucune,
    Altimetrie,   // rewrites the parent's altitude from the newest altimetric system
    Interventions // writes the tour count of the station
};

// One save button: its grids, saved together, and its end message.
struct DefinitionSauvegarde
{
    QString nom;
    QStringList grilles;
    QString messageFin;
    QString messageParentAbsent; // refused while the parent has no code
    RegleSauvegarde regle = RegleSauvegarde::Aucune;
};

namespace texteGrilles {
inline const QString PARENT_ABSENT_QUALITO =
    QStringLiteral("Vous devez d'abord enregistrer le qualitomètre afin de le créer (icone "
                   "disquette dans la barre du haut).");
inline const QString PARENT_ABSENT_QUALITO_SANS_ACCENT =
    QStringLiteral("Vous devez d'abord enregistrer le qualitometre afin de le créer (icone "
                   "disquette dans la barre du haut).");
inline const QString POUR_LA_LIGNE = QStringLiteral(" pour la ligne ");
inline const QString PAS_CORRECTE = QStringLiteral(" n'est pas correcte.");
inline const QString PAS_UN_NOMBRE =
    QStringLiteral("La valeur « %1 » pour la ligne %2%3 n'est pas un nombre.");
inline const QString TROP_LONG =
    QStringLiteral("Le texte « %1 » pour la ligne %2%3 dépasse %4 caractères.");
inline const QString CONFIRMER_SUPPRESSION = QStringLiteral("Voulez vous supprimer %1 ?");
inline const QString LIEN_SUPPRIME =
    QStringLiteral("Le lien entre le qualitomètre et %1 a été supprimé.");
inline const QString ECHEC = QStringLiteral("L'enregistrement a échoué, rien n'a été modifié : %1");
inline const QString TOURNEES = QStringLiteral("Le nombre de tournées n'est pas un nombre entier.");
inline const QString ALTIMETRIE_TERMINE =
    QStringLiteral("Enregistrement des systèmes altimétriques et des repères terminé.");
inline const QString ALTIMETRIE_CHANGEMENT =
    QStringLiteral("Enregistrement des systèmes altimétriques et des repères terminé. Un "
                   "changement du dernier repère a eu "
                   "lieu. Merci de vérifier la compensation de lhistorique avant de la valider");
} // namespace texteGrilles

// How the station card words the defect of a cell: "La date de début pour la ligne 2 des
// réseaux n'est pas correcte.", "Sélectionnez un réseau pour la ligne 2 des réseaux.", ...
QString messageSatellite(const DefinitionGrille &grille, const ColonneGrille &colonne,
                         DefautSaisie defaut, int n, const QString &texte);

// Every satellite grid of the station card, and its save buttons.
const QVector<DefinitionGrille> &grillesQualitometre();
const DefinitionGrille *grilleQualitometre(const QString &nom);
const QVector<DefinitionSauvegarde> &sauvegardesQualitometre();
const DefinitionSauvegarde *sauvegardeQualitometre(const QString &nom);

// A grid of the station card: the mechanism, with the station's code as its parent and the
// card's question and messages around single-line deletions.
class GrilleSatellite : public GrilleEditable
{
  public:
    explicit GrilleSatellite(const DefinitionGrille &definition) : GrilleEditable(definition) {}

    // The station's rows as lines; none when the code is not a number.
    LignesGrille charger(const QString &codeParent) const;
    // After the user's answer, deletes the line's row (a line never saved has none); done when
    // the line may leave the grid.
    CompteRendu supprimerLigne(const QString &codeParent, const LigneGrille &ligne,
                               const Confirmation &confirmer = confirmerParMessage) const;

    // The entries of a coded column (the contacts' query depends on the engine).
    static EntreesCodees entrees(const ColonneGrille &colonne);
};

// Saves the grids of one button: refused while the parent has no code; lines checked grid by
// grid up to the first bad one; the journal entries; the parent's rows of each grid replaced
// by the lines, all or nothing; the button's own rule; the end message. The lines receive their
// new keys and numbers. nbTournees: the tour count of the interventions button. catalogue: the
// grids the button names.
CompteRendu
enregistrerSatellites(const DefinitionSauvegarde &sauvegarde, const QString &codeParent,
                      QHash<QString, LignesGrille> &lignes, const QString &nbTournees = {},
                      const QVector<DefinitionGrille> &catalogue = grillesQualitometre());

} // namespace vyk
