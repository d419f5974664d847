#pragma once

// The indices computed by external calculators: their parameters, their calculators' names,
// frames and outputs, and how a results line names its parameter.

#include "indices/Calculateur.h"

#include <QList>
#include <QString>

namespace vyk {

struct ParametreIndice
{
    QString code, nom;
};

// The layout of the frame a calculator reads.
enum class TrameIndice
{
    Macroinvertebres, // one line per taxon and phase (I2M2, IBG-DCE)
    Diatomees,        // one line per taxon, its diatom code (IBD)
    Macrophytes,      // one line per taxon and survey unit, with the unit's facies share (IBMR)
    Diagnostic,       // two lines per operation, one column per taxon
    Hype,             // the station's analyses and water levels (groundwater trends)
};

struct DescriptionIndice
{
    QString calculateur;    // folder name under the calculators' root
    QString nom;            // the index's short name ("IBG-DCE", "Diagnostic")
    QString libelle;        // "l'I2M2", in the messages
    QString messageDossier; // no folder found
    QList<ParametreIndice> parametres;
    SortiesCalculateur sorties;
    QStringList protocolesPreferes; // see LectureResultats
    bool typeNational = false;      // the frame carries the station's national type
    // Parameter of a results line from its code and label columns, "" for none.
    QString (*parametre)(const DescriptionIndice &, const QString &code,
                         const QString &libelle) = nullptr;
    TrameIndice trame = TrameIndice::Macroinvertebres;
    QString point = QStringLiteral("131"); // sampling point of the exported operations
    int codeListe = 1;                     // 1 faunal list, 0 floral list
    QString fichierTrame = QStringLiteral("entreeVYK.txt");
    QChar separateur = u'\t';
    QString titreProgression = QStringLiteral("Calcul de l'indice");
    bool integre = true;      // results stored; otherwise documents left for the user
    QString messageDocuments; // the end of a run leaving documents
};

const DescriptionIndice &indiceI2M2();
const DescriptionIndice &indiceIBGDCE();
const DescriptionIndice &indiceIBD();
const DescriptionIndice &indiceIBMR();
const DescriptionIndice &indiceDiagnostic();
const DescriptionIndice &indiceHype();

// Every index above, in that order.
QList<const DescriptionIndice *> indicesCalcules();
// The index of a short or calculator name, without regard to case or hyphens ("ibgdce"); null
// for none.
const DescriptionIndice *indiceNomme(const QString &nom);

} // namespace vyk
