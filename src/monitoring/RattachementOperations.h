#pragma once

// Samples and their operations: the attachment of samples without operation, and the column
// updates the imports make on samples and analyses.

#include <QString>
#include <QStringList>
#include <QVariant>

namespace vyk {

class Progression;

struct BilanRattachement
{
    long long prelevements = 0; // samples attached
    long long operationsCreees = 0;
    bool reussi = false;
};

// Attaches every sample without operation of the station (CodeQualitometre as text; "" for all
// stations) to the station's operation with the same start date and time, creating the missing
// operations (numbered from the station's largest code + 1, 0 for the first). Set-wise: the
// samples and operations are read once, the new operations and the links are written in bulk.
// Progress: "Mise à jour des prélèvements: " + done + "/" + total.
BilanRattachement rattacherPrelevementsOperations(const QString &codeQualitometre = {},
                                                  Progression *progression = nullptr);

// Sets one column of one sample of a station. The column must be one of PRELEVEMENTS.
bool majColonnePrelevement(const QString &codeQualitometre, const QString &numPrelevement,
                           const QString &colonne, const QVariant &valeur);

// Sets one column of the analyses of one operation (the analyses whose sample has that
// codeOperation), or of one sample when codeOperation is empty, in the station's analysis
// table. anciennes receives the column's distinct values before the change. The column must be
// one of the analysis table. False with the reason on failure.
bool majColonneAnalyses(const QString &codeQualitometre, const QString &codeBSS,
                        const QString &colonne, const QVariant &valeur,
                        const QString &codeOperation, const QString &numPrelevement = {},
                        QStringList *anciennes = nullptr, QString *erreur = nullptr);

} // namespace vyk
