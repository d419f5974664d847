#pragma once

// Workbooks written by the tests with the program's own writers, and the import runs over them.

#include "classeur/Classeur.h"
#include "db/Progression.h"
#include "import/Importation.h"

#include "../DonneesImport.h"

#include <initializer_list>

namespace vyk::test {

// One sheet: its name and its rows of cells (texts; numbers and dates as given).
struct FeuilleEcrite
{
    QString nom;
    QVector<QVector<QVariant>> lignes;
};

inline bool ecrireClasseur(const QString &chemin, const QVector<FeuilleEcrite> &feuilles)
{
    Classeur c;
    for (const FeuilleEcrite &f : feuilles) {
        Feuille *feuille = c.ajouterFeuille(f.nom);
        if (!feuille) return false;
        for (int l = 0; l < f.lignes.size(); ++l)
            for (int col = 0; col < f.lignes.at(l).size(); ++col)
                feuille->ecrire(l + 1, col + 1, f.lignes.at(l).at(col));
    }
    return c.enregistrer(chemin);
}

class BaseClasseurs : public BaseImport
{
  protected:
    ResultatImport importerModele(const QString &modele, const QString &chemin,
                                  bool remplacer = false, const ReponsesIntegration &r = {})
    {
        OptionsImport o;
        o.remplacer = remplacer;
        return importer(modele, chemin, o, progressionNulle(), r);
    }
    // The tables' rows, each run's execution and update stamps aside.
    QStringList etatStable(const QStringList &tablesAnalyses = {})
    {
        executer("UPDATE QUALITOMETRES_POINTS_OPERATIONS SET jobExecutionId=NULL");
        executer("UPDATE QUALITOMETRES SET jobExecutionId=NULL, datemaj=NULL");
        return etat(tablesAnalyses);
    }
    // Both formats the program writes.
    static QStringList extensions() { return {QStringLiteral("xlsx"), QStringLiteral("ods")}; }
};

} // namespace vyk::test
