#pragma once

// What the coded extracts write beyond the import table, shared by their integration and the
// NAIADES station file.

#include "import/ExtraitCode.h"

#include <memory>

namespace vyk {

// A commune of COMMUNES, added with the name (or "<" code ">") when missing. False when it
// cannot be written.
bool communeAssuree(const QString &code, const QString &nom);
// Code_ME of a water body found as Code_ME, then Code_Europeen, then "FR" + code; added (with
// the label, or "<" code ">") when none. "" when it cannot be written.
QString masseEauAssuree(const QString &code, const QString &libelle);
// The station linked to the water body (once). nouvelle: a station just created without links,
// which has none to look for.
bool lierMasseEau(qint64 station, const QString &codeME, bool nouvelle = false);

// Writes, after the integration of the extract, what the import table does not carry, for the
// rows that went in.
void completerExtrait(const ExtraitCode &extrait, const QVector<LigneIntegree> &integrees,
                      const OptionsIntegration &options, BilanAnalyses &bilan);

// The extract's rows as rows of the import table, each made when asked (an earlier row asked
// again is made again alike).
std::unique_ptr<LignesImport> lignesExtrait(const ExtraitCode &extrait);

} // namespace vyk
