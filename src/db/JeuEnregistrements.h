#pragma once

#include "db/Tableau.h"

#include <QString>
#include <QVariant>
#include <QVector>

namespace vyk {

class BaseDonnees;

// Update of a row that another workstation changed or deleted meanwhile.
inline const QString LIGNE_DISPARUE = QStringLiteral(
    "L'enregistrement a été modifié ou supprimé entre-temps : rien n'a été enregistré.");

// Updatable record set over a SELECT on one table (AccesBase). The usual pattern: open by key,
// addnew when no row was found, set the fields, Update, Close. Values given as text to a date
// or number column are read as the user types them (DD/MM/YYYY, "3,5").
class JeuEnregistrements
{
  public:
    // fields("Nom") = valeur; QVariant v = fields("Nom");
    class Champ
    {
      public:
        Champ &operator=(const QVariant &valeur);
        Champ &operator=(const QString &valeur) { return *this = QVariant(valeur); }
        Champ &operator=(const char *valeur) { return *this = QVariant(QString::fromUtf8(valeur)); }
        operator QVariant() const { return valeur(); }
        QVariant valeur() const;
        QString texte() const;
        bool estNul() const { return valeur().isNull(); }

      private:
        friend class JeuEnregistrements;
        Champ(JeuEnregistrements *jeu, QString nom) : m_jeu(jeu), m_nom(std::move(nom)) {}
        JeuEnregistrements *m_jeu;
        QString m_nom;
    };

    JeuEnregistrements() = default;
    ~JeuEnregistrements();
    JeuEnregistrements(const JeuEnregistrements &) = delete;
    JeuEnregistrements &operator=(const JeuEnregistrements &) = delete;
    JeuEnregistrements(JeuEnregistrements &&) noexcept = default;
    JeuEnregistrements &operator=(JeuEnregistrements &&) noexcept = default;

    bool estOuvert() const { return m_bd != nullptr; }
    // No current row (past the last one, or nothing matched).
    bool eof() const { return !m_nouveau && (m_courant < 0 || m_courant >= m_lignes.size()); }
    int nbLignes() const { return int(m_lignes.size()); }
    const QStringList &colonnes() const { return m_colonnes; }

    Champ fields(const QString &nom) { return Champ(this, nom); }
    QVariant valeur(const QString &nom) const;

    void addnew();
    bool Update();
    bool MoveNext();
    bool Delete();
    void Close();

    QString derniereErreur() const { return m_erreur; }

  private:
    friend class BaseDonnees;
    int indexColonne(const QString &nom) const;
    bool definir(const QString &nom, const QVariant &valeur);
    QVariant convertir(int colonne, const QVariant &valeur) const;
    bool relire(int ligne);

    BaseDonnees *m_bd = nullptr;
    QString m_table;
    QStringList m_colonnes;
    QVector<TypeValeur> m_types;
    QVector<QVector<QVariant>> m_lignes;
    QVector<QVariant> m_ids;
    QVector<bool> m_aRelire;
    int m_courant = -1;
    bool m_nouveau = false;
    QVector<QVariant> m_tampon;
    QVector<bool> m_modifie;
    QString m_erreur;
};

} // namespace vyk
