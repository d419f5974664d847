#pragma once

// The office engine of the workbook models: LibreOffice without a window, driven through its
// Python bridge. Each run starts its own office process with a private profile (a user's open
// office session is neither joined nor changed) in a process group of its own, killed whole at
// the end or when the time limit passes.

#include "indices/ClasseurModele.h"

#include <QTemporaryDir>
#include <QVector>

namespace vyk {

class ClasseurLibreOffice : public ClasseurModele
{
  public:
    explicit ClasseurLibreOffice(int delaiSecondes = 180) : m_delai(delaiSecondes) {}

    // "" when the engine can run here, else why not (for the user and for skipped tests).
    static QString indisponible();

    bool ouvrir(const QString &chemin) override;
    QString texte(int ligne, int colonne) const override { return m_feuille.texte(ligne, colonne); }
    void ecrire(int ligne, int colonne, const QVariant &valeur) override;
    bool recalculer() override;
    // The folder of the engine's files and private profile.
    QString dossierTravail() const { return m_travail.path(); }

  private:
    struct Ecriture
    {
        int ligne, colonne;
        QVariant valeur;
    };
    // One run of the engine over the workbook: the writes applied, everything recalculated,
    // the first sheet read back.
    bool executer();
    bool lireSortie(const QString &sortie);

    int m_delai;
    QString m_chemin;
    Feuille m_feuille;
    QVector<Ecriture> m_ecritures;
    QTemporaryDir m_travail;
};

} // namespace vyk
