#pragma once

// The five referentials that give an analysis its meaning: parameters (ANALYSES_PARAMETRES),
// units (ANALYSES_UNITES), methods (METHODES), fractions (ANALYSES_FRACTIONS) and supports
// (ANALYSES_SUPPORTS). Imports resolve the codes they read to rows of these tables (creating
// the missing ones when allowed); the list screens protect the rows in use.

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>

namespace vyk {

class Progression;
class InstructionPreparee;

enum class Referentiel
{
    Parametre,
    Unite,
    Methode,
    Fraction,
    Support
};

// The table of a referential ("ANALYSES_PARAMETRES" ...).
QString tableReferentiel(Referentiel referentiel);

// First code given to a parameter created from a code that is not a number: created parameters
// live from here up, apart from the national range.
inline constexpr int PREMIER_CODE_PARAMETRE_CREE = 99000;

// The per-run memory of the resolutions: a code met again in the same import is not looked up
// again, and the rows created are counted. One object per import run.
class CacheResolution
{
  public:
    CacheResolution();
    ~CacheResolution();
    CacheResolution(const CacheResolution &) = delete;
    CacheResolution &operator=(const CacheResolution &) = delete;

    // Codes resolved (non-empty results), for the activation that follows an import.
    QSet<QString> parametresRencontres;
    QSet<QString> unitesRencontres;
    // Rows created by this run.
    QStringList parametresCrees;
    QStringList unitesCrees;

  private:
    friend QString resoudreParametre(CacheResolution &, const QString &, bool, const QString &,
                                     const QString &);
    friend QString resoudreUnite(CacheResolution &, const QString &, bool, const QString &);
    struct Etat;
    std::unique_ptr<Etat> m_etat;
};

// The parameter code of a code read from a file. Looked up, in this order: by Code; by Nom
// (the label read, or the code when there is no label); by LibelleLong; by Nom with every "-"
// read as a blank; in the ","-separated codesInternes of a parameter. When nothing is found and
// creation is allowed, the parameter is created: a numeric code is kept; any other gets the
// largest numeric code + 1, at least 99000, and is kept in codesInternes so that the next
// import finds it. "" when it cannot be resolved.
QString resoudreParametre(CacheResolution &cache, const QString &codeLu, bool creation,
                          const QString &libelleLu = {}, const QString &uniteReference = {});
// The unit code of a code read: by Code; by Symbole then Nom (the symbol read); in the
// ";"-separated codesInternes. Created when missing and allowed: a numeric code is kept, any
// other gets the largest numeric code + 1. "" when both the code and the symbol are empty or
// nothing can be resolved.
QString resoudreUnite(CacheResolution &cache, const QString &codeLu, bool creation,
                      const QString &symboleLu = {});

// The three reference units of a parameter (UniteReference1..3), "" where none.
std::array<QString, 3> unitesReference(const QString &codeParametre);

// Activation of the rows used by imported data: Actif='1' for every code given, set-wise.
bool activerParametres(const QSet<QString> &codes);
bool activerUnites(const QSet<QString> &codes);
bool activerMethodes(const QSet<QString> &codes);

// True when the code is used: in any station's analysis table (one UNION over the tables) or in
// the other places of the referential (operation results, environment measures, reference
// units of parameters, samples, sub-samples, operations). A place that cannot be read (an
// analysis table of an older layout) counts as using it: nothing is deleted on a failed read.
bool estUtilise(Referentiel referentiel, const QString &code);
// Every code used by the data, same places.
QSet<QString> codesUtilises(Referentiel referentiel, bool *ok = nullptr);

// Deletes the unused rows of a referential inside one transaction; nothing is deleted when a
// statement fails or the work is cancelled. -1 on failure, else the number of rows deleted.
int purgerNonUtilises(Referentiel referentiel, Progression &progression);

// Replacement of a parameter's history by another code.
struct CibleRemplacement
{
    bool existe = false;
    QString nom;
    QString unite; // UniteReference1, "" when none
};
CibleRemplacement lireCibleRemplacement(const QString &code);
// Every analysis of every station, the selections, thresholds, reference curves, overlays and
// operation results of the old code take the new one with its reference unit (NULL when it has
// none); the new parameter is activated. In a batch; false when a statement failed (the others
// were run), the work was cancelled or the batch could not be written (then nothing is kept).
bool remplacerHistoriqueParametre(const QString &ancien, const QString &nouveau,
                                  Progression &progression);

} // namespace vyk
