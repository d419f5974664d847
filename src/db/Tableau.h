#pragma once

#include <QStringList>
#include <QVariant>
#include <QVector>

namespace vyk {

// Kind of a result column, from the engine's declared type.
enum class TypeValeur : unsigned char
{
    Inconnu,
    Texte,
    Entier,
    Reel,
    DateHeure,
    Booleen,
    Binaire
};

// Rows read by ExtraireRecords: (row, column) from 0, NULL kept as a null QVariant.
class Tableau
{
  public:
    Tableau() = default;
    Tableau(QStringList colonnes, QVector<QVariant> cellules);

    int nbLignes() const
    {
        return m_colonnes.isEmpty() ? 0 : int(m_cellules.size() / m_colonnes.size());
    }
    int nbColonnes() const { return int(m_colonnes.size()); }
    bool estVide() const { return nbLignes() == 0; }
    const QStringList &colonnes() const { return m_colonnes; }
    TypeValeur type(int colonne) const
    {
        return colonne < m_types.size() ? m_types[colonne] : TypeValeur::Inconnu;
    }

    const QVariant &operator()(int ligne, int colonne) const
    {
        return m_cellules[qsizetype(ligne) * m_colonnes.size() + colonne];
    }
    // Column by name, without regard to case; a null QVariant when absent.
    const QVariant &valeur(int ligne, const QString &colonne) const;
    int indexColonne(const QString &nom) const;

    // The text of a cell as callers compare it: "" for NULL, dates as DD/MM/YYYY[ hh:mm:ss].
    QString texte(int ligne, int colonne) const;
    QString texte(int ligne, const QString &colonne) const;

    void vider();
    void ajouterLigne(const QVector<QVariant> &ligne);
    void definirColonnes(const QStringList &colonnes, const QVector<TypeValeur> &types = {});
    void reserver(int lignes) { m_cellules.reserve(qsizetype(lignes) * m_colonnes.size()); }
    void ajouterCellule(QVariant v) { m_cellules.append(std::move(v)); }

  private:
    QStringList m_colonnes;
    QVector<TypeValeur> m_types;
    QVector<QVariant> m_cellules;
};

// The user-facing text of a value: "" for NULL, dates as DD/MM/YYYY (with " hh:mm:ss" when the
// time is not midnight), numbers with "." and no useless decimals.
QString texteValeur(const QVariant &v);
// The same for a real: up to 15 significant digits, no exponent below 1e15 but for tiny values.
QString texteReel(double d);

} // namespace vyk
