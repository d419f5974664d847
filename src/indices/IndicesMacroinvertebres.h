#pragma once

// The two macroinvertebrate indices computed by external calculators: their parameters, their
// calculators' names and outputs, and how a results line names its parameter.

#include "indices/Calculateur.h"

#include <QList>
#include <QString>

namespace vyk {

struct ParametreIndice
{
    QString code, nom;
};

struct DescriptionIndice
{
    QString calculateur;    // folder name under the calculators' root
    QString libelle;        // "l'I2M2", in the messages
    QString messageDossier; // no folder found
    QList<ParametreIndice> parametres;
    SortiesCalculateur sorties;
    QStringList protocolesPreferes; // see LectureResultats
    bool typeNational = false;      // the frame carries the station's national type
    // Parameter of a results line from its code and label columns, "" for none.
    QString (*parametre)(const DescriptionIndice &, const QString &code, const QString &libelle);
};

const DescriptionIndice &indiceI2M2();
const DescriptionIndice &indiceIBGDCE();

} // namespace vyk
