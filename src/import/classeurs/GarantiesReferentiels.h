#pragma once

// Methods and parameters the hydrobiology workbooks rely on: present rows are made active,
// missing rows inserted active, each column named.

#include <QString>
#include <QVector>

namespace vyk {

struct LigneGarantie
{
    const char *code;
    const char *nom;
    const char *mnemonique; // METHODES.LibelleLong, ANALYSES_PARAMETRES.LibelleCourt
    const char *reference;  // METHODES.Reference, ANALYSES_PARAMETRES.LibelleLong
};

// The rows each model guarantees ("CEMAGREF", "MACROPHYTES"); empty for the others.
const QVector<LigneGarantie> &methodesGaranties(const QString &modele);
const QVector<LigneGarantie> &parametresGaranties(const QString &modele);

// "" when every row is present and active afterwards, else the database's reason. `auteur`
// names the issuing body on inserted rows.
QString garantirMethodes(const QVector<LigneGarantie> &lignes, const QString &auteur);
QString garantirParametres(const QVector<LigneGarantie> &lignes, const QString &auteur);
// Both lists of the model.
QString garantirReferentiels(const QString &modele);

} // namespace vyk
