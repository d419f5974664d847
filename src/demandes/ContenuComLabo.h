#pragma once

// Pieces of the COM_LABO document: the data it reads and the line writer.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

// Text as XML character data or attribute value: "&", "<", ">" and '"' as entities, characters
// that XML forbids (controls other than tab and line ends) dropped.
QString echapperXml(const QString &texte);

struct OrganismeComLabo
{
    QString code; // codeIntervenant
    QString nom;
    QString siret;
    QString sandre;
    bool identifiable() const { return !siret.isEmpty() || !sandre.isEmpty(); }
    bool estDefini() const { return !code.isEmpty(); }
};
// The organisations of these codes in one query, by code; a code that names none gives an
// organisation with its code alone (and "" an undefined one).
QHash<QString, OrganismeComLabo> lireOrganismesComLabo(const QStringList &codes);

struct CoordonneesComLabo
{
    QString x, y, projection;
    bool estVide() const { return x.isEmpty(); }
};

struct StationComLabo
{
    QString identifiant; // codeBSS, or codeBSS "/" designation
    QString schema;      // from the station type
    QString libelle;
    CoordonneesComLabo coordonnees;
    bool avecPoint = false;
    QString nomPoint;
    CoordonneesComLabo coordonneesPoint;
};
// The stations by code with their point of this identifier; a code that names no station is
// absent from the result.
QHash<int, StationComLabo> lireStations(const QVector<int> &codes, const QString &identifiantPoint,
                                        bool avecDesignation);
// Code -> the values of `colonnes` as texts, for the codes given.
QHash<QString, QStringList> lireLibelles(const QString &table, const QString &colonnes,
                                         const QStringList &codes);

// "3" for a groundwater point, "1" for the river types 1, 2, 3, 5 and 6, "0" otherwise.
QString schemaStation(const QString &typeStation);
// The point of a support: the support code on two digits followed by "1" ("3" gives "031").
QString identifiantPoint(const QString &support);
QString espaceNomsComLabo();
// The opening tag of the root with its namespaces.
QString racineComLabo();

// Lines of the document straight in UTF-8, each ended by a single carriage return. Markup is
// given as ASCII bytes, values as text that is escaped.
class EcritureComLabo
{
  public:
    void ligne(int retrait, QByteArrayView texte);
    // <nom> (debut "<") or </nom> (debut "</") alone on its line.
    void balise(int retrait, QByteArrayView debut, QByteArrayView nom);
    void element(int retrait, QByteArrayView nom, const QString &valeur);
    void elementSchema(int retrait, QByteArrayView nom, const QString &schema,
                       const QString &valeur);
    // The organisation's code line: its SIRET, or its SANDRE code when it has none.
    void codeIntervenant(const OrganismeComLabo &organisme);
    // <nom>, the code line, </nom>.
    void blocCode(int retrait, QByteArrayView nom, const OrganismeComLabo &organisme);
    void reserver(qsizetype octets) { m_octets.reserve(octets); }
    const QByteArray &octets() const { return m_octets; }

  private:
    void retrait(int n);
    void valeur(const QString &texte);
    void fin(QByteArrayView nom);

    QByteArray m_octets;
};

} // namespace vyk
