#pragma once

// A site's workbook model computed by a spreadsheet engine: the cells of its first sheet read as
// the engine shows them, values written, then the whole workbook recalculated. The engine works
// on the file it is given; callers give it a working copy, never the site's model.

#include "classeur/Classeur.h"

#include <QString>
#include <QVariant>

#include <functional>

namespace vyk {

class ClasseurModele
{
  public:
    virtual ~ClasseurModele() = default;

    // Opens the workbook and reads its first sheet; false with erreur() when it cannot.
    virtual bool ouvrir(const QString &chemin) = 0;
    // The text the engine shows for a cell of the first sheet ("" when empty; error values
    // as the engine writes them, such as "#N/A").
    virtual QString texte(int ligne, int colonne) const = 0;
    // A number or a text, kept until the next recalculation.
    virtual void ecrire(int ligne, int colonne, const QVariant &valeur) = 0;
    // Recalculates with what was written; false with erreur() when the engine failed.
    virtual bool recalculer() = 0;

    const QString &erreur() const { return m_erreur; }

  protected:
    QString m_erreur;
};

// A workbook held in memory whose recalculation is a function: the model's formulas written in
// C++ (tests, and sites that have no office engine for a model that needs none).
class ClasseurMemoire : public ClasseurModele
{
  public:
    // Fills the sheet's computed cells; false with the engine's message.
    using Recalcul = std::function<bool(Feuille &feuille, QString &erreur)>;

    ClasseurMemoire(Feuille modele, Recalcul recalcul)
        : m_modele(std::move(modele)), m_recalcul(std::move(recalcul))
    {
    }

    // The file must exist (as the engine would need it); the sheet starts from the model.
    bool ouvrir(const QString &chemin) override;
    QString texte(int ligne, int colonne) const override { return m_feuille.texte(ligne, colonne); }
    void ecrire(int ligne, int colonne, const QVariant &valeur) override;
    bool recalculer() override;

    const QString &cheminOuvert() const { return m_chemin; }
    const Feuille &feuille() const { return m_feuille; }
    int ecritures() const { return m_ecritures; }

  private:
    Feuille m_modele, m_feuille;
    Recalcul m_recalcul;
    QString m_chemin;
    int m_ecritures = 0;
};

} // namespace vyk
