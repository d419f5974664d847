#pragma once

// What the three SANDRE message readers share: one streaming pass over the file, each element
// of interest (a station, a sample, an organisation) built as a small tree and handed over at
// its end, names matched by their local part without regard to case, and the count of the
// elements nobody read so that nothing delivered disappears unnoticed.

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <initializer_list>

namespace vyk {

class Progression;

// One element of a unit read from the message: local name as written, own text trimmed.
struct NoeudXml
{
    QString nom;
    QString texte;
    QString schema; // "schemeAgencyID" or "schemeID" attribute, "" when none
    QVector<NoeudXml> enfants;
    qint64 ligne = 0; // line of the start tag in the file
    mutable bool lu = false;

    bool estNomme(QStringView n) const
    {
        return nom.size() == n.size() && nom.compare(n, Qt::CaseInsensitive) == 0;
    }
    // First child of that name, nullptr when none.
    const NoeudXml *enfant(QStringView n) const;
    // The element at the path of child names under this one; nullptr when absent.
    const NoeudXml *chemin(std::initializer_list<QStringView> noms) const;
    // First element of that name at any depth (this one excluded), nullptr when none.
    const NoeudXml *descendant(QStringView n) const;
    // Text at the path ("" when absent); the element counts as read.
    QString valeur(std::initializer_list<QStringView> noms) const;
    // Children of that name, in document order.
    QVector<const NoeudXml *> enfantsNommes(QStringView n) const;
    // Marks the element and its whole subtree as read.
    void marquerLu() const;
};

// Elements carrying a value that no reader took: "Unite/Chemin" -> count.
class ElementsIgnores
{
  public:
    // Counts every unread element with a text under `unite`, named by its path from the unit.
    void compterNonLus(const NoeudXml &unite);
    void ajouter(const QString &chemin, int nombre = 1) { m_comptes[chemin] += nombre; }
    bool estVide() const { return m_comptes.isEmpty(); }
    const QMap<QString, int> &comptes() const { return m_comptes; }
    // "Éléments non repris : A/B (3), C (1)." or "" when none.
    QString texte() const;
    // Writes texte() to the journal as a warning about that file, when there is something.
    void journaliser(const QString &chemin) const;

  private:
    void compter(const NoeudXml &n, QVector<const QString *> &chemin);
    QMap<QString, int> m_comptes;
};

// The callbacks of one pass. `estUnite` decides (from the element's name and the names of the
// open elements outside units) which elements are built as trees; the others stream through
// debut / feuille / fin.
struct ParcoursSandre
{
    std::function<bool(QStringView nom, const QStringList &pile)> estUnite;
    std::function<void(const NoeudXml &unite, const QStringList &pile)> unite;
    std::function<void(QStringView nom, const QStringList &pile)> debut;
    // An element outside units with no child element: its text (maybe empty).
    std::function<void(QStringView nom, const QString &texte, const QStringList &pile)> feuille;
    std::function<void(QStringView nom, const QStringList &pile)> fin;
};

// Reads the file in one pass. False with "Impossible de charger le fichier " path ". Vérifier le
// format du fichier." (and the reader's reason on a line of its own) when it cannot be opened or
// is not well-formed XML; external entities are never fetched and nesting is bounded. The
// progression is told the bytes read and a cancel stops the pass (false, erreur empty).
bool parcourirSandre(const QString &chemin, const ParcoursSandre &parcours, QString &erreur,
                     Progression *progression = nullptr);

// The refusal of a message that cannot be read.
QString messageChargementImpossible(const QString &chemin);

// "YYYY-MM-DD[...]" -> "DD/MM/YYYY" (characters 9-10, 6-7 and 1-4); "" stays "", a text too
// short to hold a date is returned as it is (the integration then refuses it with its row).
QString dateSandre(const QString &date);
// "HH:MM[:SS]" -> "HH:MM:SS"; "" when not a time.
QString heureSandre(const QString &heure);

// Splits "code/designation" at the first "/".
struct CodeDesignation
{
    QString code, designation;
};
CodeDesignation separerCodeDesignation(const QString &cle);

} // namespace vyk
