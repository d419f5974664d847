#pragma once

// Taxa lists of an operation: the per-station table "QUALITOMETRES_LISTE_" + CodeQualitometre
// (one row per taxon of a list), the list header (QUALITOMETRES_OPERATIONS_LISTE), the routine
// that writes one line (card and imports) and the card's taxa grid.

#include "db/Messages.h"
#include "monitoring/GrillesOperation.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <array>

namespace vyk {

// The 24 value columns of a list line, after codeTaxon, in table order.
enum ColonneListe : int
{
    DenombrementA,
    PourcentageA,
    DenombrementB,
    PourcentageB,
    DenombrementC,
    PourcentageC,
    CodeUnite,
    CodeDeveloppement,
    CodeRemarque,
    CodeConfiance,
    Densite,
    CodeCalculIndice,
    DenombrementP1, // .. DenombrementP1 + 11 for P12
    NB_VALEURS_LISTE = DenombrementP1 + 12
};
// Column names of the table, in the order of ColonneListe.
const QStringList &colonnesValeursListe();

// One line of a taxa list as written: the taxon and its values (null for none).
struct LigneTaxonListe
{
    QString codeTaxon;
    std::array<QVariant, NB_VALEURS_LISTE> valeurs;
};

// Creates the station's taxa table when it is missing ("CREATE TABLE QUALITOMETRES_LISTE_" + code
// + " (...)") and adds the counts P1 to P12 to an older table that lacks them. True when the
// table is ready; false (nothing created) when the code cannot name a table.
bool creerTableListeTaxons(qint64 codeQualitometre);

// Writes line `indice` of list `codeListe` of an operation. With premiereLigne the station's
// table is created when missing and the list is emptied first; the line's row is then updated,
// or added when absent. Used by the operation card and by the imports.
bool ecrireTaxonListe(bool premiereLigne, qint64 codeQualitometre, qint64 codeOperation,
                      int codeListe, int indice, const LigneTaxonListe &ligne);

namespace texteListeTaxons {
inline const QString QUESTION_SANS_DENOMBREMENT =
    QStringLiteral("Voulez vous supprimer les lignes sans dénombrement ?");
inline const QString FIN = QStringLiteral("Enregistrement des taxons terminé.");
inline const QString SUPPRIME_LISTE_1 = QStringLiteral("Le taxon a été supprimé de la liste.");
inline const QString SUPPRIME_LISTE_0 = QStringLiteral("Le taxon a été supprimé de la liste .");
inline const QString TAXON_VIDE = QStringLiteral("Le taxon n'est pas renseigné pour la ligne %1.");
inline const QString TAXON_INCONNU =
    QStringLiteral("Le taxon %1 de la ligne %2 n'existe pas dans le référentiel des taxons.");
} // namespace texteListeTaxons

// A column of the card's taxa grid.
struct ColonneGrilleTaxons
{
    QString titre;
    int valeur = -1; // ColonneListe, -1 for the taxon's name, code and Omnidia code
    NatureChamp genre = NatureChamp::Nombre;
    EntreesCodees entrees;
};

// The card's taxa grid of one list: its columns after the point (macrophytes "271" show "UR1",
// "UR2" for the covers of the two survey units, the others "A", "B", "C" for the counts of the
// phases), its lines with their hidden values kept, the save and the single-line delete.
class ListeTaxonsOperation
{
  public:
    struct Ligne
    {
        QString codeTaxon;
        QString nomLatin;
        QString codeOmnidia;
        std::array<QString, NB_VALEURS_LISTE> valeurs; // texts as typed
        bool enregistree = false;
        int indice = 0; // stored line number
    };

    ListeTaxonsOperation(qint64 station, QString identifiantPoint);

    // "Taxon", "Code", ["Omnidia"], "A" "B" "C" | "UR1" "UR2", "Unité", ... "P12".
    const QVector<ColonneGrilleTaxons> &colonnes() const { return m_colonnes; }
    bool avecOmnidia() const { return m_omnidia; }

    // The list's lines (one query, names joined from TAXONS) and its header.
    bool charger(const QString &operation, int codeListe);
    QVector<Ligne> &lignes() { return m_lignes; }
    const QVector<Ligne> &lignes() const { return m_lignes; }
    QString nomListe, commentaireListe;
    bool microPrelevement = false;

    // Lines given by the picker, after the others; a taxon already listed is not added twice.
    int ajouterTaxons(const QVector<Ligne> &taxons);
    // The grid text of a line's cell, and the typed text written back.
    QString texte(int ligne, int colonne) const;
    void definirTexte(int ligne, int colonne, const QString &texte);

    // Refused while the operation has no code; question about the lines without counts; checks;
    // microPrelevement, header and lines written in one transaction; end message. Nothing shown:
    // the refusal, failure or end message comes back in the report.
    CompteRendu enregistrer(const QString &operation, int codeListe);
    // Question (No, or no line: refused with no text), then the line's row; the line leaves the
    // list.
    CompteRendu supprimerLigne(const QString &operation, int codeListe, int ligne);

    static bool aDenombrement(const Ligne &ligne);

    // The user's answer to the questions of a save or a deletion: a Yes / No box unless the
    // caller gives its own.
    Confirmation confirmer = confirmerParMessage;

  private:
    RefusGrille verifier() const;

    qint64 m_station;
    QString m_point;
    bool m_omnidia = false;
    QVector<ColonneGrilleTaxons> m_colonnes;
    QVector<Ligne> m_lignes;
};

} // namespace vyk
