#pragma once

// Writing what a SANDRE message describes: one row's values checked against the catalogue
// before anything is sent (a text longer than its column, a number or a date that is not one
// is refused the same way on every engine, with the element named), then written through a
// prepared statement.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace vyk {

struct NoeudXml;

class ValeursLigne
{
  public:
    explicit ValeursLigne(QString table) : m_table(std::move(table)) {}

    // From an element: absent (nullptr) leaves the column out, so that a stored value stays;
    // present and empty writes NULL.
    void texte(const char *colonne, const NoeudXml *n);
    void nombre(const char *colonne, const NoeudXml *n);
    // Dates "YYYY-MM-DD"; with finOuverte, 31/12/2020 stands for no end and is written NULL.
    void date(const char *colonne, const NoeudXml *n, bool finOuverte = false);
    // A value of the program's own, written as it is.
    void valeur(const char *colonne, const QVariant &v) { ajouter(colonne, v); }
    // A text from elsewhere (a preview cell): checked for its length, NULL when empty.
    void texte(const char *colonne, const QString &valeur, const QString &element);
    void nombre(const char *colonne, const QString &valeur, const QString &element);

    bool estVide() const { return m_colonnes.isEmpty(); }
    // The first refusal ("" when every value fits).
    const QString &erreur() const { return m_erreur; }

    bool inserer(QString &erreur) const;
    // UPDATE of the row whose `cles` columns equal `valeursCles`; nothing to do is success.
    bool mettreAJour(const QStringList &cles, const QVector<QVariant> &valeursCles,
                     QString &erreur) const;

  private:
    void ajouter(const char *colonne, const QVariant &v);
    void refuser(const QString &raison);

    QString m_table;
    QStringList m_colonnes;
    QVector<QVariant> m_valeurs;
    QString m_erreur;
};

// A network end read as open: the messages write 31/12/2020 for a membership still running.
inline const QString FIN_OUVERTE_SANDRE = QStringLiteral("31/12/2020");

// A new station of this public code through creerQualitometre (under the lock of QUALITOMETRES
// held by the caller's transaction), then named and typed as the message says (an empty type
// keeps creerQualitometre's choice). A code longer than CodeBSS or unable to name the station's
// analysis table is refused (a cut code would never be found again). The new code, or -1 with
// the reason.
qint64 creerStationSandre(const QString &code, const QString &designation, const QString &nom,
                          const QString &typeStation, QString &erreur);

// Replace mode: the stored station's measurement data purged (the station itself stays).
bool purgerDonneesStation(qint64 station, const QString &codeBSS, QString &erreur);

// The stored water body of a message's code: its own code, its European code, or "FR" + code;
// added to MASSES_EAUX (code and label) when none matches. The Code_ME, "" with the reason.
QString resoudreMasseEau(const QString &code, const QString &libelle, QString &erreur);
// Replaces the station's water-body links by those of these codes.
bool lierMassesEau(qint64 station, const QStringList &codes, const QStringList &libelles,
                   QString &erreur);

// One statement with bound values; false with the database's reason.
bool executerLie(const QString &sql, const QVector<QVariant> &valeurs, QString &erreur);
// First column of the first row; null when none.
QVariant lireLie(const QString &sql, const QVector<QVariant> &valeurs);

} // namespace vyk
